// RIFF WAVE: format, data and LIST/INFO tags, read from any ByteSource;
// tag rewriting; conversion of every supported sample format to stereo int16.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_source.h"
#include "tag_set.h"

namespace vl {

struct WaveFormat {
    enum class Kind { Pcm, Float, MuLaw, ALaw };
    Kind kind = Kind::Pcm;
    uint16_t tag = 0;  // as written: 1 PCM, 3 float, 6 A-law, 7 mu-law, 0xFFFE extensible
    int channels = 0;
    int rate = 0;
    int bits = 0;        // container bits per sample
    int valid_bits = 0;  // meaningful bits (extensible), else == bits
    int block_align = 0;
    uint32_t channel_mask = 0;
};

struct RiffChunk {
    std::string id;
    int64_t offset = 0;  // of the chunk header
    int64_t size = 0;    // body size, clamped to the file
    bool is_info = false;
};

struct WaveFile {
    bool ok = false;
    std::string error;
    int64_t file_size = 0;
    WaveFormat fmt;
    int64_t data_offset = 0;
    int64_t data_size = 0;
    bool data_size_clamped = false;  // the header claimed more than the file holds
    bool has_info = false;
    TagSet tags;
    std::vector<RiffChunk> chunks;  // top level, in file order
    int64_t frames() const { return fmt.block_align > 0 ? data_size / fmt.block_align : 0; }
};

WaveFile parse_wave(ByteSource& src);

// The LIST chunk (header included) holding the non-empty tags; empty when none.
std::vector<uint8_t> build_info_list(const TagSet& tags);

// Writes the file with its LIST/INFO chunks replaced by the tags.
bool write_wave_with_tags(ByteSource& src, const WaveFile& wave, const TagSet& tags,
                          FileWriter& out);

// Converts frames of the given format to interleaved stereo: mono is
// duplicated, further channels are mixed into both sides.
void convert_to_stereo16(const uint8_t* in, size_t frames, const WaveFormat& fmt, int16_t* out);

std::string describe_wave_format(const WaveFormat& fmt);

// G.711 expansion of one 8-bit code to a 16-bit sample.
int16_t mulaw_to_linear(uint8_t code);
int16_t alaw_to_linear(uint8_t code);

}  // namespace vl
