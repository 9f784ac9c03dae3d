// Plays an AudioSource on an AudioSink: a feeding thread keeps a short queue
// filled, and the commands and queries of the plugin interface are answered
// from the sink's count of frames heard. All methods are safe to call from
// any thread while the feeder runs.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio_io.h"

namespace vl {

class OutputEngine {
  public:
    // threaded = false: nothing runs by itself; call pump() (for tests).
    OutputEngine(SinkFactory sinks, bool threaded = true);
    ~OutputEngine();
    OutputEngine(const OutputEngine&) = delete;
    OutputEngine& operator=(const OutputEngine&) = delete;

    // Stops and takes the new source (nullptr: nothing loaded).
    void load(std::unique_ptr<AudioSource> source);
    bool loaded();

    bool play();  // from the start; false when nothing can be played
    void stop();
    void pause();
    void resume();
    void seek(int64_t frame);  // clamped to the file
    void skip(int64_t delta);  // relative, clamped to the file
    void set_volume(int percent);

    int64_t length();
    int64_t position();
    int state();
    // Copies up to count frames being heard now; true when they changed since
    // the last call.
    bool channel(int16_t* stereo, int count);

    // One feeding step: decodes until the queue holds the lead time.
    void pump();

    static constexpr int kLeadMs = 400;
    static constexpr size_t kChunkFrames = 2048;
    // The frames queued must stay in the history: the lead is capped by it.
    static constexpr size_t kHistoryFrames = size_t{1} << 18;

  private:
    void pump_locked();
    void check_end_locked();
    void restart_at_locked(int64_t frame);
    void stop_thread();
    int64_t played_locked();

    SinkFactory sinks_;
    bool threaded_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread feeder_;
    bool quit_ = false;

    std::unique_ptr<AudioSource> source_;
    std::unique_ptr<AudioSink> sink_;
    int state_ = 0;
    int volume_ = 100;
    int64_t base_ = 0;     // file frame at the sink's frame 0
    int64_t written_ = 0;  // frames queued since base_
    bool eof_ = false;
    int64_t last_block_ = -1;
    std::vector<int16_t> history_;  // ring of the last frames written, by written index
    std::vector<int16_t> chunk_;
};

}  // namespace vl
