// The output engine on a manual clock: position, end, pause, seek, volume and
// the sample block, without threads; and many threaded cycles.
#include <gtest/gtest.h>

#include <cmath>

#include "output_engine.h"
#include "plugin_runtime.h"
#include "test_files.h"

namespace vl {
namespace {

// A ramp whose left sample is the frame index (mod 30000) and right its negative.
class RampSource : public AudioSource {
  public:
    explicit RampSource(int64_t length, int rate = 10000) : length_(length), rate_(rate) {}
    int sample_rate() const override { return rate_; }
    int64_t length() const override { return length_; }
    int64_t seek(int64_t frame) override { return next_ = std::clamp<int64_t>(frame, 0, length_); }
    size_t read(int16_t* out, size_t max) override {
        size_t n = static_cast<size_t>(std::min<int64_t>(max, length_ - next_));
        for (size_t i = 0; i < n; ++i) {
            int16_t v = static_cast<int16_t>((next_ + static_cast<int64_t>(i)) % 30000);
            out[2 * i] = v;
            out[2 * i + 1] = static_cast<int16_t>(-v);
        }
        next_ += static_cast<int64_t>(n);
        return n;
    }

  private:
    int64_t length_;
    int rate_;
    int64_t next_ = 0;
};

struct ManualClock {
    int64_t us = 0;
    void advance_ms(int64_t ms) { us += ms * 1000; }
};

class EngineTest : public ::testing::Test {
  protected:
    ManualClock clock;
    OutputEngine engine{[this](int rate) -> std::unique_ptr<AudioSink> {
                            return std::make_unique<SilentSink>(rate, [this] { return clock.us; });
                        },
                        false};
    // Advances the clock in feeder-sized steps.
    void run_ms(int64_t ms) {
        for (int64_t t = 0; t < ms; t += 10) {
            clock.advance_ms(10);
            engine.pump();
        }
    }
};

TEST_F(EngineTest, PositionFollowsTheClockAndTheTrackEndsOnItsLastFrame) {
    EXPECT_FALSE(engine.play()) << "nothing loaded";
    engine.load(std::make_unique<RampSource>(30000));  // 3 s at 10 kHz
    ASSERT_TRUE(engine.play());
    EXPECT_EQ(engine.state(), 4);
    run_ms(1000);
    EXPECT_EQ(engine.position(), 10000);
    run_ms(1990);
    EXPECT_EQ(engine.state(), 4);
    run_ms(10);
    EXPECT_EQ(engine.state(), 3);
    EXPECT_EQ(engine.position(), 30000);
    engine.stop();
    EXPECT_EQ(engine.state(), 0);
    EXPECT_EQ(engine.position(), 0);
}

TEST_F(EngineTest, PauseHoldsTheClockAndSeekAndSkipAreClamped) {
    engine.load(std::make_unique<RampSource>(30000));
    ASSERT_TRUE(engine.play());
    run_ms(500);
    engine.pause();
    EXPECT_EQ(engine.state(), 5);
    run_ms(700);
    EXPECT_EQ(engine.position(), 5000);
    engine.resume();
    run_ms(100);
    EXPECT_EQ(engine.position(), 6000);

    engine.seek(15000);
    EXPECT_EQ(engine.position(), 15000);
    run_ms(100);
    EXPECT_EQ(engine.position(), 16000);
    engine.skip(-20000);
    EXPECT_EQ(engine.position(), 0);
    engine.seek(-5);
    EXPECT_EQ(engine.position(), 0);
    engine.skip(100000);
    EXPECT_EQ(engine.state(), 3);
    EXPECT_EQ(engine.position(), 30000);
    // Seeking after the end does nothing.
    engine.seek(100);
    EXPECT_EQ(engine.state(), 3);
}

TEST_F(EngineTest, ChannelShowsTheFramesBeingHeardWithTheVolumeApplied) {
    engine.load(std::make_unique<RampSource>(30000));
    ASSERT_TRUE(engine.play());
    run_ms(200);
    std::vector<int16_t> block(2 * 576);
    EXPECT_TRUE(engine.channel(block.data(), 576));
    EXPECT_EQ(block[0], 2000);
    EXPECT_EQ(block[1], -2000);
    EXPECT_EQ(block[2 * 575], 2575);
    EXPECT_FALSE(engine.channel(block.data(), 576)) << "same frames again";

    engine.set_volume(50);
    run_ms(600);  // beyond the queued lead
    EXPECT_TRUE(engine.channel(block.data(), 576));
    EXPECT_EQ(block[0], 8000 / 2);
    engine.set_volume(250);  // clamped to 100
    run_ms(600);
    engine.channel(block.data(), 576);
    EXPECT_EQ(block[0], 14000);

    engine.pause();
    engine.channel(block.data(), 576);
    EXPECT_FALSE(engine.channel(block.data(), 576));
    engine.stop();
    EXPECT_FALSE(engine.channel(block.data(), 576));
    EXPECT_EQ(block[0], 0);
}

TEST_F(EngineTest, HighRatesKeepTheHeardFramesInTheHistory) {
    engine.load(std::make_unique<RampSource>(3 * 768000, 768000));
    ASSERT_TRUE(engine.play());
    run_ms(1000);
    std::vector<int16_t> block(2 * 576);
    EXPECT_TRUE(engine.channel(block.data(), 576));
    EXPECT_EQ(block[0], 768000 % 30000);
    EXPECT_EQ(block[2 * 575], (768000 + 575) % 30000);
}

TEST_F(EngineTest, AnEmptyOrStarvedSourceEndsInsteadOfHanging) {
    engine.load(std::make_unique<RampSource>(0));
    ASSERT_TRUE(engine.play());
    EXPECT_EQ(engine.state(), 3);
    EXPECT_EQ(engine.position(), 0);
}

TEST(EngineThreads, AThousandCyclesOnTheRealClock) {
    OutputEngine engine(
        [](int rate) { return std::make_unique<SilentSink>(rate, steady_micro_clock()); });
    for (int i = 0; i < 1000; ++i) {
        engine.load(std::make_unique<RampSource>(44100, 44100));
        ASSERT_TRUE(engine.play());
        if (i % 100 == 0) engine.seek(22050);
        engine.state();
        engine.stop();
    }
    engine.load(nullptr);
    EXPECT_EQ(engine.state(), 0);
}

TEST(Runtime, CommandsAndQueriesThroughTheInterfaceCodes) {
    PluginFormat format{"*.x;", "X", "X decoder", "x", nullptr, nullptr, nullptr, nullptr};
    format.open_source = [](const std::string& p) -> std::unique_ptr<AudioSource> {
        if (p != "good") return nullptr;
        return std::make_unique<RampSource>(44100, 44100);
    };
    std::string shown;
    PluginRuntime rt(
        format, [](int rate) { return std::make_unique<SilentSink>(rate, steady_micro_clock()); });
    rt.message_box = [&](const std::string&, const std::string& text) { shown = text; };
    DecoderInfo info{};
    rt.info(&info);
    EXPECT_EQ(info.kind, 1);
    EXPECT_EQ(info.subkind, 0);
    EXPECT_STREQ(info.extensions, "*.x;");

    rt.open("bad");
    EXPECT_EQ(rt.setmode(MODE_PLAY, 0), 0);
    EXPECT_EQ(rt.getmode(QUERY_STATE), 0);
    rt.open("good");
    EXPECT_EQ(rt.getmode(QUERY_LENGTH), 44100);
    EXPECT_EQ(rt.setmode(MODE_PLAY, 0), 1);
    EXPECT_EQ(rt.getmode(QUERY_STATE), 4);
    rt.setmode(MODE_OPTIONS, 0);
    EXPECT_NE(shown.find("X decoder"), std::string::npos);
    uint8_t a, b, c, fresh = 7;
    rt.channel(576, nullptr, &a, &b, &c, &fresh);  // no buffer: nothing written, no crash
    EXPECT_EQ(fresh, 0);
    rt.initializate(INIT_STOP, 0);
    EXPECT_EQ(rt.getmode(QUERY_STATE), 0);
    rt.initializate(INIT_RELEASE, 0);
    EXPECT_EQ(rt.getmode(QUERY_LENGTH), 0);
    EXPECT_EQ(rt.getmode(99), 0);
    FileInfo f{};
    EXPECT_FALSE(rt.fileinfo(&f)) << "no describe function, nothing open";
    EXPECT_EQ(f.file_size, -1);
}

// The player asks for the open file's record on every display tick: the
// file is read again only once it has been rewritten, or its texts were lent
// to another file in between.
TEST(Runtime, TheOpenFilesRecordIsReadAgainOnlyWhenTheFileChanges) {
    int reads = 0;
    PluginFormat format{"*.x;", "X", "X decoder", "x", nullptr, nullptr, nullptr, nullptr};
    format.describe = [&](const std::string& path, FileInfo& info, InfoTexts& texts) {
        ++reads;
        info.file_size = static_cast<int32_t>(test::read_file(path).size());
        info.format = texts.keep(path);
        return true;
    };
    PluginRuntime rt(
        format, [](int rate) { return std::make_unique<SilentSink>(rate, steady_micro_clock()); });
    const std::string path = test::temp_file("kept.x", {1, 2, 3});
    rt.open(path.c_str());
    FileInfo f{};
    ASSERT_TRUE(rt.fileinfo(&f));
    ASSERT_TRUE(rt.fileinfo(&f));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(f.file_size, 3);
    test::temp_file("kept.x", {1, 2, 3, 4, 5});
    ASSERT_TRUE(rt.fileinfo(&f));
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(f.file_size, 5);
    const std::string other = test::temp_file("other.x", {1});
    rt.quickinfo(other.c_str(), &f);
    ASSERT_TRUE(rt.fileinfo(&f));
    EXPECT_EQ(reads, 4);
    EXPECT_EQ(std::string(f.format), path);
}

}  // namespace
}  // namespace vl
