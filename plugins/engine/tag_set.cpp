#include "tag_set.h"

namespace vl {

bool TagSet::empty() const {
    return title.empty() && artist.empty() && album.empty() && comment.empty() && year.empty() &&
           genre.empty() && track <= 0;
}

TagSet tags_from_info(const FileInfo& info) {
    auto text = [](const char* s) { return s ? std::string(s) : std::string(); };
    TagSet t;
    t.title = text(info.title);
    t.artist = text(info.artist);
    t.album = text(info.album);
    t.comment = text(info.comment);
    t.year = text(info.year);
    t.genre = text(info.genre);
    t.track = info.track > 0 ? info.track : 0;
    return t;
}

const char* InfoTexts::keep(std::string text) {
    texts_.push_back(std::move(text));
    return texts_.back().c_str();
}

void InfoTexts::put_tags(FileInfo& info, const TagSet& tags) {
    info.title = keep(tags.title);
    info.artist = keep(tags.artist);
    info.album = keep(tags.album);
    info.comment = keep(tags.comment);
    info.year = keep(tags.year);
    info.genre = keep(tags.genre);
    info.track = tags.track;
}

FileInfo blank_info(InfoTexts& texts) {
    FileInfo f{};
    f.file_size = f.duration = f.sample_rate = f.bitrate = f.frames = f.frame_size = -1;
    f.bits_per_sample = f.channels = f.padding_size = -1;
    f.copyright_flag = f.original_flag = f.crc = f.private_bit = f.padding_flag = -1;
    const char* none = texts.keep("");
    f.channel_mode = f.ext_channel_mode = f.format = f.emphasis = none;
    f.title = f.artist = f.album = f.comment = f.year = f.genre = none;
    f.track = 0;
    return f;
}

std::string trim_right(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

}  // namespace vl
