#include "effects/ave_script.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"

namespace {
constexpr std::string_view kInitPrefix = "init;";
}

void parse_ave(std::string_view text, ScriptLines& init, ScriptLines& frame) {
    init.clear();
    frame.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, kInitPrefix.size()) == kInitPrefix)
            init.emplace_back(line.substr(kInitPrefix.size()));
        else
            frame.emplace_back(line);
        pos = next;
    }
}

std::string ave_text(const ScriptLines& init, const ScriptLines& frame) {
    std::string out;
    for (const std::string& l : init) out.append(kInitPrefix).append(l).append("\r\n");
    for (const std::string& l : frame) out.append(l).append("\r\n");
    return out;
}

bool load_ave(const std::string& path, ScriptLines& init, ScriptLines& frame) {
    init.clear();
    frame.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    parse_ave(text, init, frame);
    return true;
}

bool save_ave(const std::string& path, const ScriptLines& init, const ScriptLines& frame,
              std::string* error) {
    if (write_file_replacing(path, ave_text(init, frame))) return true;
    if (error) *error = "Cannot write file " + path;
    return false;
}

std::vector<std::string> list_ave_files(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (equals_nocase(file_ext_of(name), ".ave") && !it->is_directory(ec))
            names.push_back(name);
    }
    return names;
}

std::string ave_save_path(const std::string& folder, const std::string& name) {
    return folder + name + ".ave";
}

std::string AveVariables::get(std::string_view name) const {
    const auto it = by_upper_name_.find(upper_text(name));
    return it == by_upper_name_.end() ? std::string() : it->second->second;
}

void AveVariables::set(std::string_view name, std::string value) {
    std::string key = upper_text(name);
    const auto old = by_upper_name_.find(key);
    const bool replaces = old != by_upper_name_.end();
    const size_t freed = replaces ? old->second->first.size() + old->second->second.size() : 0;
    const size_t bytes = bytes_ - freed + name.size() + value.size();
    if (bytes > kMaxBytes || (!replaces && entries_.size() >= kMaxEntries))
        throw CalcError("Variable table full");
    if (replaces) {
        entries_.erase(old->second);
        by_upper_name_.erase(old);
    }
    entries_.emplace_back(std::string(name), std::move(value));
    by_upper_name_.emplace(std::move(key), std::prev(entries_.end()));
    bytes_ = bytes;
}

namespace {

double argument(std::string_view text) {
    // Blanks around a number are allowed, as the system's conversion does.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    double v = 0;
    return TCalcParser::AsReal(std::string(text), v) ? v : 0;
}

}  // namespace

AveCall parse_ave_call(std::string_view call_text) {
    AveCall call;
    const size_t open = call_text.find('(');
    call.name = upper_text(call_text.substr(0, open));
    if (open == std::string_view::npos) return call;
    const std::string_view rest = call_text.substr(open + 1);
    if (rest.empty()) return call;
    const size_t comma = rest.find(',');
    if (comma != std::string_view::npos) {
        call.x1 = argument(rest.substr(0, comma));
        const std::string_view second = rest.substr(comma + 1);
        call.x2 = argument(second.substr(0, second.find(')')));
    } else {
        call.x1 = argument(rest.substr(0, rest.find(')')));
    }
    return call;
}

AveScripts::AveScripts() {
    parser.OnGetVariable = [this](TCalcParser&, const std::string& name, std::string& value) {
        value = variables.get(name);
    };
    parser.OnSetVariable = [this](TCalcParser&, const std::string& name, const std::string& value) {
        variables.set(name, value);
    };
    parser.OnFunction = [this](TCalcParser&, const std::string& call, std::string& value) {
        if (on_command) on_command(parse_ave_call(call));
        value.clear();
    };
    parser.OnCall = [](TCalcParser&, const std::string&, std::string&) {};
}

bool AveScripts::run(const ScriptLines& lines) {
    std::string result;
    try {
        parser.Execute(lines, result);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool AveScripts::select(const std::string& folder, const std::string& name) {
    const std::string path = folder + name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    load_ave(path, init_lines, frame_lines);
    run_init();
    return true;
}
