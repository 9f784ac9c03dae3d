#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "mpeg_frame.h"
#include "mpeg_plugin.h"
#include "test_files.h"

namespace vl {
namespace {

MpegStream scan_bytes(const std::vector<uint8_t>& b, bool full = true) {
    MemorySource src(b.data(), b.size());
    return scan_mpeg(src, full);
}

TEST(MpegHeader, VersionsLayersRatesAndSizes) {
    MpegHeader h;
    const uint8_t v1[] = {0xFF, 0xFB, 0x92, 0x64};
    ASSERT_TRUE(parse_mpeg_header(v1, h));
    EXPECT_EQ(h.version, 10);
    EXPECT_EQ(h.layer, 3);
    EXPECT_FALSE(h.crc);
    EXPECT_EQ(h.bitrate, 128);
    EXPECT_EQ(h.rate, 44100);
    EXPECT_TRUE(h.padding);
    EXPECT_EQ(h.mode, 1);
    EXPECT_EQ(h.mode_ext, 2);
    EXPECT_TRUE(h.original);
    EXPECT_FALSE(h.copyright);
    EXPECT_EQ(h.frame_size, 418);
    EXPECT_EQ(h.samples, 1152);

    ASSERT_TRUE(parse_mpeg_header(std::array<uint8_t, 4>{0xFF, 0xF2, 0x81, 0xC8}.data(), h));
    EXPECT_EQ(h.version, 20);
    EXPECT_TRUE(h.crc);
    EXPECT_TRUE(h.private_bit);
    EXPECT_EQ(h.bitrate, 64);
    EXPECT_EQ(h.rate, 22050);
    EXPECT_EQ(h.channels(), 1);
    EXPECT_TRUE(h.copyright);
    EXPECT_EQ(h.frame_size, 208);
    EXPECT_EQ(h.samples, 576);

    ASSERT_TRUE(parse_mpeg_header(std::array<uint8_t, 4>{0xFF, 0xE3, 0x48, 0xC1}.data(), h));
    EXPECT_EQ(h.version, 25);
    EXPECT_EQ(h.rate, 8000);
    EXPECT_EQ(h.bitrate, 32);
    EXPECT_EQ(h.frame_size, 288);
    EXPECT_EQ(h.emphasis, 1);

    ASSERT_TRUE(parse_mpeg_header(std::array<uint8_t, 4>{0xFF, 0xFD, 0x90, 0x00}.data(), h));
    EXPECT_EQ(h.layer, 2);
    EXPECT_EQ(h.bitrate, 160);

    for (auto bad : {std::array<uint8_t, 4>{0xFF, 0xFB, 0xF0, 0x00},   // bitrate index 15
                     std::array<uint8_t, 4>{0xFF, 0xFB, 0x0C, 0x00},   // rate index 3
                     std::array<uint8_t, 4>{0xFF, 0xFB, 0x00, 0x00},   // free format
                     std::array<uint8_t, 4>{0xFF, 0xEB, 0x90, 0x00},   // reserved version
                     std::array<uint8_t, 4>{0xFF, 0xF9, 0x90, 0x00},   // reserved layer
                     std::array<uint8_t, 4>{0xFF, 0xFB, 0x90, 0x02},   // reserved emphasis
                     std::array<uint8_t, 4>{0xFE, 0xFB, 0x90, 0x00}})  // no sync
        EXPECT_FALSE(parse_mpeg_header(bad.data(), h));
}

struct StreamCase {
    const char* file;
    int version, rate, channels;
    VbrHeader::Kind kind;
    bool crc = false;
};

class MpegMedia : public ::testing::TestWithParam<StreamCase> {};

TEST_P(MpegMedia, ScanFindsEveryFrameAndTheVbrHeaderAgrees) {
    const StreamCase c = GetParam();
    const auto bytes = test::read_file(test::media(c.file));
    MpegStream s = scan_bytes(bytes);
    ASSERT_TRUE(s.ok) << s.error;
    EXPECT_EQ(s.first.version, c.version);
    EXPECT_EQ(s.first.rate, c.rate);
    EXPECT_EQ(s.first.channels(), c.channels);
    EXPECT_EQ(s.vbr.kind, c.kind);
    EXPECT_EQ(s.garbage_runs, 0);
    const int64_t samples = mpeg_total_samples(s, static_cast<int64_t>(s.frames.size()));
    if (c.kind != VbrHeader::Kind::None) {
        EXPECT_EQ(s.vbr.frames, static_cast<int64_t>(s.frames.size()));
        EXPECT_EQ(s.vbr.encoder_delay, 576);
        // lame cuts its delay and padding to the exact input length.
        EXPECT_EQ(samples, 3 * c.rate);
    } else {
        EXPECT_NEAR(samples, 3 * c.rate, 2 * s.first.samples + 576);
    }

    FileInfo info{};
    InfoTexts texts;
    info = blank_info(texts);
    ASSERT_TRUE(describe_mpeg(test::media(c.file), info, texts));
    EXPECT_EQ(info.duration, 3);
    EXPECT_EQ(info.sample_rate, c.rate);
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.frames, static_cast<int32_t>(s.frames.size()));
    EXPECT_EQ(info.padding_size, 1);
    EXPECT_EQ(info.crc, c.crc ? 1 : 0);
    EXPECT_EQ(info.bits_per_sample, -1);
    EXPECT_STREQ(info.emphasis, "None");
    EXPECT_EQ(std::string(info.format).find("Layer III") != std::string::npos, true);
}

INSTANTIATE_TEST_SUITE_P(
    Media, MpegMedia,
    ::testing::Values(StreamCase{"sine440.mp3", 10, 44100, 2, VbrHeader::Kind::Info},
                      StreamCase{"vbr.mp3", 10, 44100, 2, VbrHeader::Kind::Xing},
                      StreamCase{"noxing.mp3", 10, 44100, 2, VbrHeader::Kind::None},
                      StreamCase{"mpeg2.mp3", 20, 22050, 1, VbrHeader::Kind::Xing},
                      StreamCase{"mpeg25.mp3", 25, 8000, 1, VbrHeader::Kind::Info},
                      // LAME's Info header in a CRC-protected first frame.
                      StreamCase{"crc.mp3", 10, 44100, 2, VbrHeader::Kind::Info, true}));

TEST(MpegInfo, ConstantAndVariableBitRates) {
    InfoTexts texts;
    FileInfo cbr = blank_info(texts);
    ASSERT_TRUE(describe_mpeg(test::media("sine440.mp3"), cbr, texts));
    EXPECT_EQ(cbr.bitrate, 128);
    EXPECT_STREQ(cbr.format, "MPEG-1 Layer III");
    EXPECT_STREQ(cbr.channel_mode, "Joint stereo");
    EXPECT_EQ(cbr.frame_size, 417);
    FileInfo vbr = blank_info(texts);
    ASSERT_TRUE(describe_mpeg(test::media("vbr.mp3"), vbr, texts));
    // The average of a sine at -V 4 is far below the 128 of the CBR file.
    EXPECT_GT(vbr.bitrate, 32);
    EXPECT_LT(vbr.bitrate, 128);
    // Without a VBR header the counted frames give the average, not the
    // first frame's rate.
    const std::string bare = test::media("vbr_noxing.mp3");
    FileInfo counted = blank_info(texts);
    ASSERT_TRUE(describe_mpeg(bare, counted, texts));
    const double bytes = static_cast<double>(test::read_file(bare).size());
    EXPECT_NEAR(counted.bitrate, bytes * 8 / 3 / 1000, 3);
    EXPECT_NEAR(counted.frame_size, bytes / counted.frames, 1);
}

TEST(MpegScan, GarbageBetweenFramesAndTruncationAreSurvived) {
    const auto bytes = test::read_file(test::media("noxing.mp3"));
    const MpegStream clean = scan_bytes(bytes);
    ASSERT_TRUE(clean.ok);
    const size_t n = clean.frames.size();
    // Junk full of false syncs between frames 20 and 21.
    std::vector<uint8_t> junk;
    for (int i = 0; i < 700; ++i)
        junk.push_back(i % 7 == 0 ? 0xFF : static_cast<uint8_t>(0xE0 + i % 31));
    auto damaged = bytes;
    damaged.insert(damaged.begin() + clean.frames[20], junk.begin(), junk.end());
    MpegStream d = scan_bytes(damaged);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.frames.size(), n);
    EXPECT_GE(d.garbage_runs, 1);

    auto cut = bytes;
    cut.resize(static_cast<size_t>(clean.frames[n / 2] + 100));  // mid-frame
    MpegStream t = scan_bytes(cut);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.frames.size(), n / 2);

    EXPECT_FALSE(scan_bytes({}).ok);
    std::vector<uint8_t> text;
    test::append(text, "ID3 is not here; this is a letter to a friend, not a song.");
    EXPECT_FALSE(scan_bytes(text).ok);
    // A leading tag that claims more than the file holds hides everything.
    std::vector<uint8_t> big = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    big.insert(big.end(), bytes.begin(), bytes.end());
    EXPECT_FALSE(scan_bytes(big).ok);
}

TEST(VbrHeader, VbriIsRead) {
    MpegHeader h;
    std::vector<uint8_t> f(417, 0);
    f[0] = 0xFF, f[1] = 0xFB, f[2] = 0x90, f[3] = 0x44;
    ASSERT_TRUE(parse_mpeg_header(f.data(), h));
    std::memcpy(&f[36], "VBRI", 4);
    f[43] = 0x10;                                            // delay 0x0010
    f[46] = 0x00, f[47] = 0x01, f[48] = 0x00, f[49] = 0x00;  // 65536 bytes
    f[52] = 0x01, f[53] = 0x2C;                              // 300 frames
    VbrHeader v = parse_vbr_header(f.data(), f.size(), h);
    EXPECT_EQ(v.kind, VbrHeader::Kind::Vbri);
    EXPECT_EQ(v.frames, 300);
    EXPECT_EQ(v.bytes, 65536);
    EXPECT_EQ(v.encoder_delay, 16);
    // Too short for either header.
    EXPECT_EQ(parse_vbr_header(f.data(), 30, h).kind, VbrHeader::Kind::None);
}

}  // namespace
}  // namespace vl
