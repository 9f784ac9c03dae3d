#include <gtest/gtest.h>

#include "mpeg_plugin.h"
#include "test_files.h"
#include "wave_plugin.h"

namespace vl {
namespace {

std::string format_of(const PluginFormat& format, const std::string& path) {
    InfoTexts texts;
    FileInfo info = blank_info(texts);
    return format.describe(path, info, texts) ? info.format : "(rejected)";
}

// Each plugin reads the other's format in a file named after its own.
TEST(Sniffing, ContentDecidesWhenTheExtensionLies) {
    const auto wav = test::read_file(test::media("sine440.wav"));
    const auto mp3 = test::read_file(test::media("sine440.mp3"));
    std::vector<std::string> opened;
    const PluginFormat mpeg = sniffing_format(mpeg_plugin_format([&](const std::string& path) {
                                                  opened.push_back(path);
                                                  return std::unique_ptr<AudioSource>();
                                              }),
                                              wave_plugin_format());
    const PluginFormat wave = sniffing_format(wave_plugin_format(), mpeg);

    const std::string wav_as_mp3 = test::temp_file("wave.mp3", wav);
    EXPECT_EQ(format_of(mpeg, wav_as_mp3), "WAV PCM 16 bit");
    auto source = mpeg.open_source(wav_as_mp3);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->length(), 3 * 44100);
    EXPECT_TRUE(opened.empty()) << "the WAV signature is tried first";
    source.reset();  // Windows replaces no file that is open

    const std::string mp3_as_wav = test::temp_file("mpeg.wav", mp3);
    EXPECT_EQ(format_of(wave, mp3_as_wav), "MPEG-1 Layer III");
    wave.open_source(mp3_as_wav);
    EXPECT_EQ(opened, std::vector<std::string>{mp3_as_wav});

    // PCM whose bytes happen to hold MPEG frames is still a WAV.
    std::vector<uint8_t> pcm(wav.begin(), wav.begin() + 44);
    pcm.insert(pcm.end(), mp3.begin(), mp3.end() - (mp3.size() & 3));
    const uint32_t data = static_cast<uint32_t>(pcm.size() - 44);
    for (int i = 0; i < 4; ++i) {
        pcm[40 + i] = static_cast<uint8_t>(data >> (8 * i));
        pcm[4 + i] = static_cast<uint8_t>((data + 36) >> (8 * i));
    }
    EXPECT_EQ(format_of(mpeg, test::temp_file("pcm.mp3", pcm)), "WAV PCM 16 bit");

    // Tags go in the format the file holds; foreign files stay untouched.
    TagSet tags;
    tags.title = "Sniffed";
    ASSERT_TRUE(mpeg.write_tags(wav_as_mp3, tags));
    const auto tagged = test::read_file(wav_as_mp3);
    EXPECT_EQ(std::string(tagged.begin(), tagged.begin() + 4), "RIFF");
    EXPECT_NE(test::find_bytes(tagged, "Sniffed"), std::string::npos);
    std::vector<uint8_t> words;
    test::append(words, "neither format");
    const std::string foreign = test::temp_file("words.wav", words);
    EXPECT_EQ(format_of(wave, foreign), "(rejected)");
    EXPECT_FALSE(wave.write_tags(foreign, tags));
    EXPECT_EQ(test::read_file(foreign), words);
}

}  // namespace
}  // namespace vl
