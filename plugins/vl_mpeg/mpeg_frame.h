// MPEG audio frame headers, the Xing/Info/VBRI header of the first frame, and
// the frame scan of a whole file (tags skipped, garbage between frames
// stepped over).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_source.h"

namespace vl {

struct MpegHeader {
    int version = 0;   // 10 = MPEG-1, 20 = MPEG-2, 25 = MPEG-2.5
    int layer = 0;     // 1..3
    bool crc = false;  // protected by a CRC
    int bitrate = 0;   // kbit/s
    int rate = 0;      // Hz
    bool padding = false;
    bool private_bit = false;
    int mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int mode_ext = 0;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;
    int frame_size = 0;  // bytes, header included
    int samples = 0;     // per frame
    int channels() const { return mode == 3 ? 1 : 2; }
    // Same stream: the fields that never change between frames.
    bool compatible(const MpegHeader& o) const {
        return version == o.version && layer == o.layer && rate == o.rate &&
               channels() == o.channels();
    }
};

// False for anything that is not a valid header (free format included).
bool parse_mpeg_header(const uint8_t* p, MpegHeader& h);

struct VbrHeader {
    enum class Kind { None, Xing, Info, Vbri };
    Kind kind = Kind::None;
    int64_t frames = -1;  // audio frames, the header frame not counted
    int64_t bytes = -1;
    bool has_toc = false;
    uint8_t toc[100] = {};
    int encoder_delay = -1;  // from the LAME extension
    int encoder_padding = -1;
};

// Looks for a Xing/Info or VBRI header in the bytes of one frame.
VbrHeader parse_vbr_header(const uint8_t* frame, size_t size, const MpegHeader& h);

struct MpegStream {
    bool ok = false;
    std::string error;
    int64_t file_size = 0;
    int64_t tag_end = 0;            // end of the leading ID3v2 tag(s)
    int64_t audio_end = 0;          // start of the trailing ID3v1 tag, or the file size
    int64_t first_frame = -1;       // offset of the first frame (maybe the VBR header frame)
    MpegHeader first;               // its header
    VbrHeader vbr;                  // found in the first frame
    std::vector<int64_t> frames;    // offsets of the audio frames (full scan only)
    int64_t frame_bytes = 0;        // bytes in those frames
    bool variable_bitrate = false;  // their bit rates differ (full scan only)
    int garbage_runs = 0;           // places where the scan had to resynchronise
};

// full = false stops after the first frame (quick information).
MpegStream scan_mpeg(ByteSource& src, bool full);

// Size of an ID3v2 tag starting at p (10 bytes at least), or 0.
int64_t id3v2_tag_size(const uint8_t* p, size_t n);

}  // namespace vl
