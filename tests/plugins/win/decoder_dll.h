// Loads one of our decoder DLLs and calls it through the plugin interface,
// as the player does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "plugins/vl_decoder.h"

struct DecoderDll {
    explicit DecoderDll(const char* name);
    ~DecoderDll();
    bool loaded() const { return module != nullptr; }

    // Opens a file for playback the way the player binds a plugin.
    void bind(const std::string& path);
    int state() { return getmode(QUERY_STATE); }
    int position() { return getmode(QUERY_POSITION); }
    int length() { return getmode(QUERY_LENGTH); }
    // The sample block; returns new_data.
    bool block(std::vector<int16_t>& samples);
    FileInfo quick(const std::string& path);

    HMODULE module = nullptr;
    vl_decoder_info_fn info = nullptr;
    vl_decoder_initializate_fn initializate = nullptr;
    vl_decoder_open_fn open = nullptr;
    vl_decoder_setmode_fn setmode = nullptr;
    vl_decoder_getmode_fn getmode = nullptr;
    vl_decoder_fileinfo_fn fileinfo = nullptr;
    vl_decoder_setinfo_fn setinfo = nullptr;
    vl_decoder_channel_fn channel = nullptr;
    vl_decoder_quickinfo_fn quickinfo = nullptr;
    vl_decoder_setinfoto_fn setinfoto = nullptr;
    FARPROC iswavewrite = nullptr;
    FARPROC writewave = nullptr;
};

std::string media(const char* name);
// A fresh copy of a media file (or of given bytes) in the work folder.
std::string work_copy(const char* name, const std::string& as);
std::string work_file(const std::string& as, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);
double now_ms();
void sleep_ms(int ms);
int zero_crossings(const std::vector<int16_t>& block, int channel);
int peak(const std::vector<int16_t>& block);
int thread_count();
// Decodes through _vl_decoder_writewave and returns the left channel.
std::vector<int16_t> decode_left(DecoderDll& dll, const std::string& path);
