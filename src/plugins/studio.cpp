#include "plugins/studio.h"

#include <cstdio>

#include "base/paths.h"
#include "base/ini_file.h"

void TStudio::LoadStudios() {
    IniFile::Found found;
    IniFile ini = IniFile::load(ini_path(), &found);
    keep_file_ = found == IniFile::Found::unreadable;
    for (int i = 0;; ++i) {
        const std::string n = std::to_string(i);
        std::string name = ini.read("Main", "Name" + n);
        if (name.empty()) break;
        Names.push_back(name);
        Programs.push_back(ini.read("Main", "Exe" + n));
        Params.push_back(ini.read("Main", "Params" + n));
    }
}

void TStudio::SaveStudios() const {
    if (keep_file_) return;
    std::remove(ini_path().c_str());
    if (Names.empty()) return;
    IniFile ini;
    for (size_t i = 0; i < Names.size(); ++i) {
        const std::string n = std::to_string(i);
        ini.write("Main", "Name" + n, Names[i]);
        ini.write("Main", "Exe" + n, Programs[i]);
        ini.write("Main", "Params" + n, Params[i]);
    }
    ini.save(ini_path());
}

void TStudio::AddStudio(const std::string& name, const std::string& program,
                        const std::string& params) {
    Names.push_back(name);
    Programs.push_back(program);
    Params.push_back(params);
}

void TStudio::EditStudio(int index, const std::string& name, const std::string& program,
                         const std::string& params) {
    if (index < 0 || index >= StudioCount()) return;
    Names[index] = name;
    Programs[index] = program;
    Params[index] = params;
}

void TStudio::DeleteStudio(int index) {
    if (index < 0 || index >= StudioCount()) return;
    Names.erase(Names.begin() + index);
    Programs.erase(Programs.begin() + index);
    Params.erase(Params.begin() + index);
}

int TStudio::IndexOfName(const std::string& name) const {
    for (int i = 0; i < StudioCount(); ++i)
        if (Names[i] == name) return i;
    return -1;
}

void TStudio::LaunchStudio(int index, const Launcher& launch) const {
    if (index < 0 || index >= StudioCount()) return;
    const std::string& program = Programs[index];
    const std::string name = file_name_of(program);
    // A bare program name has no folder of its own: the shell then searches the path.
    launch(name, Params[index], name.size() == program.size() ? std::string() : folder_of(program));
}

std::string studio_input_error(const std::string& name, const std::string& program,
                               bool program_exists) {
    if (name.find_first_not_of(' ') == std::string::npos) return "Enter the studio name.";
    if (program.empty()) return "Choose the studio's program.";
    if (!program_exists) return "The program \"" + program + "\" does not exist.";
    return {};
}
