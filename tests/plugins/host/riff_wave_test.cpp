#include <gtest/gtest.h>

#include <cmath>

#include "riff_wave.h"
#include "test_files.h"
#include "wave_plugin.h"

namespace vl {
namespace {

using test::append;
using test::find_bytes;

// A WAV file built chunk by chunk.
std::vector<uint8_t> wav(int tag, int channels, int rate, int bits,
                         const std::vector<uint8_t>& data, int64_t declared = -1,
                         const std::vector<uint8_t>& before_data = {}) {
    std::vector<uint8_t> fmt;
    put_le16(fmt, static_cast<uint32_t>(tag));
    put_le16(fmt, static_cast<uint32_t>(channels));
    put_le32(fmt, static_cast<uint32_t>(rate));
    put_le32(fmt, static_cast<uint32_t>(rate * channels * bits / 8));
    put_le16(fmt, static_cast<uint32_t>(channels * bits / 8));
    put_le16(fmt, static_cast<uint32_t>(bits));
    std::vector<uint8_t> v;
    append(v, "RIFF");
    put_le32(v, 0);
    append(v, "WAVEfmt ");
    put_le32(v, static_cast<uint32_t>(fmt.size()));
    v.insert(v.end(), fmt.begin(), fmt.end());
    v.insert(v.end(), before_data.begin(), before_data.end());
    append(v, "data");
    put_le32(v,
             static_cast<uint32_t>(declared >= 0 ? declared : static_cast<int64_t>(data.size())));
    v.insert(v.end(), data.begin(), data.end());
    const uint32_t riff = static_cast<uint32_t>(v.size() - 8);
    v[4] = static_cast<uint8_t>(riff), v[5] = static_cast<uint8_t>(riff >> 8);
    v[6] = static_cast<uint8_t>(riff >> 16), v[7] = static_cast<uint8_t>(riff >> 24);
    return v;
}

WaveFile parse(const std::vector<uint8_t>& bytes) {
    MemorySource src(bytes.data(), bytes.size());
    return parse_wave(src);
}

struct MediaCase {
    const char* file;
    int rate, channels, bits;
    WaveFormat::Kind kind;
};

class WaveMedia : public ::testing::TestWithParam<MediaCase> {};

// Every format sox writes decodes to the same 440 Hz tone in both channels.
TEST_P(WaveMedia, DecodesTheToneInEveryFormat) {
    const MediaCase c = GetParam();
    FileSource file;
    ASSERT_TRUE(file.open(test::media(c.file)));
    WaveFile w = parse_wave(file);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.fmt.rate, c.rate);
    EXPECT_EQ(w.fmt.channels, c.channels);
    EXPECT_EQ(w.fmt.valid_bits, c.bits);
    EXPECT_EQ(w.fmt.kind, c.kind);
    EXPECT_EQ(w.frames(), 3 * c.rate);

    auto src = open_wave_source(test::media(c.file));
    ASSERT_TRUE(src);
    std::vector<int16_t> all, buf(2 * 1000);
    while (size_t n = src->read(buf.data(), 1000))
        all.insert(all.end(), buf.begin(), buf.begin() + 2 * n);
    ASSERT_EQ(all.size(), static_cast<size_t>(2 * 3 * c.rate));
    int crossings = 0, peak = 0;
    for (size_t i = 2; i < all.size(); i += 2) {
        if ((all[i - 2] < 0) != (all[i] < 0)) ++crossings;
        peak = std::max(peak, std::abs(static_cast<int>(all[i])));
        ASSERT_NEAR(all[i], all[i + 1], 2);  // sox dithers each channel
    }
    EXPECT_NEAR(crossings, 2 * 440 * 3, 4);
    EXPECT_NEAR(peak, 16384, 16384 * (c.bits == 8 ? 0.03 : 0.01));

    FileInfo info{};
    InfoTexts texts;
    info = blank_info(texts);
    ASSERT_TRUE(describe_wave(test::media(c.file), info, texts));
    EXPECT_EQ(info.duration, 3);
    EXPECT_EQ(info.sample_rate, c.rate);
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.bits_per_sample, c.bits);
    EXPECT_EQ(info.frames, 3 * c.rate);
    EXPECT_EQ(info.crc, -1);
    EXPECT_EQ(info.padding_size, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WaveMedia,
    ::testing::Values(MediaCase{"sine440.wav", 44100, 2, 16, WaveFormat::Kind::Pcm},
                      MediaCase{"mono8.wav", 44100, 1, 8, WaveFormat::Kind::Pcm},
                      MediaCase{"s24.wav", 48000, 2, 24, WaveFormat::Kind::Pcm},
                      MediaCase{"s32.wav", 44100, 2, 32, WaveFormat::Kind::Pcm},
                      MediaCase{"f32.wav", 44100, 2, 32, WaveFormat::Kind::Float},
                      MediaCase{"f64.wav", 44100, 2, 64, WaveFormat::Kind::Float},
                      MediaCase{"six.wav", 44100, 6, 16, WaveFormat::Kind::Pcm}));

TEST(RiffWave, DamagedAndForeignFilesAreRejectedOrClamped) {
    std::vector<uint8_t> data(400, 0);
    // A data size larger than the file is cut to what is there.
    WaveFile lie = parse(wav(1, 2, 8000, 16, data, 0x7FFFFFF0));
    ASSERT_TRUE(lie.ok);
    EXPECT_TRUE(lie.data_size_clamped);
    EXPECT_EQ(lie.frames(), 100);
    // A partial frame at the end is dropped.
    WaveFile odd = parse(wav(1, 2, 8000, 16, std::vector<uint8_t>(403, 0)));
    EXPECT_EQ(odd.data_size, 400);
    EXPECT_FALSE(parse(wav(2, 2, 8000, 4, data)).ok) << "ADPCM is not ours";
    EXPECT_FALSE(parse(wav(1, 9, 8000, 16, data)).ok) << "nine channels";
    EXPECT_FALSE(parse(wav(1, 2, 0, 16, data)).ok) << "no sample rate";
    EXPECT_FALSE(parse(wav(1, 2, 8000, 12, data)).ok) << "12-bit PCM";
    EXPECT_FALSE(parse(wav(3, 2, 8000, 16, data)).ok) << "16-bit float";
    std::vector<uint8_t> no_data = wav(1, 2, 8000, 16, data);
    no_data.resize(36);
    EXPECT_FALSE(parse(no_data).ok);
    EXPECT_FALSE(parse({}).ok);
    std::vector<uint8_t> text;
    append(text, "This is not a sound file at all, just some words.");
    EXPECT_FALSE(parse(text).ok);
    // A chunk that overruns the file before the data ends the walk.
    std::vector<uint8_t> junk;
    append(junk, "junk");
    put_le32(junk, 0x10000000);
    EXPECT_FALSE(parse(wav(1, 2, 8000, 16, data, -1, junk)).ok);
}

TEST(RiffWave, OddChunksArePaddedAndInfoTagsRead) {
    std::vector<uint8_t> extra;
    append(extra, "odd ");
    put_le32(extra, 3);
    append(extra, std::string("abc\0", 4));  // 3 bytes and the pad byte
    std::vector<uint8_t> info;
    auto sub = [&](const char* id, const std::string& text) {
        append(info, id);
        put_le32(info, static_cast<uint32_t>(text.size() + 1));
        append(info, text);
        info.push_back(0);
        if ((text.size() + 1) & 1) info.push_back(0);
    };
    sub("INAM", "Title");
    sub("IART", "Artist  ");
    sub("ITRK", "12");
    sub("IGNR", "Jazz");
    append(extra, "LIST");
    put_le32(extra, static_cast<uint32_t>(info.size() + 4));
    append(extra, "INFO");
    extra.insert(extra.end(), info.begin(), info.end());
    WaveFile w = parse(wav(1, 1, 8000, 16, std::vector<uint8_t>(10, 0), -1, extra));
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_TRUE(w.has_info);
    EXPECT_EQ(w.tags.title, "Title");
    EXPECT_EQ(w.tags.artist, "Artist");
    EXPECT_EQ(w.tags.track, 12);
    EXPECT_EQ(w.tags.genre, "Jazz");
    EXPECT_EQ(w.frames(), 5);
}

TEST(RiffWave, ConversionToStereo) {
    WaveFormat f;
    f.channels = 1;
    f.bits = 8;
    f.block_align = 1;
    const uint8_t u8[] = {0x80, 0xFF, 0x00};
    int16_t out[6];
    convert_to_stereo16(u8, 3, f, out);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 32512);
    EXPECT_EQ(out[4], -32768);

    f.kind = WaveFormat::Kind::Float;
    f.channels = 2;
    f.bits = 32;
    f.block_align = 8;
    float fl[] = {2.0f, -0.5f, std::nanf(""), -3.0f};
    convert_to_stereo16(reinterpret_cast<uint8_t*>(fl), 2, f, out);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -16384);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], -32767);

    f.kind = WaveFormat::Kind::Pcm;
    f.channels = 3;
    f.bits = 24;
    f.block_align = 9;
    // Left 0x100000 (4096 after the cut to 16 bits), right 0, third -0x100000.
    const uint8_t s24[] = {0, 0, 0x10, 0, 0, 0, 0, 0, 0xF0};
    convert_to_stereo16(s24, 1, f, out);
    EXPECT_EQ(out[0], (2 * 4096 - 4096) / 3);
    EXPECT_EQ(out[1], -4096 / 3);
}

TEST(RiffWave, TagsAreWrittenSafelyAndReadBack) {
    const std::vector<uint8_t> original = test::read_file(test::media("mono8.wav"));
    const std::string path = test::temp_file("tags.wav", original);
    TagSet tags;
    tags.title = "A Title";
    tags.artist = "Someone";
    tags.album = "Album";
    tags.comment = "odd";
    tags.year = "1999";
    tags.genre = "Rock";
    tags.track = 3;
    ASSERT_TRUE(write_wave_tags(path, tags));
    ASSERT_TRUE(write_wave_tags(path, tags)) << "a second write replaces the list";
    std::vector<uint8_t> bytes = test::read_file(path);
    size_t list = find_bytes(bytes, "LISTx");  // never: sizes are binary
    EXPECT_EQ(list, std::string::npos);
    size_t info = find_bytes(bytes, "INFO");
    ASSERT_NE(info, std::string::npos);
    EXPECT_EQ(find_bytes(bytes, "INFO", info + 1), std::string::npos) << "one INFO list only";
    size_t inam = find_bytes(bytes, "INAM");
    ASSERT_NE(inam, std::string::npos);
    EXPECT_EQ(le32(&bytes[inam + 4]), 8u);  // "A Title" and its NUL
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[inam + 8]), 8),
              std::string("A Title\0", 8));
    size_t icmt = find_bytes(bytes, "ICMT");
    EXPECT_EQ(le32(&bytes[icmt + 4]), 4u);
    EXPECT_EQ(bytes[icmt + 12], 'I') << "even: no pad byte after 4 bytes";
    EXPECT_EQ(le32(&bytes[4]), bytes.size() - 8);

    FileSource src;
    ASSERT_TRUE(src.open(path));
    WaveFile w = parse_wave(src);
    EXPECT_EQ(w.tags, tags);
    // The audio is untouched.
    FileSource orig_src;
    ASSERT_TRUE(orig_src.open(test::media("mono8.wav")));
    WaveFile o = parse_wave(orig_src);
    ASSERT_EQ(w.data_size, o.data_size);
    EXPECT_TRUE(std::equal(bytes.begin() + w.data_offset,
                           bytes.begin() + w.data_offset + w.data_size,
                           original.begin() + o.data_offset));
    src.close();

    ASSERT_TRUE(write_wave_tags(path, TagSet{}));
    EXPECT_EQ(find_bytes(test::read_file(path), "INFO"), std::string::npos);
}

TEST(RiffWave, TaggingAFileWhoseDataSizeLiesKeepsAllItsAudio) {
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    const std::string path = test::temp_file("lying.wav", wav(1, 2, 8000, 16, data, 0x7FFFFFF0));
    TagSet tags;
    tags.title = "t";
    ASSERT_TRUE(write_wave_tags(path, tags));
    const auto bytes = test::read_file(path);
    WaveFile w = parse(bytes);
    ASSERT_TRUE(w.ok);
    EXPECT_FALSE(w.data_size_clamped) << "the header now tells the truth";
    EXPECT_EQ(w.tags.title, "t");
    ASSERT_EQ(w.data_size, 1000);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), bytes.begin() + w.data_offset));
}

// Telephony WAVs decode sample for sample as sox decodes them.
TEST(RiffWave, MuLawAndALawMatchSoxDecoding) {
    for (const auto& [file, kind] :
         {std::pair{"ulaw", WaveFormat::Kind::MuLaw}, std::pair{"alaw", WaveFormat::Kind::ALaw}}) {
        const std::string name = std::string(file) + ".wav";
        auto src = open_wave_source(test::media(name));
        ASSERT_TRUE(src) << name;
        FileSource ref_file;
        ASSERT_TRUE(ref_file.open(test::media(std::string(file) + "_ref.wav")));
        const WaveFile ref = parse_wave(ref_file);
        ASSERT_EQ(src->length(), ref.frames());
        std::vector<uint8_t> ref_bytes(static_cast<size_t>(ref.data_size));
        ref_file.read_at(ref.data_offset, ref_bytes.data(), ref_bytes.size());
        std::vector<int16_t> out(2 * static_cast<size_t>(ref.frames()));
        ASSERT_EQ(src->read(out.data(), static_cast<size_t>(ref.frames())),
                  static_cast<size_t>(ref.frames()));
        int differing = 0;
        for (size_t i = 0; i < out.size() / 2; ++i)
            differing += out[2 * i] != static_cast<int16_t>(le16(&ref_bytes[2 * i]));
        EXPECT_EQ(differing, 0) << name;

        InfoTexts texts;
        FileInfo info = blank_info(texts);
        ASSERT_TRUE(describe_wave(test::media(name), info, texts));
        EXPECT_EQ(info.duration, 3);
        EXPECT_EQ(info.bitrate, 64);
        EXPECT_EQ(parse(test::read_file(test::media(name))).fmt.kind, kind);
    }
    // The extreme codes of both laws.
    EXPECT_EQ(mulaw_to_linear(0x00), -32124);
    EXPECT_EQ(mulaw_to_linear(0xFF), 0);
    EXPECT_EQ(alaw_to_linear(0xAA), 32256);
    EXPECT_EQ(alaw_to_linear(0xD5), 8);
}

TEST(RiffWave, AFailedTagWriteLeavesTheFileAlone) {
    const std::vector<uint8_t> original = test::read_file(test::media("mono8.wav"));
    const std::string path = test::temp_file("readonly.wav", original);
    test::set_read_only(path, true);
    TagSet tags;
    tags.title = "x";
    EXPECT_FALSE(write_wave_tags(path, tags));
    EXPECT_EQ(test::read_file(path), original);
    test::set_read_only(path, false);

    std::vector<uint8_t> text;
    append(text, "plain text, not RIFF");
    const std::string txt = test::temp_file("text.wav", text);
    EXPECT_FALSE(write_wave_tags(txt, tags));
    EXPECT_EQ(test::read_file(txt), text);
    EXPECT_FALSE(write_wave_tags("/nonexistent/folder/x.wav", tags));
}

}  // namespace
}  // namespace vl
