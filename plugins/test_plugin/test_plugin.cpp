// A decoder plugin for tests. It decodes nothing: it simulates a track of
// VL_TEST_LENGTH_MS milliseconds (default 5000) played in real time, with
// 44.1 position units per millisecond, and appends every call it receives,
// with its arguments, to the journal file named by VL_TEST_JOURNAL. Its file
// information names the artist VL_TEST_ARTIST (default "Test artist"). Variants
// are chosen at compile time (see CMakeLists.txt).
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "plugins/vl_decoder.h"

#ifndef VL_TEST_KIND
#define VL_TEST_KIND 1
#endif
#ifndef VL_TEST_SUBKIND
#define VL_TEST_SUBKIND 0
#endif
#ifndef VL_TEST_PLAY_RESULT
#define VL_TEST_PLAY_RESULT 1
#endif

namespace {

constexpr double kUnitsPerMs = 44.1;

HMODULE self_module() {
    HMODULE h = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&self_module), &h);
    return h;
}

std::string self_name() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self_module(), path, MAX_PATH);
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

void journal(const std::string& line) {
    const char* file = std::getenv("VL_TEST_JOURNAL");
    if (!file || !*file) return;
    HANDLE h = CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::string text = self_name() + " " + line + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

// The simulated track.
struct Track {
    int state = STATE_STOPPED;
    double start_ms = 0;      // tick when the clock last (re)started
    double offset_units = 0;  // position at start_ms
    double length_units = 0;
    int volume = 100;
    std::string path;
} g;

double now_ms() {
    return static_cast<double>(GetTickCount64());
}

double track_length_ms() {
    const char* v = std::getenv("VL_TEST_LENGTH_MS");
    return v && *v ? std::atof(v) : 5000.0;
}

double position_units() {
    if (g.state != STATE_PLAYING) return g.offset_units;
    double p = g.offset_units + (now_ms() - g.start_ms) * kUnitsPerMs;
    if (p >= g.length_units) {
        g.state = STATE_ENDED;
        g.offset_units = g.length_units;
        return g.length_units;
    }
    return p;
}

void move_to(double units) {
    if (units < 0) units = 0;
    if (units > g.length_units) units = g.length_units;
    g.offset_units = units;
    g.start_ms = now_ms();
}

#ifdef VL_TEST_FAULTS
volatile int g_zero = 0;

[[noreturn]] void fault_access() {
    volatile int* p = nullptr;
    *p = 1;
    std::abort();
}

int fault_divide() {
    return 100 / g_zero;
}

#endif

// VL_TEST_MISBEHAVE picks a worse misbehaviour: "overflow" (MODE_SEEK recurses
// until the stack overflows), "thread" (MODE_PLAY starts a thread of its own
// that faults), "hang" (MODE_STOP and initialisation codes 3 and 1 never return).
bool misbehaves(const char* how) {
    const char* v = std::getenv("VL_TEST_MISBEHAVE");
    return v && std::strcmp(v, how) == 0;
}

int recurse(int depth) {
    volatile char frame[4096];
    frame[depth % sizeof frame] = static_cast<char>(depth);
    if (depth < 0) return 0;
    return recurse(depth + 1) + frame[0];
}

DWORD WINAPI faulting_thread(void*) {
    Sleep(300);
    volatile int* p = nullptr;
    *p = 1;
    return 0;
}

[[noreturn]] void hang() {
    for (;;) Sleep(INFINITE);
}
}  // namespace

extern "C" {

void VL_CALL _vl_decoder_info(DecoderInfo* info) {
    journal("info");
    info->kind = VL_TEST_KIND;
    info->subkind = VL_TEST_SUBKIND;
    info->extensions = "*.mp3;*.tst";
    info->filter_description = "Test files (*.mp3;*.tst)";
    info->display_name = "Test decoder";
}

void VL_CALL _vl_decoder_initializate(int32_t code, int32_t param) {
    journal("initializate " + std::to_string(code) + " " +
            (code == 0 ? "hwnd" : std::to_string(param)));
    if ((code == INIT_STOP || code == INIT_RELEASE) && misbehaves("hang")) hang();
    if (code == INIT_STOP || code == INIT_RELEASE) g.state = STATE_STOPPED;
}

void VL_CALL _vl_decoder_open(const char* path) {
    journal(std::string("open ") + path);
    g = Track{};
    g.path = path;
    g.length_units = track_length_ms() * kUnitsPerMs;
}

int32_t VL_CALL _vl_decoder_setmode(int32_t code, int32_t param) {
    journal("setmode " + std::to_string(code) + " " + std::to_string(param));
#ifdef VL_TEST_FAULTS
    // MODE_PAUSE faults with an access violation, MODE_RESUME divides by
    // zero, MODE_OPTIONS throws a C++ exception.
    if (code == MODE_PAUSE) fault_access();
    if (code == MODE_RESUME) return fault_divide();
    if (code == MODE_OPTIONS) throw std::runtime_error("test plugin options");
#endif
    if (code == MODE_SEEK && misbehaves("overflow")) return recurse(0);
    if (code == MODE_STOP && misbehaves("hang")) hang();
    if (code == MODE_PLAY && misbehaves("thread"))
        CloseHandle(CreateThread(nullptr, 0, faulting_thread, nullptr, 0, nullptr));
    switch (code) {
        case MODE_PLAY:
            g.state = STATE_PLAYING;
            move_to(0);
            return VL_TEST_PLAY_RESULT;
        case MODE_STOP:
            g.state = STATE_STOPPED;
            move_to(0);
            break;
        case MODE_PAUSE:
            if (g.state == STATE_PLAYING) {
                g.offset_units = position_units();
                g.state = STATE_PAUSED;
            }
            break;
        case MODE_RESUME:
            if (g.state == STATE_PAUSED) {
                g.state = STATE_PLAYING;
                g.start_ms = now_ms();
            }
            break;
        case MODE_FORWARD:
            move_to(position_units() + param);
            break;
        case MODE_REWIND:
            move_to(position_units() - param);
            break;
        case MODE_SEEK:
            move_to(param);
            break;
        case MODE_VOLUME:
            g.volume = param;
            break;
        default:
            break;
    }
    return 1;
}

int32_t VL_CALL _vl_decoder_getmode(int32_t code) {
    journal("getmode " + std::to_string(code));
#ifdef VL_TEST_FAULTS
    if (code == QUERY_LENGTH) fault_access();
#endif
    switch (code) {
        case QUERY_LENGTH:
            return static_cast<int32_t>(g.length_units);
        case QUERY_POSITION:
            return static_cast<int32_t>(position_units());
        case QUERY_STATE:
            position_units();
            return g.state;
        default:
            return 0;
    }
}

vl_bool VL_CALL _vl_decoder_fileinfo(FileInfo* info) {
    journal("fileinfo");
    std::memset(info, 0, sizeof *info);
    info->file_size = 1234;
    info->duration = static_cast<int32_t>(track_length_ms() / 1000);
    info->sample_rate = 44100;
    info->bitrate = 128;
    info->frames = -1;
    info->frame_size = -1;
    info->bits_per_sample = 16;
    info->channels = 2;
    info->channel_mode = "Stereo";
    info->ext_channel_mode = "";
    info->format = "Test";
    info->copyright_flag = info->original_flag = info->crc = info->private_bit = -1;
    info->emphasis = "";
    info->padding_flag = -1;
    info->padding_size = -1;
    info->title = "Test title";
    const char* artist = std::getenv("VL_TEST_ARTIST");
    info->artist = artist && *artist ? artist : "Test artist";
    info->album = "Test album";
    info->track = 1;
    info->comment = "";
    info->year = "2026";
    info->genre = "Other";
#ifdef VL_TEST_FILEINFO_FALSE
    return 0;
#else
    return 1;
#endif
}

vl_bool VL_CALL _vl_decoder_setinfo(FileInfo info) {
    journal(std::string("setinfo ") + (info.title ? info.title : "") + "|" +
            (info.artist ? info.artist : "") + "|" + std::to_string(info.track));
    return 1;
}

int32_t VL_CALL _vl_decoder_iswavewrite(void) {
    journal("iswavewrite");
    return 0;
}

#ifndef VL_TEST_NO_WRITEWAVE
int32_t VL_CALL _vl_decoder_writewave(const char* path) {
    journal(std::string("writewave ") + (path ? path : ""));
    return 0;
}
#endif

void VL_CALL _vl_decoder_channel(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b,
                                 uint8_t* flag_c, uint8_t* new_data) {
    // Called on every display tick: not journaled, to keep the journal readable.
    (void)flag_a;
    (void)flag_b;
    (void)flag_c;
    const double pos = position_units();
    for (int32_t i = 0; i < count; ++i) {
        const double s = std::sin((pos + i) * 2 * 3.14159265358979 * 440 / 44100.0);
        samples[2 * i] = samples[2 * i + 1] = static_cast<int16_t>(s * 327 * g.volume);
    }
    *new_data = g.state == STATE_PLAYING ? 1 : 0;
}

void VL_CALL _vl_decoder_quickinfo(const char* path, FileInfo* info) {
    journal(std::string("quickinfo ") + path);
    _vl_decoder_fileinfo(info);
}

vl_bool VL_CALL _vl_decoder_setinfoto(const char* path, FileInfo info) {
    journal(std::string("setinfoto ") + path + " " + (info.title ? info.title : ""));
    return 1;
}

}  // extern "C"
