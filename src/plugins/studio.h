// The studio list: external programs registered by name and started from the studio menu.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TStudio {
  public:
    // Starts a program: (file name, parameters, working folder). Result ignored.
    using Launcher =
        std::function<void(const std::string&, const std::string&, const std::string&)>;

    std::vector<std::string> Names;
    std::vector<std::string> Programs;
    std::vector<std::string> Params;
    std::string StudioFolder;  // the plugins folder, where "studio.ini" lives

    int StudioCount() const { return static_cast<int>(Names.size()); }
    std::string ini_path() const { return StudioFolder + "studio.ini"; }

    // Appends Name0/Exe0/Params0, Name1... up to the first missing or empty name.
    void LoadStudios();
    // Deletes "studio.ini" and writes every entry; errors are ignored. A file
    // that LoadStudios found but could not read is left as it is.
    void SaveStudios() const;
    void AddStudio(const std::string& name, const std::string& program, const std::string& params);
    void EditStudio(int index, const std::string& name, const std::string& program,
                    const std::string& params);
    void DeleteStudio(int index);
    // First entry whose name equals a studio-menu caption, or -1.
    int IndexOfName(const std::string& name) const;
    void LaunchStudio(int index, const Launcher& launch) const;

  private:
    bool keep_file_ = false;
};

// Why the studio editor cannot take an entry: an empty name would end the
// list at the next load, a program that doesn't exist could never start.
// Empty when the entry is fine.
std::string studio_input_error(const std::string& name, const std::string& program,
                               bool program_exists);
