#include "win_process.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string wine_path(const std::string& unix_path) {
    std::string p = "Z:" + unix_path;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string env_value(const char* name) {
    char buf[MAX_PATH * 2] = {};
    GetEnvironmentVariableA(name, buf, sizeof buf);
    return buf;
}

void write_wav(const std::string& path, int ms, int hz) {
    const uint32_t rate = 22050, frames = rate * static_cast<uint32_t>(ms) / 1000;
    const uint32_t data = frames * 4;
    std::string b;
    auto u32 = [&](uint32_t v) { b.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { b.append(reinterpret_cast<const char*>(&v), 2); };
    b += "RIFF";
    u32(36 + data);
    b += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    b += "data";
    u32(data);
    const double step = 2 * 3.14159265358979 * hz / rate;
    for (uint32_t i = 0; i < frames; ++i) {
        u16(static_cast<uint16_t>(static_cast<int16_t>(20000 * std::sin(step * i))));
        u16(static_cast<uint16_t>(static_cast<int16_t>(20000 * std::sin(step * i / 2))));
    }
    write_text(path, b);
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string make_temp_folder(const std::string& tag) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string dir =
        std::string(tmp) + "vltest_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    remove_tree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void remove_tree(const std::string& folder) {
    std::string dir = folder;
    if (dir.back() != '\\') dir += '\\';
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(dir + name);
            else
                DeleteFileA((dir + name).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

LinuxProcess linux_process(const std::vector<std::string>& parts,
                           const std::string& environment_part) {
    LinuxProcess found;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA("Z:\\proc\\*", &d);
    if (h == INVALID_HANDLE_VALUE) return found;
    do {
        if (d.cFileName[0] < '1' || d.cFileName[0] > '9') continue;
        const std::string dir = std::string("Z:\\proc\\") + d.cFileName;
        const std::string cmd = read_text(dir + "\\cmdline");
        bool all = true;
        for (const std::string& part : parts) all = all && cmd.find(part) != std::string::npos;
        if (!all) continue;
        if (!environment_part.empty() &&
            read_text(dir + "\\environ").find(environment_part) == std::string::npos)
            continue;
        // Fields 14 and 15, user and system clock ticks, follow the name's ")".
        const std::string stat = read_text(dir + "\\stat");
        std::istringstream in(stat.substr(stat.rfind(')') + 1));
        std::string field;
        double ticks = 0;
        for (int i = 3; i <= 15 && in >> field; ++i)
            if (i >= 14) ticks += std::atof(field.c_str());
        found.cpu_seconds = ticks / 100.0;  // USER_HZ
        const std::string status = read_text(dir + "\\status");
        const size_t rss = status.find("VmRSS:");
        if (rss != std::string::npos) found.rss_kb = std::atol(status.c_str() + rss + 6);
        break;
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return found;
}

void reset_settings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona");
}

ProgramFolder::ProgramFolder(const std::string& tag) {
    reset_settings();  // every run starts as a first run
    root = make_temp_folder(tag);
    for (const char* sub : {"plugins", "codecs", "skins", "ave", "tpl", "langs", "system", "temp"})
        CreateDirectoryA((root + sub).c_str(), nullptr);
    CopyFileA((wine_path(VL_PROGRAM_DIR_UNIX) + "\\veltrona.exe").c_str(),
              (root + "veltrona.exe").c_str(), FALSE);
    journal = root + "journal.txt";
    temp = root + "temp\\";
}

ProgramFolder::~ProgramFolder() {
    remove_tree(root);
}

void ProgramFolder::add_plugin(const std::string& variant, const std::string& as) {
    CopyFileA((wine_path(VL_TEST_PLUGIN_DIR_UNIX) + "\\" + variant + ".dll").c_str(),
              (root + "plugins\\" + as).c_str(), FALSE);
}

std::vector<std::string> ProgramFolder::journal_lines() const {
    std::vector<std::string> lines;
    std::istringstream in(read_text(journal));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> working_folders(const ProgramFolder& f) {
    std::vector<std::string> found;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((f.temp + "_vl_tmp_*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return found;
    do found.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return found;
}

Player::Player(const ProgramFolder& folder, const std::string& arg, const std::string& cwd) {
    // The child inherits these; the test process keeps its own temp folder,
    // since later program folders are made there.
    const std::string temp = env_value("TEMP"), tmp = env_value("TMP");
    SetEnvironmentVariableA("VL_TEST_JOURNAL", folder.journal.c_str());
    SetEnvironmentVariableA("TEMP", folder.temp.c_str());
    SetEnvironmentVariableA("TMP", folder.temp.c_str());
    std::string cmd = "\"" + folder.root + "veltrona.exe\"";
    if (!arg.empty()) cmd += " \"" + arg + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi_))
        pi_ = PROCESS_INFORMATION{};
    SetEnvironmentVariableA("TEMP", temp.c_str());
    SetEnvironmentVariableA("TMP", tmp.c_str());
}

Player::~Player() {
    if (!pi_.hProcess) return;
    if (running()) TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
}

bool Player::running() {
    return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

namespace {

struct Search {
    DWORD pid;
    const char* cls;
    const char* title;
    HWND found;
};

BOOL CALLBACK find_window(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->pid) return TRUE;
    char cls[64] = {}, title[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    if (lstrcmpA(cls, s->cls) == 0 && (!s->title || lstrcmpA(title, s->title) == 0)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND find_in_process(DWORD pid, const char* cls, const char* title) {
    Search s{pid, cls, title, nullptr};
    EnumWindows(find_window, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

}  // namespace

HWND Player::main_window(DWORD timeout_ms) {
    HWND w = nullptr;
    wait_until(
        [&] {
            return (w = find_in_process(pi_.dwProcessId, "TQELAmp_Player", nullptr)) != nullptr;
        },
        timeout_ms);
    return w;
}

HWND Player::window_of_class(const char* cls) {
    return find_in_process(pi_.dwProcessId, cls, nullptr);
}

HWND Player::wait_error_box(std::string& text, DWORD timeout_ms) {
    HWND box = nullptr;
    wait_until(
        [&] { return (box = find_in_process(pi_.dwProcessId, "#32770", "Error")) != nullptr; },
        timeout_ms);
    if (box) {
        char buf[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
        text = buf;
    }
    return box;
}

int Player::close(DWORD timeout_ms) {
    HWND w = main_window(2000);
    if (w) PostMessageA(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, timeout_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<int>(code);
}
