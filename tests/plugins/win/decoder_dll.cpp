#include "decoder_dll.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>

namespace {

template <class F>
void bind_export(HMODULE m, const char* name, F& f) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

}  // namespace

DecoderDll::DecoderDll(const char* name) {
    module = LoadLibraryA((std::string(VL_PLUGIN_DIR) + "/" + name).c_str());
    if (!module) return;
    bind_export(module, "_vl_decoder_info", info);
    bind_export(module, "_vl_decoder_initializate", initializate);
    bind_export(module, "_vl_decoder_open", open);
    bind_export(module, "_vl_decoder_setmode", setmode);
    bind_export(module, "_vl_decoder_getmode", getmode);
    bind_export(module, "_vl_decoder_fileinfo", fileinfo);
    bind_export(module, "_vl_decoder_setinfo", setinfo);
    bind_export(module, "_vl_decoder_channel", channel);
    bind_export(module, "_vl_decoder_quickinfo", quickinfo);
    bind_export(module, "_vl_decoder_setinfoto", setinfoto);
    iswavewrite = GetProcAddress(module, "_vl_decoder_iswavewrite");
    writewave = GetProcAddress(module, "_vl_decoder_writewave");
}

DecoderDll::~DecoderDll() {
    // The player never unloads a playback plugin; it only releases it.
    if (initializate) {
        initializate(INIT_STOP, 0);
        initializate(INIT_RELEASE, 0);
    }
}

void DecoderDll::bind(const std::string& path) {
    initializate(INIT_STOP, 0);
    initializate(INIT_RELEASE, 0);
    initializate(INIT_ATTACH, 0);
    initializate(INIT_OPEN, 0);
    open(path.c_str());
}

bool DecoderDll::block(std::vector<int16_t>& samples) {
    samples.assign(2 * VL_CHANNEL_FRAMES, 0);
    uint8_t a = 9, b = 9, c = 9, fresh = 9;
    channel(VL_CHANNEL_FRAMES, samples.data(), &a, &b, &c, &fresh);
    return fresh != 0;
}

FileInfo DecoderDll::quick(const std::string& path) {
    FileInfo f{};
    quickinfo(path.c_str(), &f);
    return f;
}

std::string media(const char* name) {
    return std::string(VL_PLUGIN_MEDIA) + "/" + name;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buf[65536];
        while (size_t n = std::fread(buf, 1, sizeof buf, f))
            bytes.insert(bytes.end(), buf, buf + n);
        std::fclose(f);
    }
    return bytes;
}

std::string work_file(const std::string& as, const std::vector<uint8_t>& bytes) {
    CreateDirectoryA(VL_WORK_DIR, nullptr);
    std::string path = std::string(VL_WORK_DIR) + "/" + as;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

std::string work_copy(const char* name, const std::string& as) {
    return work_file(as, read_bytes(media(name)));
}

double now_ms() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void sleep_ms(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

int zero_crossings(const std::vector<int16_t>& block, int channel) {
    int n = 0;
    for (size_t i = 2 + channel; i < block.size(); i += 2)
        if ((block[i - 2] < 0) != (block[i] < 0)) ++n;
    return n;
}

int peak(const std::vector<int16_t>& block) {
    int p = 0;
    for (int16_t s : block) p = std::max(p, std::abs(static_cast<int>(s)));
    return p;
}

int thread_count() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    int n = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

std::vector<int16_t> decode_left(DecoderDll& dll, const std::string& path) {
    using writewave_fn = vl_bool(VL_CALL*)(const char*, const char*);
    auto write = reinterpret_cast<writewave_fn>(reinterpret_cast<void*>(dll.writewave));
    const std::string out = std::string(VL_WORK_DIR) + "/decoded.wav";
    CreateDirectoryA(VL_WORK_DIR, nullptr);
    std::vector<int16_t> left;
    if (!(write(path.c_str(), out.c_str()) & 0xFF)) return left;
    std::vector<uint8_t> wav = read_bytes(out);
    for (size_t i = 44; i + 3 < wav.size(); i += 4)
        left.push_back(static_cast<int16_t>(wav[i] | (wav[i + 1] << 8)));
    return left;
}
