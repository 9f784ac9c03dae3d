// The installer, run silently as the user: it installs into the user's
// program folder, the installed player plays a WAV, an update keeps the
// user's files, a running player makes it stop before writing anything, and
// the uninstaller removes every installed file and keeps the user's data.
#include <gtest/gtest.h>

#include <algorithm>

#include "win_process.h"
// after <windows.h>
#include <shlobj.h>

namespace {

const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VELTRona";

std::string known_folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Files under folder, relative to it, with "\" separators.
void list_files(const std::string& folder, const std::string& rel, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + rel + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            list_files(folder, rel + name + "\\", out);
        else
            out.push_back(rel + name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(out.begin(), out.end());
}

// Runs a program and waits for it; its exit code, or -1.
int run(const std::string& cmd_line, DWORD timeout_ms = 120000) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = cmd_line;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, timeout_ms) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

std::string reg_text(const char* key, const char* name) {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return "";
    return value;
}

bool key_exists(const char* key) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

std::string caption(HWND w) {
    char t[256] = {};
    GetWindowTextA(w, t, sizeof t);
    return t;
}

HWND player_window() {
    return FindWindowA("TQELAmp_Player", nullptr);
}

// Starts the installed player; its main window, or null.
HWND start_player(const std::string& dir, const std::string& arg, PROCESS_INFORMATION& pi) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + dir + "veltrona.exe\"" + (arg.empty() ? "" : " \"" + arg + "\"");
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return nullptr;
    HWND w = nullptr;
    wait_until([&] { return (w = player_window()) != nullptr; }, 15000);
    return w;
}

int close_player(HWND w, PROCESS_INFORMATION& pi) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

TEST(Installer, InstallsUpdatesRefusesARunningPlayerAndUninstalls) {
    const std::string setup = wine_path(VL_INSTALLER_UNIX);
    if (!exists(setup)) GTEST_SKIP() << "installer not built (target vl_installer)";
    const std::string dir = known_folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\VELTRona\\";
    const std::string link = known_folder(CSIDL_PROGRAMS) + "\\VELTRona.lnk";
    reset_settings();
    remove_tree(dir);
    RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    DeleteFileA(link.c_str());
    std::vector<std::string> shipped;
    list_files(wine_path(VL_STAGE_DIR_UNIX) + "\\", "", shipped);
    ASSERT_FALSE(shipped.empty());
    std::vector<std::string> installed_files = shipped;
    installed_files.push_back("uninstall.exe");
    std::sort(installed_files.begin(), installed_files.end());

    ASSERT_EQ(run("\"" + setup + "\" /S"), 0);
    std::vector<std::string> found;
    list_files(dir, "", found);
    EXPECT_EQ(found, installed_files);
    EXPECT_TRUE(exists(link));
    EXPECT_EQ(reg_text(kUninstallKey, "DisplayName"), "VELTRona");
    EXPECT_EQ(reg_text(kUninstallKey, "DisplayVersion"), VL_VERSION_TEXT);
    EXPECT_EQ(reg_text(kUninstallKey, "UninstallString"), "\"" + dir + "uninstall.exe\"");

    // The installed player plays a WAV given on its command line.
    const std::string media = make_temp_folder("setup_media");
    write_wav(media + "tone.wav", 3000, 440);
    PROCESS_INFORMATION pi{};
    HWND w = start_player(dir, media + "tone.wav", pi);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(wait_until([&] { return caption(w).rfind("VELTRona - ", 0) == 0; }, 10000))
        << caption(w);

    // Over a running player the installer stops before it writes anything.
    const std::string echo = dir + "ave\\Echo.ave";
    ASSERT_TRUE(DeleteFileA(echo.c_str()));
    EXPECT_EQ(run("\"" + setup + "\" /S"), 2);
    EXPECT_FALSE(exists(echo));
    EXPECT_EQ(close_player(w, pi), 0);

    // An update restores shipped files and keeps the user's own.
    write_text(dir + "plugins\\studio.ini", "[Main]\r\nName0=Editor\r\n");
    write_text(dir + "plugins\\plugins.ini", "[Media]\r\nvl_wave.dll=*.wav;\r\n");
    ASSERT_EQ(run("\"" + setup + "\" /S"), 0);
    EXPECT_TRUE(exists(echo));
    EXPECT_EQ(read_text(dir + "plugins\\studio.ini"), "[Main]\r\nName0=Editor\r\n");
    EXPECT_EQ(read_text(dir + "plugins\\plugins.ini"), "[Media]\r\nvl_wave.dll=*.wav;\r\n");

    // The uninstaller runs on from a copy of itself: wait for its effect.
    ASSERT_EQ(run("\"" + dir + "uninstall.exe\" /S"), 0);
    auto leftovers = [&] {
        std::vector<std::string> left;
        for (const std::string& f : installed_files)
            if (exists(dir + f)) left.push_back(f);
        return left;
    };
    EXPECT_TRUE(wait_until([&] { return leftovers().empty(); }, 60000))
        << ::testing::PrintToString(leftovers());
    EXPECT_TRUE(wait_until([&] { return !exists(link) && !key_exists(kUninstallKey); }, 10000));
    // A silent uninstall keeps the user's settings and files.
    EXPECT_TRUE(key_exists("Software\\Dunmoor\\VELTRona"));
    EXPECT_EQ(read_text(dir + "plugins\\studio.ini"), "[Main]\r\nName0=Editor\r\n");
    EXPECT_TRUE(exists(dir + "plugins\\plugins.ini"));

    remove_tree(dir);
    remove_tree(media);
    reset_settings();
}

}  // namespace
