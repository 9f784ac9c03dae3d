#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "acm_source.h"
#include "byte_source.h"
#include "mpeg_frame.h"
#include "mpeg_plugin.h"

namespace vl {

namespace {

// Samples a Layer III decoder puts before the first encoded sample.
constexpr int64_t kDecoderDelay = 529;
constexpr size_t kFramesPerFeed = 8;

class AcmMp3Source : public AudioSource {
  public:
    ~AcmMp3Source() override { close_stream(); }

    bool open(const std::string& path) {
        if (!file_.open(path)) return false;
        stream_ = scan_mpeg(file_, true);
        if (!stream_.ok || stream_.first.layer != 3 || stream_.frames.empty()) return false;
        const MpegHeader& h = stream_.first;
        channels_ = h.channels();
        total_ = mpeg_total_samples(stream_, static_cast<int64_t>(stream_.frames.size()));
        lead_ = (stream_.vbr.encoder_delay >= 0 && stream_.vbr.kind != VbrHeader::Kind::Vbri
                     ? stream_.vbr.encoder_delay
                     : 0) +
                kDecoderDelay;
        return start_at(0, lead_);
    }

    int sample_rate() const override { return stream_.first.rate; }
    int64_t length() const override { return total_; }

    int64_t seek(int64_t sample) override {
        sample = std::clamp<int64_t>(sample, 0, total_);
        const int64_t spf = stream_.first.samples;
        const int64_t wanted = (sample + lead_) / spf;
        // One frame of run-in refills the bit reservoir.
        const int64_t first = std::max<int64_t>(0, wanted - 1);
        if (!start_at(static_cast<size_t>(first), sample + lead_ - first * spf)) return 0;
        position_ = sample;
        return sample;
    }

    size_t read(int16_t* stereo, size_t max_frames) override {
        size_t done = 0;
        while (done < max_frames && position_ < total_) {
            if (pcm_pos_ >= pcm_.size()) {
                if (!decode_more()) break;
                continue;
            }
            const size_t avail = (pcm_.size() - pcm_pos_) / channels_;
            if (skip_ > 0) {
                size_t k =
                    static_cast<size_t>(std::min<int64_t>(skip_, static_cast<int64_t>(avail)));
                pcm_pos_ += k * channels_;
                skip_ -= static_cast<int64_t>(k);
                continue;
            }
            size_t k =
                std::min({avail, max_frames - done, static_cast<size_t>(total_ - position_)});
            for (size_t i = 0; i < k; ++i) {
                const int16_t* s = pcm_.data() + pcm_pos_ + i * channels_;
                stereo[2 * (done + i)] = s[0];
                stereo[2 * (done + i) + 1] = channels_ == 2 ? s[1] : s[0];
            }
            pcm_pos_ += k * channels_;
            done += k;
            position_ += static_cast<int64_t>(k);
        }
        return done;
    }

  private:
    bool open_stream() {
        close_stream();
        const MpegHeader& h = stream_.first;
        MPEGLAYER3WAVEFORMAT in{};
        in.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
        in.wfx.nChannels = static_cast<WORD>(channels_);
        in.wfx.nSamplesPerSec = static_cast<DWORD>(h.rate);
        in.wfx.nAvgBytesPerSec = static_cast<DWORD>(h.bitrate * 125);
        in.wfx.nBlockAlign = 1;
        in.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
        in.wID = MPEGLAYER3_ID_MPEG;
        in.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
        in.nBlockSize = static_cast<WORD>(h.frame_size - (h.padding ? 1 : 0));
        in.nFramesPerBlock = 1;
        in.nCodecDelay = 1393;
        WAVEFORMATEX out{};
        out.wFormatTag = WAVE_FORMAT_PCM;
        out.nChannels = static_cast<WORD>(channels_);
        out.nSamplesPerSec = static_cast<DWORD>(h.rate);
        out.wBitsPerSample = 16;
        out.nBlockAlign = static_cast<WORD>(2 * channels_);
        out.nAvgBytesPerSec = out.nSamplesPerSec * out.nBlockAlign;
        if (acmStreamOpen(&acm_, nullptr, reinterpret_cast<WAVEFORMATEX*>(&in), &out, nullptr, 0, 0,
                          ACM_STREAMOPENF_NONREALTIME) != 0) {
            acm_ = nullptr;
            return false;
        }
        return true;
    }

    void close_stream() {
        if (acm_) acmStreamClose(acm_, 0);
        acm_ = nullptr;
    }

    bool start_at(size_t frame, int64_t skip) {
        next_frame_ = frame;
        skip_ = skip;
        input_.clear();
        pcm_.clear();
        pcm_pos_ = 0;
        finished_ = false;
        position_ = 0;
        return open_stream();
    }

    // Converts the next frames; false at the end of the stream.
    bool decode_more() {
        if (finished_ || !acm_) return false;
        for (size_t fed = 0; fed < kFramesPerFeed && next_frame_ < stream_.frames.size(); ++fed) {
            const int64_t off = stream_.frames[next_frame_++];
            uint8_t head[4];
            MpegHeader h;
            if (file_.read_at(off, head, 4) != 4 || !parse_mpeg_header(head, h)) break;
            const size_t at = input_.size();
            input_.resize(at + static_cast<size_t>(h.frame_size));
            if (file_.read_at(off, input_.data() + at, static_cast<size_t>(h.frame_size)) !=
                static_cast<size_t>(h.frame_size)) {
                input_.resize(at);  // the file shrank: this is the end
                next_frame_ = stream_.frames.size();
                break;
            }
        }
        const bool ending = next_frame_ >= stream_.frames.size();
        if (input_.empty()) return finished_ = true, false;
        DWORD out_bytes = 0;
        if (acmStreamSize(acm_, static_cast<DWORD>(input_.size()), &out_bytes,
                          ACM_STREAMSIZEF_SOURCE) != 0)
            out_bytes = 0;
        std::vector<uint8_t> out(std::max<size_t>(out_bytes, (kFramesPerFeed + 2) * 1152 * 4));
        ACMSTREAMHEADER hdr{};
        hdr.cbStruct = sizeof(hdr);
        hdr.pbSrc = input_.data();
        hdr.cbSrcLength = static_cast<DWORD>(input_.size());
        hdr.pbDst = out.data();
        hdr.cbDstLength = static_cast<DWORD>(out.size());
        if (acmStreamPrepareHeader(acm_, &hdr, 0) != 0) return finished_ = true, false;
        MMRESULT r = acmStreamConvert(
            acm_, &hdr, ending ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN);
        const size_t used = std::min<size_t>(hdr.cbSrcLengthUsed, input_.size());
        const size_t produced = std::min<size_t>(hdr.cbDstLengthUsed, out.size());
        acmStreamUnprepareHeader(acm_, &hdr, 0);
        if (r != 0) return finished_ = true, false;
        // Input the codec did not take is carried over to the next call.
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(used));
        pcm_.erase(pcm_.begin(), pcm_.begin() + static_cast<std::ptrdiff_t>(pcm_pos_));
        pcm_pos_ = 0;
        const size_t at = pcm_.size();
        pcm_.resize(at + produced / 2);
        std::memcpy(pcm_.data() + at, out.data(), produced / 2 * 2);
        if (ending) finished_ = true;
        return true;
    }

    FileSource file_;
    MpegStream stream_;
    HACMSTREAM acm_ = nullptr;
    int channels_ = 2;
    int64_t total_ = 0;
    int64_t lead_ = 0;      // decoded samples before the first sample of the track
    int64_t skip_ = 0;      // decoded samples still to drop
    int64_t position_ = 0;  // next sample handed out
    size_t next_frame_ = 0;
    bool finished_ = false;
    std::vector<uint8_t> input_;
    std::vector<int16_t> pcm_;
    size_t pcm_pos_ = 0;
};

}  // namespace

std::unique_ptr<AudioSource> open_acm_mp3(const std::string& path) {
    auto source = std::make_unique<AcmMp3Source>();
    if (!source->open(path)) return nullptr;
    return source;
}

}  // namespace vl
