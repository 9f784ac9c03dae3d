// Measures the player's CPU time over a stretch of playback of a WAV file, with dynamic
// writing of both now-playing files off and then on, and prints both as a
// percentage of one core.
#include <windows.h>

#include <cstdio>
#include <string>

#include "win_process.h"

namespace {

void configure(const char* section, const std::string& file, bool dynamic) {
    HKEY k = nullptr;
    const std::string key = std::string("Software\\Dunmoor\\VELTRona\\") + section;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        return;
    const DWORD on = 1, dyn = dynamic;
    const std::string playing = "%AR - %TL (%CT / %DR)";
    RegSetValueExA(k, "np_file", 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                   static_cast<DWORD>(file.size() + 1));
    RegSetValueExA(k, "np_create", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegSetValueExA(k, "np_dynamic_write", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dyn),
                   sizeof dyn);
    RegSetValueExA(k, "np_playing", 0, REG_SZ, reinterpret_cast<const BYTE*>(playing.c_str()),
                   static_cast<DWORD>(playing.size() + 1));
    RegCloseKey(k);
}

// Percent of one core over `measure_ms` of playback, or -1.
double run(bool dynamic, DWORD measure_ms) {
    const std::string tag = dynamic ? "np_cpu_on" : "np_cpu_off";
    ProgramFolder f(tag);
    // The wave plugin on a real file: the test plugin would journal every call.
    CopyFileA((wine_path(VL_PROGRAM_DIR_UNIX) + "\\plugins\\vl_wave.dll").c_str(),
              (f.root + "plugins\\vl_wave.dll").c_str(), FALSE);
    write_wav(f.root + "x.wav", 60000, 440);
    configure("Outfiles\\dos", f.root + "np_dos.txt", dynamic);
    configure("Outfiles\\win", f.root + "np_win.txt", dynamic);
    Player p(f, f.root + "x.wav");
    if (!p.main_window()) return -1;
    // Start-up and the first ticks are not part of the measurement.
    wait_until([&] { return exists(f.root + "np_win.txt"); }, 10000);
    Sleep(2000);
    const double cpu0 = linux_process({tag, "veltrona.exe"}).cpu_seconds;
    const ULONGLONG t0 = GetTickCount64();
    Sleep(measure_ms);
    const double cpu1 = linux_process({tag, "veltrona.exe"}).cpu_seconds;
    const ULONGLONG t1 = GetTickCount64();
    std::printf("dynamic %s: %s\n", dynamic ? "on " : "off",
                read_text(f.root + "np_win.txt").c_str());
    p.close();
    return cpu0 < 0 ? -1 : 100.0 * (cpu1 - cpu0) / (static_cast<double>(t1 - t0) / 1000.0);
}

}  // namespace

int main() {
    const DWORD ms = 10000;
    bool ok = true;
    for (int round = 1; round <= 2; ++round) {
        const double off = run(false, ms);
        const double on = run(true, ms);
        std::printf(
            "round %d, player CPU over %lu ms of playback: "
            "dynamic writing off %.2f%%, on %.2f%%\n",
            round, static_cast<unsigned long>(ms), off, on);
        ok = ok && off >= 0 && on >= 0;
    }
    return ok ? 0 : 1;
}
