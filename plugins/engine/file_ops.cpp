#include "file_ops.h"

namespace vl {

bool replace_file_safely(const std::string& path,
                         const std::function<bool(const std::string& temp_path)>& build) {
    if (path.empty() || !file_is_writable(path)) return false;
    const std::string temp = path + ".vltmp";
    bool ok = false;
    try {
        ok = build(temp);
    } catch (...) {
        ok = false;
    }
    if (ok) ok = move_replacing(temp, path);
    if (!ok) remove_file(temp);
    return ok;
}

}  // namespace vl
