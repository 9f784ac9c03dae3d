// The records a decoder plugin hands to the host, as the host keeps them:
// plain values and owned strings.
#pragma once

#include <cstdint>
#include <string>

// Host-side copy of the plugin's FileInfo record; strings are owned here.
struct FileInfoRec {
    int32_t file_size = 0;
    int32_t duration = 0;
    int32_t sample_rate = 0;
    int32_t bitrate = 0;
    int32_t frames = 0;
    int32_t frame_size = 0;
    int32_t bits_per_sample = 0;
    int32_t channels = 0;
    std::string channel_mode;
    std::string ext_channel_mode;
    std::string format;
    int32_t copyright_flag = 0;
    int32_t original_flag = 0;
    int32_t crc = 0;
    int32_t private_bit = 0;
    std::string emphasis;
    int32_t padding_flag = 0;
    int32_t padding_size = 0;
    std::string title;
    std::string artist;
    std::string album;
    int32_t track = 0;
    std::string comment;
    std::string year;
    std::string genre;

    bool operator==(const FileInfoRec&) const = default;
};

struct DecoderInfoRec {
    int32_t kind = 0;
    int32_t subkind = 0;
    std::string extensions;
    std::string filter_description;
    std::string display_name;
};
