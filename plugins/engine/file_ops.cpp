#include "file_ops.h"

#include "base/safe_file.h"

namespace vl {

bool replace_file_safely(const std::string& path,
                         const std::function<bool(const std::string& temp_path)>& build) {
    if (path.empty() || !file_is_writable(path)) return false;
    return replace_file_with(path, build);
}

}  // namespace vl
