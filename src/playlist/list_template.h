// Template export of a list: line 1 of a template names the extension of
// the file it makes, every further line is expanded once, and the lines
// between "<{" and "}>" once per entry.
#pragma once

#include <functional>
#include <string>

// The expansion of one template line for one entry (0-based, view order).
using ListLineExpander = std::function<std::string(int entry, const std::string& line)>;

struct TemplateExportHooks {
    std::function<void()> pump;         // lets the user interface breathe
    std::function<bool()> terminating;  // true: stop after the current line
};

// Expands a template given as text (line ends CR, LF or CR LF) over entries
// 0..entries-1; every written line ends in CR LF. ext receives line 1.
std::string expand_template_text(const std::string& tpl, int entries,
                                 const ListLineExpander& expand, std::string& ext,
                                 const TemplateExportHooks& hooks = {});

// Reads the template, writes target + "." + its extension (replacing an
// existing file) and returns that path; "" when the template cannot be read
// or the output cannot be written (nothing is reported).
std::string ExportWithTemplate(const std::string& tpl_path, const std::string& target, int entries,
                               const ListLineExpander& expand,
                               const TemplateExportHooks& hooks = {});

// The target as the save dialog gave it, trailing blanks removed.
std::string export_target(const std::string& chosen);
