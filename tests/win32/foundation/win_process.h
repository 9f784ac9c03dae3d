// Helpers for tests that start the player in a prepared program folder and
// watch it as another program would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A Linux path of the build as Wine sees it (drive Z:).
std::string wine_path(const std::string& unix_path);
std::string read_text(const std::string& path);
void write_text(const std::string& path, const std::string& text);
std::string env_value(const char* name);
bool exists(const std::string& path);
std::string make_temp_folder(const std::string& tag);
void remove_tree(const std::string& folder);
// A 16-bit stereo PCM WAV at 22050 Hz: a sine of the given frequency on the
// left, half that on the right, or silence when hz is 0.
void write_wav(const std::string& path, int ms, int hz = 0);

// The Linux process whose command line holds every part, read through Wine's
// Z: drive (GetProcessTimes does not report another process's times under
// Wine): its CPU seconds (user and system) and resident memory, or -1.
struct LinuxProcess {
    double cpu_seconds = -1;
    long rss_kb = -1;
};
// `environment_part`, when given, must also appear in its environment.
LinuxProcess linux_process(const std::vector<std::string>& parts,
                           const std::string& environment_part = "");

// Removes the player's settings key from the registry.
void reset_settings();

// A copy of the program folder with chosen test plugins.
struct ProgramFolder {
    std::string root;     // ends with "\"
    std::string journal;  // the plugins' journal file
    std::string temp;     // the player's TEMP folder
    explicit ProgramFolder(const std::string& tag);
    ~ProgramFolder();
    // Copies testplugins\<variant>.dll to plugins\<as>.
    void add_plugin(const std::string& variant, const std::string& as);
    std::vector<std::string> journal_lines() const;
};

// Names of the player's working folders ("_vl_tmp_*") in the folder's temp.
std::vector<std::string> working_folders(const ProgramFolder& f);

class Player {
  public:
    // Starts veltrona.exe from the folder with one argument (none if empty).
    Player(const ProgramFolder& folder, const std::string& arg, const std::string& cwd = "");
    ~Player();
    bool started() const { return pi_.hProcess != nullptr; }
    HWND main_window(DWORD timeout_ms = 10000);
    // A top-level window of the player's process by class, or null.
    HWND window_of_class(const char* cls);
    // A message box captioned "Error" of the player's process; its text in text.
    HWND wait_error_box(std::string& text, DWORD timeout_ms);
    // Sends WM_CLOSE and waits; the exit code, or -1 on timeout.
    int close(DWORD timeout_ms = 10000);
    bool running();
    DWORD process_id() const { return pi_.dwProcessId; }

  private:
    PROCESS_INFORMATION pi_{};
};

// Waits until pred() is true or the time is up.
template <class Pred>
bool wait_until(Pred pred, DWORD timeout_ms) {
    for (DWORD waited = 0; waited <= timeout_ms; waited += 25) {
        if (pred()) return true;
        Sleep(25);
    }
    return pred();
}
