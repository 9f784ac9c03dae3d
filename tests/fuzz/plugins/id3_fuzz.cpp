// ID3v2/v1 reading; whatever is read survives a v2.3 rewrite unchanged.
#include <cstddef>
#include <cstdint>

#include "id3_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vl::Id3v2Tag tag = vl::parse_id3v2(data, size);
    vl::TagSet v1;
    bool has_v1 = size >= 128 && vl::parse_id3v1(data + size - 128, 128, v1);
    vl::merge_tags(tag, has_v1, v1);
    if (!tag.present) return 0;
    std::vector<uint8_t> again = vl::build_id3v2_3(tag.tags, tag.other_frames);
    vl::Id3v2Tag back = vl::parse_id3v2(again.data(), again.size());
    // The genre is written as its name and may read differently from a raw
    // reference such as "(12)(13)"; every other field must come back as is.
    back.tags.genre = tag.tags.genre;
    if (!back.present || !(back.tags == tag.tags)) __builtin_trap();
    return 0;
}
