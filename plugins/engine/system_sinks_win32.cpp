#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstring>
#include <vector>

#include "system_sinks.h"

namespace vl {

namespace {

// waveOut with a fixed pool of buffers; the engine never queues more than a
// fraction of the pool, so a write always finds a free one.
class WaveOutSink : public AudioSink {
  public:
    ~WaveOutSink() override {
        if (!device_) return;
        waveOutReset(device_);
        for (auto& b : blocks_)
            if (b.header.dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
        waveOutClose(device_);
    }

    bool open(int rate) {
        WAVEFORMATEX fmt{};
        fmt.wFormatTag = WAVE_FORMAT_PCM;
        fmt.nChannels = 2;
        fmt.nSamplesPerSec = static_cast<DWORD>(rate);
        fmt.wBitsPerSample = 16;
        fmt.nBlockAlign = 4;
        fmt.nAvgBytesPerSec = fmt.nSamplesPerSec * 4;
        if (waveOutOpen(&device_, WAVE_MAPPER, &fmt, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            device_ = nullptr;
            return false;
        }
        return true;
    }

    void write(const int16_t* stereo, size_t frames) override {
        while (frames > 0) {
            Block* free_block = nullptr;
            for (auto& b : blocks_)
                if (!(b.header.dwFlags & WHDR_PREPARED) || (b.header.dwFlags & WHDR_DONE)) {
                    free_block = &b;
                    break;
                }
            if (!free_block) return;  // cannot happen with the engine's short queue
            Block& b = *free_block;
            if (b.header.dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
            size_t n = std::min(frames, kBlockFrames);
            b.data.assign(stereo, stereo + 2 * n);
            std::memset(&b.header, 0, sizeof(WAVEHDR));
            b.header.lpData = reinterpret_cast<LPSTR>(b.data.data());
            b.header.dwBufferLength = static_cast<DWORD>(n * 4);
            waveOutPrepareHeader(device_, &b.header, sizeof(WAVEHDR));
            waveOutWrite(device_, &b.header, sizeof(WAVEHDR));
            stereo += 2 * n;
            frames -= n;
        }
    }

    int64_t played() override {
        MMTIME t{};
        t.wType = TIME_BYTES;
        if (waveOutGetPosition(device_, &t, sizeof(t)) != MMSYSERR_NOERROR) return played_;
        // The device counts in 32 bits: follow its wrap-around.
        uint32_t bytes = t.wType == TIME_BYTES ? t.u.cb : t.u.sample * 4;
        played_bytes_ += static_cast<uint32_t>(bytes - last_bytes_);
        last_bytes_ = bytes;
        played_ = static_cast<int64_t>(played_bytes_ / 4);
        return played_;
    }

    void pause(bool on) override {
        paused_ = on;
        if (on)
            waveOutPause(device_);
        else
            waveOutRestart(device_);
    }

    void reset() override {
        waveOutReset(device_);
        if (paused_) waveOutPause(device_);
        played_bytes_ = 0;
        last_bytes_ = 0;
        played_ = 0;
    }

  private:
    static constexpr size_t kBlockFrames = 8192;
    struct Block {
        WAVEHDR header{};
        std::vector<int16_t> data;
    };
    HWAVEOUT device_ = nullptr;
    std::array<Block, 40> blocks_{};  // more than the longest lead
    uint64_t played_bytes_ = 0;
    uint32_t last_bytes_ = 0;
    int64_t played_ = 0;
    bool paused_ = false;
};

}  // namespace

SinkFactory system_sinks() {
    return [](int rate) -> std::unique_ptr<AudioSink> {
        if (waveOutGetNumDevs() > 0) {
            auto device = std::make_unique<WaveOutSink>();
            if (device->open(rate)) return device;
        }
        return std::make_unique<SilentSink>(rate, steady_micro_clock());
    };
}

}  // namespace vl
