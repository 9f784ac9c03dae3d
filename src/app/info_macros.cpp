#include "app/info_macros.h"

#include <cstdio>
#include <cstdlib>

#include "base/paths.h"
#include "playlist/list_files.h"

namespace {

std::string two_digits(int64_t n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string timestr(int64_t ms) {
    const int64_t s = ms / 1000;
    const int64_t h = s / 3600;
    const int64_t m = s / 60 - 60 * h;
    const int64_t sec = s - 60 * m - 3600 * h;
    return two_digits(h) + ":" + two_digits(m) + ":" + two_digits(sec);
}

std::string shorttimestr(int64_t s) {
    if (s < 3600) return std::to_string(s / 60) + ":" + two_digits(s % 60);
    const int64_t h = s / 3600;
    const int64_t m = s / 60 - 60 * h;
    const int64_t sec = s - 3600 * h - 60 * m;
    return std::to_string(h) + ":" + two_digits(m) + ":" + two_digits(sec);
}

std::string apply_macros(std::string text,
                         const std::vector<std::pair<const char*, std::string>>& table) {
    for (const auto& [code, value] : table) {
        const size_t at = text.find(code);
        if (at != std::string::npos) text.replace(at, 3, value);
    }
    return text;
}

std::string expand_track_info(const std::string& tpl, const TrackValues& v) {
    if (v.info == TrackValues::Info::NoPlugin) return kReadyToLoad;
    if (v.info == TrackValues::Info::NotLoaded) return kFileNotLoaded;
    const FileInfoRec& fi = v.file_info;
    const char* channels = fi.channels == 1 ? "Mono" : fi.channels == 2 ? "Stereo" : "";
    return apply_macros(tpl, {{"%PL", kPlayerSignature},
                              {"%AR", v.artist.empty() ? kUnknownArtist : v.artist},
                              {"%TL", v.title.empty() ? kUntitled : v.title},
                              {"%AL", v.album},
                              {"%CM", fi.comment},
                              {"%GN", fi.genre},
                              {"%YR", v.year},
                              {"%FM", fi.format},
                              {"%BR", std::to_string(fi.bitrate)},
                              {"%SR", std::to_string(fi.sample_rate)},
                              {"%CT", shorttimestr(std::llabs(v.position_ms) / 1000)},
                              {"%DR", shorttimestr(std::llabs(v.length_ms) / 1000)},
                              {"%CH", channels},
                              {"%FL", file_name_of(v.path)}});
}

std::string expandlistinfo(int entry, const std::string& list_name, const std::string& tpl,
                           const std::string& working_file,
                           const std::vector<int32_t>& record_numbers,
                           const std::function<void()>& pump) {
    std::string result;
    try {
        const int n = static_cast<int>(record_numbers.size());
        if (entry < 0 || entry >= n || RecordCount(working_file) < n)
            throw ListFileError("no such entry");
        int64_t total = 0;
        ListRecord r;
        for (int i = 1; i <= n; ++i) {
            ReadRecord(i, working_file, r);
            total += r.duration;
        }
        ReadRecord(record_numbers[static_cast<size_t>(entry)], working_file, r);
        result = apply_macros(tpl, {{"%LN", list_name},
                                    {"%PL", kPlayerSignature},
                                    {"%AR", r.artist},
                                    {"%TL", r.title},
                                    {"%AL", r.album},
                                    {"%TR", std::to_string(r.track)},
                                    {"%YR", r.year},
                                    {"%FM", r.format},
                                    {"%DR", shorttimestr(r.duration)},
                                    {"%FL", file_name_of(r.path)},
                                    {"%FP", r.path},
                                    {"%SC", std::to_string(n)},
                                    {"%ST", timestr(total * 1000)}});
    } catch (...) {
        result = kListInfoError;
    }
    if (pump) pump();
    return result;
}

ListInfoExpander::ListInfoExpander(const std::string& working_file,
                                   std::vector<int32_t> record_numbers, std::string list_name)
    : numbers_(std::move(record_numbers)), list_name_(std::move(list_name)) {
    records_ = ReadAllRecords(working_file);
    const size_t n = numbers_.size();
    complete_ = records_.size() >= n;
    int64_t total = 0;
    // The total covers the first n records of the file, as expandlistinfo counts it.
    for (size_t i = 0; complete_ && i < n; ++i) total += records_[i].duration;
    count_text_ = std::to_string(n);
    total_text_ = timestr(total * 1000);
}

std::string ListInfoExpander::expand(int entry, const std::string& tpl) const {
    if (!complete_ || entry < 0 || static_cast<size_t>(entry) >= numbers_.size())
        return kListInfoError;
    const int32_t number = numbers_[static_cast<size_t>(entry)];
    if (number < 1 || static_cast<size_t>(number) > records_.size()) return kListInfoError;
    const ListRecord& r = records_[static_cast<size_t>(number - 1)];
    return apply_macros(tpl, {{"%LN", list_name_},
                              {"%PL", kPlayerSignature},
                              {"%AR", r.artist},
                              {"%TL", r.title},
                              {"%AL", r.album},
                              {"%TR", std::to_string(r.track)},
                              {"%YR", r.year},
                              {"%FM", r.format},
                              {"%DR", shorttimestr(r.duration)},
                              {"%FL", file_name_of(r.path)},
                              {"%FP", r.path},
                              {"%SC", count_text_},
                              {"%ST", total_text_}});
}
