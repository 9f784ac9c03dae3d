#include "output_engine.h"

#include <algorithm>
#include <chrono>

#include "plugins/vl_decoder.h"

namespace vl {

OutputEngine::OutputEngine(SinkFactory sinks, bool threaded)
    : sinks_(std::move(sinks)),
      threaded_(threaded),
      history_(kHistoryFrames * 2),
      chunk_(kChunkFrames * 2) {}

OutputEngine::~OutputEngine() {
    stop();
    stop_thread();
}

void OutputEngine::stop_thread() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (feeder_.joinable()) feeder_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = false;
}

void OutputEngine::load(std::unique_ptr<AudioSource> source) {
    stop();
    stop_thread();
    std::lock_guard<std::mutex> lock(mutex_);
    source_ = std::move(source);
}

bool OutputEngine::loaded() {
    std::lock_guard<std::mutex> lock(mutex_);
    return source_ != nullptr;
}

bool OutputEngine::play() {
    stop();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!source_ || source_->sample_rate() <= 0) return false;
        source_->seek(0);
        sink_ = sinks_ ? sinks_(source_->sample_rate()) : nullptr;
        if (!sink_) return false;
        state_ = STATE_PLAYING;
        base_ = written_ = 0;
        eof_ = false;
        last_block_ = -1;
        pump_locked();
    }
    wake_.notify_all();
    // One feeder per loaded file: it sleeps while nothing plays, so play and
    // stop cost no thread start.
    if (threaded_ && !feeder_.joinable()) {
        feeder_ = std::thread([this] {
            std::unique_lock<std::mutex> lock(mutex_);
            while (!quit_) {
                pump_locked();
                if (state_ == STATE_PLAYING)
                    wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return quit_; });
                else
                    wake_.wait(lock, [this] { return quit_ || state_ == STATE_PLAYING; });
            }
        });
    }
    return true;
}

void OutputEngine::stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (sink_) sink_->reset();
    sink_.reset();
    state_ = STATE_STOPPED;
    base_ = written_ = 0;
    eof_ = false;
}

void OutputEngine::pause() {
    std::lock_guard<std::mutex> lock(mutex_);
    check_end_locked();
    if (state_ != STATE_PLAYING) return;
    sink_->pause(true);
    state_ = STATE_PAUSED;
}

void OutputEngine::resume() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != STATE_PAUSED) return;
    sink_->pause(false);
    state_ = STATE_PLAYING;
    pump_locked();
    wake_.notify_all();
}

void OutputEngine::restart_at_locked(int64_t frame) {
    int64_t len = source_->length();
    frame = std::clamp<int64_t>(frame, 0, std::max<int64_t>(len, 0));
    int64_t reached = source_->seek(frame);
    sink_->reset();
    base_ = std::max<int64_t>(reached, 0);
    written_ = 0;
    eof_ = false;
    last_block_ = -1;
    if (state_ == STATE_PLAYING) pump_locked();
}

void OutputEngine::seek(int64_t frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    check_end_locked();
    if (state_ != STATE_PLAYING && state_ != STATE_PAUSED) return;
    restart_at_locked(frame);
}

void OutputEngine::skip(int64_t delta) {
    std::lock_guard<std::mutex> lock(mutex_);
    check_end_locked();
    if (state_ != STATE_PLAYING && state_ != STATE_PAUSED) return;
    restart_at_locked(base_ + played_locked() + delta);
}

void OutputEngine::set_volume(int percent) {
    std::lock_guard<std::mutex> lock(mutex_);
    volume_ = std::clamp(percent, 0, 100);
}

int64_t OutputEngine::length() {
    std::lock_guard<std::mutex> lock(mutex_);
    return source_ ? std::max<int64_t>(source_->length(), 0) : 0;
}

int64_t OutputEngine::played_locked() {
    return sink_ ? sink_->played() : 0;
}

int64_t OutputEngine::position() {
    std::lock_guard<std::mutex> lock(mutex_);
    check_end_locked();
    int64_t pos = 0;
    if (state_ == STATE_PLAYING || state_ == STATE_PAUSED)
        pos = base_ + played_locked();
    else if (state_ == STATE_ENDED)
        pos = base_;
    int64_t len = source_ ? source_->length() : 0;
    return len > 0 ? std::min(pos, len) : pos;
}

int OutputEngine::state() {
    std::lock_guard<std::mutex> lock(mutex_);
    check_end_locked();
    return state_;
}

void OutputEngine::check_end_locked() {
    if (state_ != STATE_PLAYING || !eof_ || played_locked() < written_) return;
    state_ = STATE_ENDED;
    base_ += written_;
    written_ = 0;
    sink_.reset();  // releases the device
}

bool OutputEngine::channel(int16_t* stereo, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    check_end_locked();
    if (count <= 0 || !stereo) return false;
    std::fill(stereo, stereo + 2 * static_cast<size_t>(count), int16_t{0});
    if ((state_ != STATE_PLAYING && state_ != STATE_PAUSED) || !sink_) return false;
    const int64_t p = played_locked();
    const int64_t oldest = std::max<int64_t>(0, written_ - static_cast<int64_t>(kHistoryFrames));
    for (int i = 0; i < count; ++i) {
        int64_t w = p + i;
        if (w < oldest || w >= written_) continue;
        size_t slot = static_cast<size_t>(w % static_cast<int64_t>(kHistoryFrames)) * 2;
        stereo[2 * i] = history_[slot];
        stereo[2 * i + 1] = history_[slot + 1];
    }
    bool fresh = state_ == STATE_PLAYING && p != last_block_;
    last_block_ = p;
    return fresh;
}

void OutputEngine::pump() {
    std::lock_guard<std::mutex> lock(mutex_);
    pump_locked();
}

void OutputEngine::pump_locked() {
    if (state_ != STATE_PLAYING || !sink_ || !source_) return;
    const int64_t lead =
        std::min<int64_t>(static_cast<int64_t>(source_->sample_rate()) * kLeadMs / 1000,
                          static_cast<int64_t>(kHistoryFrames - 2 * kChunkFrames - 4096));
    const int64_t played = sink_->played();
    while (!eof_ && written_ - played < lead) {
        size_t n = 0;
        try {
            n = source_->read(chunk_.data(), kChunkFrames);
        } catch (...) {
            n = 0;  // a decoder failure ends the track
        }
        if (n == 0) {
            eof_ = true;
            break;
        }
        n = std::min(n, kChunkFrames);
        for (size_t i = 0; i < 2 * n; ++i) {
            int16_t s = static_cast<int16_t>(chunk_[i] * volume_ / 100);
            chunk_[i] = s;
            size_t slot =
                static_cast<size_t>((written_ + static_cast<int64_t>(i / 2)) % kHistoryFrames) * 2 +
                i % 2;
            history_[slot] = s;
        }
        sink_->write(chunk_.data(), n);
        written_ += static_cast<int64_t>(n);
    }
    check_end_locked();
}

}  // namespace vl
