// Everything a decoder plugin answers through its exports, written once for
// every plugin: the plugin describes its format in a PluginFormat, and the
// exports forward to one PluginRuntime.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audio_io.h"
#include "output_engine.h"
#include "plugins/vl_decoder.h"
#include "tag_set.h"

namespace vl {

struct PluginFormat {
    const char* extensions;
    const char* filter_description;
    const char* display_name;
    const char* formats_text;  // shown by the options box
    // nullptr when the file cannot be played.
    std::function<std::unique_ptr<AudioSource>(const std::string& path)> open_source;
    // Fills what the file tells; false when it is not readable at all.
    std::function<bool(const std::string& path, FileInfo& info, InfoTexts& texts)> describe;
    // Rewrites the file's tags (safely); false leaves it untouched.
    std::function<bool(const std::string& path, const TagSet& tags)> write_tags;
    // Whether the file's first bytes carry this format's signature.
    std::function<bool(const std::string& path)> has_signature;
};

// The own format, falling back on the other one for files named after the
// own format that hold the other (a WAV file named .mp3): a file carrying
// the other's signature and not the own one's is tried as the other first,
// and a file the first format rejects is tried with the second. Tags are
// written by the first format that reads the file.
PluginFormat sniffing_format(PluginFormat own, PluginFormat other);

class PluginRuntime {
  public:
    PluginRuntime(PluginFormat format, SinkFactory sinks, bool threaded = true);

    void info(DecoderInfo* info) const;
    void initializate(int32_t code, int32_t param);
    void open(const char* path);
    int32_t setmode(int32_t code, int32_t param);
    int32_t getmode(int32_t code);
    bool fileinfo(FileInfo* info);
    bool setinfo(const FileInfo& info);
    void channel(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b, uint8_t* flag_c,
                 uint8_t* new_data);
    void quickinfo(const char* path, FileInfo* info);
    bool setinfoto(const char* path, const FileInfo& info);
    // Decodes a whole file into a 16-bit stereo WAV file.
    bool writewave(const char* path, const char* wav_path);

    OutputEngine& engine() { return engine_; }
    // Shows the options box (caption, text); set by the Windows exports.
    std::function<void(const std::string&, const std::string&)> message_box;

  private:
    bool describe(const std::string& path, FileInfo* info);

    PluginFormat format_;
    OutputEngine engine_;
    std::string path_;
    InfoTexts texts_;
    // The open file's record, kept while the file is not rewritten: the
    // player asks for it on every display tick.
    std::string info_stamp_;
    bool info_kept_ = false, info_ok_ = false;
    FileInfo info_{};
};

// Writes every frame of source (from its start) as a 16-bit stereo WAV.
bool write_wave_file(AudioSource& source, const std::string& wav_path);

}  // namespace vl
