// AVE effects: the file format (initialisation lines prefixed "init;", frame
// lines as they are), the folder of AVE files, the variable table the
// scripts share, and the rules that turn a function call into a command.
#pragma once

#include <functional>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "effects/CalcParser.h"

using ScriptLines = std::vector<std::string>;

// Sorts the lines of an AVE text (CR LF or LF) into the two scripts.
void parse_ave(std::string_view text, ScriptLines& init, ScriptLines& frame);
// All init lines first, each with its prefix, then the frame lines; CR LF ends every line.
std::string ave_text(const ScriptLines& init, const ScriptLines& frame);
// Clears both lists first; false (lists empty) when the file can't be read.
bool load_ave(const std::string& path, ScriptLines& init, ScriptLines& frame);
// False with the failure's text in error when the file can't be written.
bool save_ave(const std::string& path, const ScriptLines& init, const ScriptLines& frame,
              std::string* error = nullptr);
// File names (with extension) of the *.ave files in the folder, in the order
// the file system gives them; empty when the folder is missing.
std::vector<std::string> list_ave_files(const std::string& folder);
// folder + name + ".ave", the file "Save as" writes.
std::string ave_save_path(const std::string& folder, const std::string& name);

// Name/value pairs shared by every run of every AVE; names match without
// regard to case. A set removes the old entry and appends the new one.
class AveVariables {
  public:
    static constexpr size_t kMaxEntries = 16384;
    static constexpr size_t kMaxBytes = 16u << 20;  // names and values together

    std::string get(std::string_view name) const;
    // A set that would take the table beyond its bounds throws CalcError and
    // changes nothing.
    void set(std::string_view name, std::string value);
    const std::list<std::pair<std::string, std::string>>& entries() const { return entries_; }

  private:
    std::list<std::pair<std::string, std::string>> entries_;
    std::unordered_map<std::string, std::list<std::pair<std::string, std::string>>::iterator>
        by_upper_name_;
    size_t bytes_ = 0;
};

// A function call as the renderer sees it: upper-cased name and two real
// arguments ("." separator, 0 when missing or not a number).
struct AveCall {
    std::string name;
    double x1 = 0;
    double x2 = 0;
};
AveCall parse_ave_call(std::string_view call_text);

// The main window's AVE state: the interpreter with its handlers, the shared
// variables and the two scripts currently in the editor.
class AveScripts {
  public:
    AveScripts();
    AveScripts(const AveScripts&) = delete;
    AveScripts& operator=(const AveScripts&) = delete;

    TCalcParser parser;
    AveVariables variables;
    ScriptLines init_lines;
    ScriptLines frame_lines;
    std::function<void(const AveCall&)> on_command;  // the drawing commands

    // A run that fails (division by zero, endless loop, ...) is abandoned
    // silently: false, and nothing else happens.
    bool run_init() { return run(init_lines); }
    bool run_frame() { return run(frame_lines); }
    // Loads folder + name into the scripts and runs the initialisation once;
    // false and nothing changed when the file doesn't exist.
    bool select(const std::string& folder, const std::string& name);

  private:
    bool run(const ScriptLines& lines);
};
