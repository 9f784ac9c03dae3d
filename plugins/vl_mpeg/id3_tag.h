// ID3 tags: v2.2, v2.3 and v2.4 and v1/v1.1 read; v2.3 and v1.1 written.
// Texts are exchanged in the ANSI code page: Unicode frames are converted to
// it, and text outside ASCII is written as UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tag_set.h"

namespace vl {

struct Id3v2Tag {
    bool present = false;
    int version = 0;  // 2, 3 or 4
    TagSet tags;
    std::vector<std::string> fields;  // which of the seven fields the tag holds
    // Frames we do not interpret, as v2.3 frames (header included), kept when
    // the tag is rewritten.
    std::vector<uint8_t> other_frames;
};

// data: the whole tag, header included.
Id3v2Tag parse_id3v2(const uint8_t* data, size_t size);
// data: the last 128 bytes of the file.
bool parse_id3v1(const uint8_t* data, size_t size, TagSet& tags);

// Tags merged as the player shows them: v2 fields win over v1 fields.
TagSet merge_tags(const Id3v2Tag& v2, bool has_v1, const TagSet& v1);

std::vector<uint8_t> build_id3v2_3(const TagSet& tags, const std::vector<uint8_t>& other_frames);
std::vector<uint8_t> build_id3v1(const TagSet& tags);

// The genre list (ID3v1 numbering).
const std::vector<std::string>& genre_names();
int genre_index(const std::string& name);  // -1 when not in the list
std::string genre_from_id3(const std::string& text);

}  // namespace vl
