// The player beside an empty-window program under Wine, measured in one run:
// start to first visible window, CPU over ten seconds (idle, playing a WAV
// with the internal scope, and with a ten-command effect) and resident memory.
// Prints rows of the benchmark table: what | player | reference | ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "win_process.h"

namespace {

constexpr DWORD kMeasureMs = 10000;
constexpr int kStartRuns = 7;

struct Search {
    DWORD pid;
    bool found;
};

BOOL CALLBACK find_visible(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD p = 0;
    GetWindowThreadProcessId(w, &p);
    if (p != s->pid || !IsWindowVisible(w)) return TRUE;
    s->found = true;
    return FALSE;
}

bool has_visible_window(DWORD pid) {
    Search s{pid, false};
    EnumWindows(find_visible, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

double now_ms() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Milliseconds from `t0` until the process shows a window, or -1.
double until_visible(DWORD pid, double t0) {
    while (now_ms() - t0 < 20000) {
        if (has_visible_window(pid)) return now_ms() - t0;
        Sleep(1);
    }
    return -1;
}

class EmptyWindow {
  public:
    EmptyWindow() {
        std::string cmd = "\"" + wine_path(VL_EMPTY_WINDOW_UNIX) + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi_))
            pi_ = PROCESS_INFORMATION{};
    }
    ~EmptyWindow() {
        if (!pi_.hProcess) return;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    DWORD pid() const { return pi_.dwProcessId; }

  private:
    PROCESS_INFORMATION pi_{};
};

double median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// CPU percent of one core of the program and of the Wine server over the
// measurement, and the program's resident memory at its end.
struct Usage {
    double cpu = -1, server = -1, rss_mb = -1;
};

Usage measure(const std::vector<std::string>& parts) {
    // The Wine server of this prefix, not of another session on the machine.
    const std::string server_env = "WINEPREFIX=" + env_value("WINEPREFIX");
    Sleep(2000);  // start-up and the first ticks are not measured
    const LinuxProcess p0 = linux_process(parts), s0 = linux_process({"wineserver"}, server_env);
    const double t0 = now_ms();
    Sleep(kMeasureMs);
    const LinuxProcess p1 = linux_process(parts), s1 = linux_process({"wineserver"}, server_env);
    const double seconds = (now_ms() - t0) / 1000;
    Usage u;
    if (p0.cpu_seconds < 0 || p1.cpu_seconds < 0) return u;
    u.cpu = 100 * (p1.cpu_seconds - p0.cpu_seconds) / seconds;
    u.server = 100 * (s1.cpu_seconds - s0.cpu_seconds) / seconds;
    u.rss_mb = p1.rss_kb / 1024.0;
    return u;
}

void row(const char* what, double player, double reference, const char* unit, const char* goal) {
    std::printf("| %s | %.1f %s | %.1f %s | %.1fx | %s |\n", what, player, unit, reference, unit,
                reference > 0 ? player / reference : 0.0, goal);
}

void set_scope(const char* effect) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona\\Scope", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD type = 2;
    RegSetValueExA(k, "scope_type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type),
                   sizeof type);
    RegSetValueExA(k, "ave", 0, REG_SZ, reinterpret_cast<const BYTE*>(effect),
                   static_cast<DWORD>(lstrlenA(effect) + 1));
    RegCloseKey(k);
}

}  // namespace

int main() {
    ProgramFolder f("program_bench");
    const std::string program = wine_path(VL_PROGRAM_DIR_UNIX) + "\\";
    CopyFileA((program + "plugins\\vl_wave.dll").c_str(), (f.root + "plugins\\vl_wave.dll").c_str(),
              FALSE);
    CreateDirectoryA((f.root + "skins\\Default").c_str(), nullptr);
    for (const char* name :
         {"face.bmp", "face_big_mask.bmp", "face_small_mask.bmp", "colors.ini", "def_list.bmp"})
        CopyFileA((program + "skins\\Default\\" + name).c_str(),
                  (f.root + "skins\\Default\\" + name).c_str(), FALSE);
    write_text(f.root + "ave\\Bench.ave",
               "init;a = 0;\r\na = a + 3;\r\nIF a = 360 THEN a = 0;\r\nBLUR_SPLIT(1);\r\n"
               "ZOOM_OUT(16);\r\nROTATE(a, 0);\r\nSCOPE_LINE();\r\nSCOPE_DOTS();\r\n"
               "BLUR_SOFT();\r\nSHIFT(1, 0);\r\nMOSAIC(1, 1);\r\nSHARP();\r\nRENDER();\r\n");
    write_wav(f.root + "tone.wav", 60000, 440);

    std::vector<double> player_ms, empty_ms;
    for (int run = 0; run <= kStartRuns; ++run) {  // run 0 warms both up
        double t0 = now_ms();
        {
            Player p(f, "");
            const double ms = until_visible(p.process_id(), t0);
            if (run > 0 && ms >= 0) player_ms.push_back(ms);
            p.close();
        }
        t0 = now_ms();
        EmptyWindow e;
        const double ms = until_visible(e.pid(), t0);
        if (run > 0 && ms >= 0) empty_ms.push_back(ms);
    }
    std::printf("| what | player | empty window | ratio | goal |\n|---|---|---|---|---|\n");
    row("start to first visible window (median)", median(player_ms), median(empty_ms), "ms",
        "<= 1.5x");

    Usage empty;
    {
        EmptyWindow e;
        until_visible(e.pid(), now_ms());
        empty = measure({"empty_window.exe"});
    }
    const char* tag = "program_bench";
    auto player_usage = [&](const std::string& arg) {
        Player p(f, arg);
        p.main_window();
        const Usage u = measure({tag, "veltrona.exe"});
        p.close();
        return u;
    };
    const Usage idle = player_usage("");
    const Usage scope = player_usage(f.root + "tone.wav");
    set_scope("Bench");
    const Usage ave = player_usage(f.root + "tone.wav");
    row("CPU, idle, % of a core", idle.cpu, empty.cpu, "%", "");
    row("CPU, playing a WAV, internal scope", scope.cpu, empty.cpu, "%", "<= 2 %");
    row("CPU, playing a WAV, 10-command AVE", ave.cpu, empty.cpu, "%", "<= 2 %");
    row("Wine server CPU while playing (internal scope)", scope.server, empty.server, "%", "");
    row("resident memory while playing", scope.rss_mb, empty.rss_mb, "MB", "report");
    return player_ms.empty() || scope.cpu < 0 ? 1 : 0;
}
