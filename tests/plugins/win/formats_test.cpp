// Telephony WAVs, files whose extension names the other plugin's format, and
// tag text outside ASCII, through the plugin interface.
#include <gtest/gtest.h>

#include "decoder_dll.h"

namespace {

std::string text(const char* s) {
    return s ? s : "(null)";
}

// The left channel of a 16-bit mono or stereo WAV written by sox.
std::vector<int16_t> pcm_left(const std::string& path, int channels) {
    const auto bytes = read_bytes(path);
    const std::string s(bytes.begin(), bytes.end());
    std::vector<int16_t> left;
    for (size_t i = s.find("data") + 8; i + 1 < bytes.size(); i += 2 * channels)
        left.push_back(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return left;
}

TEST(WaveDll, MuLawAndALawPlayAsSoxDecodesThem) {
    DecoderDll dll("vl_wave.dll");
    for (const char* law : {"ulaw", "alaw"}) {
        const std::string path = media((std::string(law) + ".wav").c_str());
        const FileInfo f = dll.quick(path);
        EXPECT_EQ(f.duration, 3) << law;
        EXPECT_EQ(f.sample_rate, 8000);
        EXPECT_EQ(f.bits_per_sample, 8);
        dll.bind(path);
        EXPECT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1) << law;
        EXPECT_EQ(dll.length(), 3 * 8000);
        dll.setmode(MODE_STOP, 0);
        EXPECT_EQ(decode_left(dll, path),
                  pcm_left(media((std::string(law) + "_ref.wav").c_str()), 1))
            << law;
    }
}

TEST(Sniffing, AWavNamedMp3AndAnMp3NamedWavPlay) {
    DecoderDll wave("vl_wave.dll"), mpeg("vl_mpeg.dll");
    const std::string wav_as_mp3 = work_copy("sine440.wav", "wave_named.mp3");
    EXPECT_EQ(text(mpeg.quick(wav_as_mp3).format), "WAV PCM 16 bit");
    mpeg.bind(wav_as_mp3);
    EXPECT_EQ(mpeg.setmode(MODE_PLAY, 0) & 0xFF, 1);
    EXPECT_EQ(mpeg.length(), 3 * 44100);
    mpeg.setmode(MODE_STOP, 0);

    const std::string mp3_as_wav = work_copy("sine440.mp3", "mpeg_named.wav");
    EXPECT_EQ(text(wave.quick(mp3_as_wav).format), "MPEG-1 Layer III");
    wave.bind(mp3_as_wav);
    EXPECT_EQ(wave.setmode(MODE_PLAY, 0) & 0xFF, 1);
    EXPECT_EQ(wave.length(), 3 * 44100);
    wave.setmode(MODE_STOP, 0);
    const std::vector<int16_t> decoded = decode_left(wave, mp3_as_wav);
    EXPECT_EQ(decoded.size(), 3u * 44100u);
    EXPECT_EQ(decoded, decode_left(mpeg, media("sine440.mp3")));
}

// Windows' own conversion: checked in code page 1252, which has every
// character used here.
TEST(MpegDll, UnicodeTagTextInTheAnsiCodePageAndWrittenBack) {
    if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP();
    DecoderDll dll("vl_mpeg.dll");
    const std::string title =
        "Don\xE2\x80\x99t \xE2\x80\x9CQ\xE2\x80\x9D \xE2\x80\x93 \xE2\x82\xAC";
    // An ID3v2.4 tag holding one UTF-8 title frame; every size is below 128.
    const std::string frame =
        std::string("TIT2\0\0\0", 7) + char(1 + title.size()) + std::string("\0\0\x03", 3) + title;
    const std::string head = std::string("ID3\x04\0\0\0\0\0", 9) + char(frame.size());
    const auto audio = read_bytes(media("sine440.mp3"));
    const std::string file = head + frame + std::string(audio.begin(), audio.end());
    const std::string path = work_file("unicode.mp3", {file.begin(), file.end()});
    EXPECT_EQ(text(dll.quick(path).title), "Don\x92t \x93Q\x94 \x96 \x80");

    FileInfo typed{};
    typed.title = "\x8Cuvre \x85";  // "Œuvre …"
    typed.artist = "Plain";
    ASSERT_TRUE(dll.setinfoto(path.c_str(), typed) & 0xFF);
    const auto written = read_bytes(path);
    const std::string s(written.begin(), written.end());
    const size_t tit2 = s.find("TIT2");
    ASSERT_NE(tit2, std::string::npos);
    EXPECT_EQ(s.substr(tit2 + 10, 5), std::string("\x01\xFF\xFE\x52\x01", 5)) << "UTF-16";
    const FileInfo back = dll.quick(path);
    EXPECT_EQ(text(back.title), typed.title);
    EXPECT_EQ(text(back.artist), "Plain");
}

}  // namespace
