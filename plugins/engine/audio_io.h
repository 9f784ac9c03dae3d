// What the output engine plays from (a decoder) and plays to (waveOut or the
// silent clock). Audio between them is interleaved stereo int16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vl {

class AudioSource {
  public:
    virtual ~AudioSource() = default;
    virtual int sample_rate() const = 0;
    // Total length in sample frames (a best estimate for damaged files).
    virtual int64_t length() const = 0;
    // Moves to a frame; returns the frame actually reached.
    virtual int64_t seek(int64_t frame) = 0;
    // Decodes up to max_frames stereo frames; 0 = the end.
    virtual size_t read(int16_t* stereo, size_t max_frames) = 0;
};

class AudioSink {
  public:
    virtual ~AudioSink() = default;
    // Queues frames; never blocks (the engine keeps the queue short).
    virtual void write(const int16_t* stereo, size_t frames) = 0;
    // Frames heard since opening or the last reset.
    virtual int64_t played() = 0;
    virtual void pause(bool on) = 0;
    // Drops queued audio; played() starts from 0 again.
    virtual void reset() = 0;
};

// Opens a 16-bit stereo output at the given rate; nullptr when impossible.
using SinkFactory = std::function<std::unique_ptr<AudioSink>(int rate)>;

// Microseconds from any fixed origin.
using MicroClock = std::function<int64_t()>;
MicroClock steady_micro_clock();

// Consumes audio at the sample rate without a device, so position, state and
// samples behave as with a sound card.
class SilentSink : public AudioSink {
  public:
    SilentSink(int rate, MicroClock clock);
    void write(const int16_t* stereo, size_t frames) override;
    int64_t played() override;
    void pause(bool on) override;
    void reset() override;

  private:
    int64_t rate_;
    MicroClock clock_;
    int64_t written_ = 0;
    int64_t anchor_frames_ = 0;  // played() at anchor_time_
    int64_t anchor_time_ = 0;
    bool paused_ = false;
};

}  // namespace vl
