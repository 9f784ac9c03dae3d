// vl_mpeg: MPEG audio Layer III information and ID3 tags. Decoding is done by
// the system's ACM codec (Windows only): the opener is passed in.
#pragma once

#include <memory>
#include <string>

#include "audio_io.h"
#include "byte_source.h"
#include "id3_tag.h"
#include "mpeg_frame.h"
#include "plugin_runtime.h"

namespace vl {

struct MpegTags {
    Id3v2Tag v2;
    bool has_v1 = false;
    TagSet v1;
    int64_t v2_size = 0;  // bytes of the leading tag as declared
    TagSet merged() const { return merge_tags(v2, has_v1, v1); }
};

MpegTags read_mpeg_tags(ByteSource& src);

// Samples of the whole stream after encoder delay and padding are cut.
int64_t mpeg_total_samples(const MpegStream& s, int64_t frame_count);

bool describe_mpeg(const std::string& path, FileInfo& info, InfoTexts& texts);
bool write_mpeg_tags(const std::string& path, const TagSet& tags);
bool has_mpeg_signature(const std::string& path);
// Writes the rebuilt file: new ID3v2.3 tag, the audio as it was, new ID3v1.
bool write_mpeg_with_tags(ByteSource& src, const TagSet& tags, FileWriter& out);

using SourceOpener = std::function<std::unique_ptr<AudioSource>(const std::string&)>;
PluginFormat mpeg_plugin_format(SourceOpener opener);

}  // namespace vl
