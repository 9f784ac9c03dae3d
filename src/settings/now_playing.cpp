#include "settings/now_playing.h"

#include "base/text.h"

namespace {

// The template an event writes to one file, or null.
const std::string* template_for(NowPlaying event, const NowPlayingFileSettings& f) {
    if (!f.np_create) return nullptr;
    switch (event) {
        case NowPlaying::Started:
            return f.np_dynamic_write ? nullptr : &f.np_playing;
        case NowPlaying::PlayingTick:
            return f.np_dynamic_write ? &f.np_playing : nullptr;
        case NowPlaying::Resumed:
            return &f.np_playing;
        case NowPlaying::Paused:
            return &f.np_paused;
        case NowPlaying::Stopped:
            return &f.np_stopped;
        case NowPlaying::Closed:
            return &f.np_closed;
    }
    return nullptr;
}

}  // namespace

void NowPlayingFiles::on(NowPlaying event) {
    if (const std::string* tpl = template_for(event, dos_)) write_np_dos(*tpl);
    if (const std::string* tpl = template_for(event, win_)) write_np_win(*tpl);
}

void NowPlayingFiles::write_np_dos(const std::string& tpl) {
    if (dos_.np_file.empty()) return;
    write(dos_.np_file, output_.to_oem(expandinfo_(tpl)));
}

void NowPlayingFiles::write_np_win(const std::string& tpl) {
    if (win_.np_file.empty()) return;
    write(win_.np_file, expandinfo_(tpl));
}

void NowPlayingFiles::write(const std::string& path, const std::string& bytes) {
    const std::string key = upper_text(path);
    auto last = written_.find(key);
    if (last != written_.end() && last->second == bytes) return;
    if (output_.write_file(path, bytes))
        written_[key] = bytes;
    else if (last != written_.end())
        written_.erase(last);
}
