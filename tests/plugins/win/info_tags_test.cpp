// File information, tags and damaged files through the plugin interface.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "decoder_dll.h"

namespace {

std::string text(const char* s) {
    return s ? s : "(null)";
}

FileInfo tags(const char* title, const char* artist, int track, const char* genre) {
    FileInfo f{};
    f.title = title;
    f.artist = artist;
    f.album = "Album";
    f.comment = "Comment";
    f.year = "2020";
    f.genre = genre;
    f.track = track;
    f.channel_mode = "ignored";  // the plugin takes only the seven tag fields
    return f;
}

bool unchanged_after(const std::string& path, const std::function<void()>& act) {
    const auto before = read_bytes(path);
    act();
    return read_bytes(path) == before;
}

TEST(MpegDll, DecodesThroughAcmInStepWithTheSource) {
    DecoderDll dll("vl_mpeg.dll");
    ASSERT_TRUE(dll.loaded());
    ASSERT_NE(dll.writewave, nullptr);
    ASSERT_NE(dll.iswavewrite, nullptr);
    const std::vector<int16_t> mp3 = decode_left(dll, media("sine440.mp3"));
    ASSERT_EQ(mp3.size(), 3u * 44100u) << "encoder delay and padding are cut";
    // The source tone from the WAV.
    std::vector<uint8_t> wav = read_bytes(media("sine440.wav"));
    std::vector<int16_t> ref;
    for (size_t i = 44; i + 3 < wav.size(); i += 4)
        ref.push_back(static_cast<int16_t>(wav[i] | (wav[i + 1] << 8)));
    ASSERT_EQ(ref.size(), mp3.size());
    // The decoded tone lines up with the source: the best lag is 0.
    auto error_at = [&](int lag) {
        double e = 0;
        for (size_t i = 2000; i < 12000; ++i) {
            double d = mp3[i] - ref[static_cast<size_t>(static_cast<int>(i) + lag)];
            e += d * d;
        }
        return e;
    };
    int best = 0;
    for (int lag = -1200; lag <= 1200; ++lag)
        if (error_at(lag) < error_at(best)) best = lag;
    EXPECT_EQ(best, 0);
    // Lossy coding leaves a small, even error; a seam between the blocks fed
    // to the codec would show as a block with a much larger one.
    double worst = 0, total = 0;
    int blocks = 0;
    for (size_t blk = 2304; blk + 2304 <= ref.size(); blk += 1152, ++blocks) {
        double e = 0;
        for (size_t i = blk; i < blk + 1152; ++i) e += std::pow(mp3[i] - ref[i], 2.0);
        worst = std::max(worst, std::sqrt(e / 1152));
        total += e;
    }
    const double rms = std::sqrt(total / (1152.0 * blocks));
    EXPECT_LT(rms, 0.1 * 11585) << "under a tenth of the tone's RMS";
    EXPECT_LT(worst, 1.5 * rms);
}

TEST(MpegDll, DecodesVariableRatesMonoAndLowerVersions) {
    DecoderDll dll("vl_mpeg.dll");
    struct {
        const char* file;
        size_t samples;
    } cases[] = {{"vbr.mp3", 3 * 44100},
                 {"mpeg2.mp3", 3 * 22050},
                 {"mpeg25.mp3", 3 * 8000},
                 {"crc.mp3", 3 * 44100}};
    for (const auto& c : cases) {
        const std::vector<int16_t> left = decode_left(dll, media(c.file));
        EXPECT_EQ(left.size(), c.samples) << c.file;
        int crossings = 0;
        for (size_t i = 1; i < left.size(); ++i) crossings += (left[i - 1] < 0) != (left[i] < 0);
        EXPECT_NEAR(crossings, 2 * 440 * 3, 40) << c.file;
    }
}

TEST(MpegDll, FileInfoOfTheOpenFileAndOfOthers) {
    DecoderDll dll("vl_mpeg.dll");
    DecoderInfo di{};
    dll.info(&di);
    EXPECT_EQ(di.kind, 1);
    EXPECT_EQ(di.subkind, 0);
    EXPECT_STREQ(di.extensions, "*.mp3;");
    dll.bind(media("vbr.mp3"));
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    FileInfo f{};
    ASSERT_TRUE(dll.fileinfo(&f) & 0xFF);
    EXPECT_EQ(f.duration, 3);
    EXPECT_EQ(f.sample_rate, 44100);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(text(f.format), "MPEG-1 Layer III");
    EXPECT_EQ(dll.length(), 3 * 44100);
    dll.setmode(MODE_STOP, 0);

    FileInfo q = dll.quick(media("mpeg25.mp3"));
    EXPECT_EQ(q.sample_rate, 8000);
    EXPECT_EQ(text(q.channel_mode), "Mono");
    EXPECT_EQ(text(q.format), "MPEG-2.5 Layer III");
    EXPECT_EQ(q.bitrate, 32);
    FileInfo t = dll.quick(media("tagged.mp3"));
    EXPECT_EQ(text(t.title), "Sine Title");
    EXPECT_EQ(t.track, 7);
    EXPECT_EQ(text(t.genre), "Rock");
}

TEST(WaveDll, FileInfoIsTruthful) {
    DecoderDll dll("vl_wave.dll");
    DecoderInfo di{};
    dll.info(&di);
    EXPECT_STREQ(di.extensions, "*.wav;*.wave;");
    FileInfo f = dll.quick(media("s24.wav"));
    EXPECT_EQ(f.sample_rate, 48000);
    EXPECT_EQ(f.bits_per_sample, 24);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.duration, 3);
    EXPECT_EQ(f.bitrate, 48000 * 24 * 2 / 1000);
    EXPECT_EQ(text(f.channel_mode), "Stereo");
    EXPECT_EQ(f.copyright_flag, -1);
    EXPECT_EQ(f.original_flag, -1);
    EXPECT_EQ(f.crc, -1);
    EXPECT_EQ(f.padding_flag, -1);
    EXPECT_EQ(f.padding_size, -1);
    FileInfo six = dll.quick(media("six.wav"));
    EXPECT_EQ(six.channels, 6);
    EXPECT_EQ(text(six.channel_mode), "6 channels");
}

TEST(WaveDll, TagsWrittenAndReadBackAndByteChecked) {
    DecoderDll dll("vl_wave.dll");
    const std::string path = work_copy("mono8.wav", "tags.wav");
    ASSERT_TRUE(dll.setinfoto(path.c_str(), tags("Song", "Band", 5, "Jazz")) & 0xFF);
    FileInfo f = dll.quick(path);
    EXPECT_EQ(text(f.title), "Song");
    EXPECT_EQ(text(f.artist), "Band");
    EXPECT_EQ(text(f.album), "Album");
    EXPECT_EQ(text(f.genre), "Jazz");
    EXPECT_EQ(f.track, 5);
    EXPECT_EQ(f.duration, 3);
    const auto bytes = read_bytes(path);
    const std::string s(bytes.begin(), bytes.end());
    const size_t iart = s.find("IART");
    ASSERT_NE(iart, std::string::npos);
    EXPECT_EQ(s.substr(iart, 13), std::string("IART\x05\0\0\0Band\0", 13));
    EXPECT_NE(s.find(std::string("ITRK\x02\0\0\0"
                                 "5\0",
                                 10)),
              std::string::npos);

    // Read-only: refused, byte for byte the same.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(unchanged_after(path, [&] {
        EXPECT_FALSE(dll.setinfoto(path.c_str(), tags("X", "Y", 1, "Rock")) & 0xFF);
    }));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WaveDll, TaggingThePlayingFileKeepsItPlaying) {
    DecoderDll dll("vl_wave.dll");
    const std::string path = work_copy("sine440.wav", "playing.wav");
    dll.bind(path);
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    sleep_ms(300);
    const int before = dll.position();
    ASSERT_TRUE(dll.setinfo(tags("Live", "Now", 1, "Rock")) & 0xFF);
    EXPECT_EQ(dll.state(), STATE_PLAYING);
    EXPECT_NEAR(dll.position(), before, 44100 / 5);
    FileInfo f{};
    ASSERT_TRUE(dll.fileinfo(&f) & 0xFF);
    EXPECT_EQ(text(f.title), "Live");
    dll.setmode(MODE_STOP, 0);
}

TEST(MpegDll, TagsWrittenAsV23AndV1AndReadBack) {
    DecoderDll dll("vl_mpeg.dll");
    const std::string path = work_copy("tagged.mp3", "tags.mp3");
    dll.bind(path);
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    // The open file goes through setinfo, another through setinfoto.
    ASSERT_TRUE(dll.setinfo(tags("Mp3 Song", "Mp3 Band", 9, "Pop")) & 0xFF);
    EXPECT_EQ(dll.state(), STATE_PLAYING);
    dll.setmode(MODE_STOP, 0);
    FileInfo f = dll.quick(path);
    EXPECT_EQ(text(f.title), "Mp3 Song");
    EXPECT_EQ(text(f.genre), "Pop");
    EXPECT_EQ(f.track, 9);
    EXPECT_EQ(f.duration, 3);
    const auto bytes = read_bytes(path);
    const std::string s(bytes.begin(), bytes.end());
    EXPECT_EQ(s.substr(0, 5), std::string("ID3\x03\0", 5));
    const size_t tpe1 = s.find("TPE1");
    ASSERT_NE(tpe1, std::string::npos);
    EXPECT_EQ(s.substr(tpe1, 19), std::string("TPE1\0\0\0\x09\0\0\0Mp3 Band", 19));
    EXPECT_EQ(s.substr(s.size() - 128, 11), "TAGMp3 Song");
    EXPECT_EQ(static_cast<uint8_t>(s[s.size() - 1]), 13) << "Pop is genre 13";

    const std::string other = work_copy("sine440.mp3", "other.mp3");
    ASSERT_TRUE(dll.setinfoto(other.c_str(), tags("Other", "B", 2, "Rock")) & 0xFF);
    EXPECT_EQ(text(dll.quick(other).title), "Other");
    SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(unchanged_after(other, [&] {
        EXPECT_FALSE(dll.setinfoto(other.c_str(), tags("X", "Y", 1, "Rock")) & 0xFF);
    }));
    SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Plays a file from near its end: it must end (or refuse to start) quickly.
void plays_to_an_end_or_refuses(DecoderDll& dll, const std::string& path) {
    dll.bind(path);
    if (!(dll.setmode(MODE_PLAY, 0) & 0xFF)) {
        EXPECT_EQ(dll.state(), STATE_STOPPED);
        return;
    }
    dll.setmode(MODE_SEEK, std::max(0, dll.length() - 44100 / 4));
    const double t0 = now_ms();
    while (dll.state() == STATE_PLAYING && now_ms() - t0 < 3000) sleep_ms(10);
    EXPECT_EQ(dll.state(), STATE_ENDED) << path;
}

TEST(DamagedFiles, AnswerWhatTheyCanAndNeverHang) {
    DecoderDll wave("vl_wave.dll"), mpeg("vl_mpeg.dll");
    std::vector<uint8_t> words(5000, 'a');
    const std::string empty = work_file("empty.mp3", {});
    const std::string text_file = work_file("text.mp3", words);
    for (DecoderDll* dll : {&wave, &mpeg}) {
        for (const std::string& p : {empty, text_file, std::string(VL_WORK_DIR) + "/missing.wav"}) {
            FileInfo f = dll->quick(p);
            EXPECT_LE(f.duration, 0) << p;
            dll->bind(p);
            EXPECT_EQ(dll->setmode(MODE_PLAY, 0) & 0xFF, 0) << p;
            EXPECT_EQ(dll->state(), STATE_STOPPED);
            EXPECT_EQ(dll->length(), 0);
            EXPECT_FALSE(dll->fileinfo(&f) & 0xFF);
        }
    }

    // A WAV whose data size claims far more than the file holds.
    auto wav = read_bytes(media("sine440.wav"));
    wav[40] = 0xF0, wav[41] = 0xFF, wav[42] = 0xFF, wav[43] = 0x7F;
    const std::string lying = work_file("lying.wav", wav);
    EXPECT_EQ(wave.quick(lying).duration, 3);
    plays_to_an_end_or_refuses(wave, lying);
    EXPECT_EQ(wave.length(), 3 * 44100);
    // Cut in the middle of a frame.
    wav.resize(wav.size() / 2 + 1);
    plays_to_an_end_or_refuses(wave, work_file("cut.wav", wav));

    auto mp3 = read_bytes(media("noxing.mp3"));
    std::vector<uint8_t> cut(mp3.begin(),
                             mp3.begin() + static_cast<std::ptrdiff_t>(mp3.size() / 2 + 7));
    const std::string truncated = work_file("truncated.mp3", cut);
    EXPECT_GT(mpeg.quick(truncated).sample_rate, 0);
    plays_to_an_end_or_refuses(mpeg, truncated);
    EXPECT_NEAR(mpeg.length(), 3 * 44100 / 2, 2304);

    std::vector<uint8_t> garbage = mp3;
    std::vector<uint8_t> junk;
    for (int i = 0; i < 3000; ++i)
        junk.push_back(i % 5 == 0 ? 0xFF : static_cast<uint8_t>(0xF0 + i % 13));
    garbage.insert(garbage.begin() + static_cast<std::ptrdiff_t>(mp3.size() / 2), junk.begin(),
                   junk.end());
    const std::string gpath = work_file("garbage.mp3", garbage);
    const std::vector<int16_t> decoded = decode_left(mpeg, gpath);
    EXPECT_NEAR(static_cast<double>(decoded.size()), 3.0 * 44100, 3 * 1152);
    plays_to_an_end_or_refuses(mpeg, gpath);

    // Tags of a file that is not audio are not written.
    EXPECT_TRUE(unchanged_after(text_file, [&] {
        EXPECT_FALSE(mpeg.setinfoto(text_file.c_str(), tags("a", "b", 1, "Rock")) & 0xFF);
    }));
}

}  // namespace
