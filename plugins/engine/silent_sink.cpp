#include <algorithm>
#include <chrono>

#include "audio_io.h"

namespace vl {

MicroClock steady_micro_clock() {
    return [] {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

SilentSink::SilentSink(int rate, MicroClock clock)
    : rate_(rate > 0 ? rate : 44100), clock_(std::move(clock)), anchor_time_(clock_()) {}

void SilentSink::write(const int16_t*, size_t frames) {
    // After an underrun the clock waits for the new audio instead of jumping.
    if (!paused_ && played() >= written_) {
        anchor_frames_ = written_;
        anchor_time_ = clock_();
    }
    written_ += static_cast<int64_t>(frames);
}

int64_t SilentSink::played() {
    if (paused_) return anchor_frames_;
    int64_t elapsed = std::max<int64_t>(0, clock_() - anchor_time_);
    return std::min(written_, anchor_frames_ + elapsed * rate_ / 1000000);
}

void SilentSink::pause(bool on) {
    if (on == paused_) return;
    if (on) anchor_frames_ = played();
    anchor_time_ = clock_();
    paused_ = on;
}

void SilentSink::reset() {
    written_ = 0;
    anchor_frames_ = 0;
    anchor_time_ = clock_();
}

}  // namespace vl
