#include "playlist/list_template.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "base/safe_file.h"

namespace {

// Line reading as a text file reads: CR, LF and CR LF end a line; the end of
// the text is reached when nothing follows the last line end.
class LineReader {
  public:
    explicit LineReader(const std::string& text) : text_(text) {}
    bool eof() const { return at_ >= text_.size(); }
    std::string next() {
        const size_t end = text_.find_first_of("\r\n", at_);
        if (end == std::string::npos) {
            std::string line = text_.substr(at_);
            at_ = text_.size();
            return line;
        }
        std::string line = text_.substr(at_, end - at_);
        at_ = end + 1;
        if (text_[end] == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
        return line;
    }

  private:
    const std::string& text_;
    size_t at_ = 0;
};

bool read_file(const std::string& path, std::string& data) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    char buf[16384];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, got);
    return !std::ferror(f.get());
}

}  // namespace

std::string expand_template_text(const std::string& tpl, int entries,
                                 const ListLineExpander& expand, std::string& ext,
                                 const TemplateExportHooks& hooks) {
    LineReader in(tpl);
    ext = in.next();
    std::string out;
    auto put = [&out](const std::string& line) {
        out += line;
        out += "\r\n";
    };
    // At least one line is read after the first, even at the end of the text.
    do {
        const std::string x = in.next();
        if (x == "<{") {
            std::vector<std::string> block;
            while (!in.eof()) {
                std::string b = in.next();
                if (b == "}>") break;
                if (b != "<{") block.push_back(std::move(b));
            }
            // A block left open by the end of the template is still written.
            for (int k = 0; k < entries; ++k) {
                for (const std::string& b : block) put(expand(k, b));
                if (hooks.pump && (k & 63) == 63) hooks.pump();
                if (hooks.terminating && hooks.terminating()) return out;
            }
        } else if (x != "}>") {
            put(expand(0, x));
        }
        if (hooks.pump) hooks.pump();
    } while (!in.eof() && !(hooks.terminating && hooks.terminating()));
    return out;
}

std::string ExportWithTemplate(const std::string& tpl_path, const std::string& target, int entries,
                               const ListLineExpander& expand, const TemplateExportHooks& hooks) {
    std::string tpl;
    if (tpl_path.empty() || !read_file(tpl_path, tpl)) return {};
    std::string ext;
    const std::string text = expand_template_text(tpl, entries, expand, ext, hooks);
    const std::string out_path = target + "." + ext;
    return write_file_replacing(out_path, text) ? out_path : std::string();
}

std::string export_target(const std::string& chosen) {
    const size_t end = chosen.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : chosen.substr(0, end + 1);
}
