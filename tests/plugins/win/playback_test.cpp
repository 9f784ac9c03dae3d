// Both plugins played through the interface on the silent clock (waveOut
// cannot open a device here).
#include <gtest/gtest.h>

#include "decoder_dll.h"

namespace {

struct Case {
    const char* dll;
    const char* file;
};

class Playback : public ::testing::TestWithParam<Case> {};

constexpr int kRate = 44100;
constexpr int kThreeSeconds = 3 * kRate;

TEST_P(Playback, PlaysThreeSecondsInRealTimeWithSamplesAndVolume) {
    DecoderDll dll(GetParam().dll);
    ASSERT_TRUE(dll.loaded());
    dll.bind(media(GetParam().file));
    const double t0 = now_ms();
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    EXPECT_NEAR(dll.length(), kThreeSeconds, 1152);

    std::vector<int16_t> b;
    int last = -1, full = 0;
    bool sampled = false, halved = false;
    double ended = -1;
    while (now_ms() - t0 < 4500) {
        const int st = dll.state();
        if (st == STATE_ENDED) {
            ended = now_ms() - t0;
            break;
        }
        ASSERT_EQ(st, STATE_PLAYING);
        const int pos = dll.position();
        EXPECT_GE(pos, last);
        last = pos;
        const double t = now_ms() - t0;
        if (!sampled && t > 500) {
            EXPECT_TRUE(dll.block(b));
            // A 440 Hz sine crosses zero 2 * 440 * 576 / 44100 = 11.5 times per block.
            EXPECT_NEAR(zero_crossings(b, 0), 11.5, 1.6);
            EXPECT_NEAR(zero_crossings(b, 1), 11.5, 1.6);
            full = peak(b);
            EXPECT_GT(full, 12000);
            dll.setmode(MODE_VOLUME, 50);
            sampled = true;
        }
        if (!halved && t > 1300) {
            dll.block(b);
            EXPECT_NEAR(peak(b), full / 2, full / 12);
            halved = true;
        }
        sleep_ms(15);
    }
    EXPECT_TRUE(halved);
    EXPECT_NEAR(ended, 3000, 300);
    EXPECT_EQ(dll.position(), dll.length());
    EXPECT_FALSE(dll.block(b));
    EXPECT_EQ(peak(b), 0);
    dll.setmode(MODE_VOLUME, 100);
}

TEST_P(Playback, SeekPauseSkipAndStop) {
    DecoderDll dll(GetParam().dll);
    dll.bind(media(GetParam().file));
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    sleep_ms(100);
    const int len = dll.length();
    dll.setmode(MODE_SEEK, len / 2);
    EXPECT_NEAR(dll.position(), len / 2, kRate / 20);

    dll.setmode(MODE_PAUSE, 0);
    EXPECT_EQ(dll.state(), STATE_PAUSED);
    const int held = dll.position();
    std::vector<int16_t> b;
    dll.block(b);
    sleep_ms(300);
    EXPECT_EQ(dll.position(), held);
    EXPECT_FALSE(dll.block(b)) << "nothing new while paused";

    dll.setmode(MODE_RESUME, 0);
    EXPECT_EQ(dll.state(), STATE_PLAYING);
    sleep_ms(200);
    const int moved = dll.position();
    EXPECT_NEAR(moved - held, kRate / 5, kRate / 10);

    dll.setmode(MODE_REWIND, kRate);
    EXPECT_NEAR(dll.position(), moved - kRate, kRate / 20);
    dll.setmode(MODE_REWIND, 10 * kRate);  // clamped to the start
    EXPECT_LT(dll.position(), kRate / 20);
    dll.setmode(MODE_FORWARD, 10 * kRate);  // clamped to the end
    const double t0 = now_ms();
    while (dll.state() == STATE_PLAYING && now_ms() - t0 < 1000) sleep_ms(10);
    EXPECT_EQ(dll.state(), STATE_ENDED);
    EXPECT_EQ(dll.position(), len);

    dll.setmode(MODE_STOP, 0);
    EXPECT_EQ(dll.state(), STATE_STOPPED);
    EXPECT_EQ(dll.position(), 0);
    // Playing again starts from the beginning.
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    EXPECT_LT(dll.position(), kRate / 5);
    dll.setmode(MODE_STOP, 0);
}

TEST_P(Playback, ReleaseCodesStopOutputAndLetGoOfTheFile) {
    DecoderDll dll(GetParam().dll);
    const std::string path = work_copy(GetParam().file, std::string("release_") + GetParam().file);
    dll.bind(path);
    ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1);
    dll.initializate(INIT_STOP, 0);
    EXPECT_EQ(dll.state(), STATE_STOPPED);
    dll.initializate(INIT_RELEASE, 0);
    EXPECT_EQ(dll.length(), 0);
    EXPECT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 0);
    // The file is no longer held open.
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_P(Playback, ManyOpenPlayStopCyclesLeaveNoThreads) {
    DecoderDll dll(GetParam().dll);
    const std::string path = media(GetParam().file);
    dll.bind(path);
    dll.setmode(MODE_PLAY, 0);
    dll.setmode(MODE_STOP, 0);
    const int threads = thread_count();
    for (int i = 0; i < 200; ++i) {  // a thousand run on the host engine
        dll.bind(path);
        ASSERT_EQ(dll.setmode(MODE_PLAY, 0) & 0xFF, 1) << i;
        if (i % 20 == 0) dll.setmode(MODE_SEEK, dll.length() / 2);
        dll.state();
        dll.setmode(MODE_STOP, 0);
    }
    EXPECT_EQ(thread_count(), threads);
    EXPECT_EQ(dll.state(), STATE_STOPPED);
}

INSTANTIATE_TEST_SUITE_P(Plugins, Playback,
                         ::testing::Values(Case{"vl_wave.dll", "sine440.wav"},
                                           Case{"vl_mpeg.dll", "sine440.mp3"}),
                         [](const auto& info) { return std::string(info.param.dll).substr(3, 4); });

}  // namespace
