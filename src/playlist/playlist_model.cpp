#include "playlist/playlist_model.h"

#include <algorithm>
#include <charconv>
#include <numeric>

#include "base/paths.h"

PlaylistModel::PlaylistModel(PlaylistHost& host, PlaylistPlayback& playback, TextCompare compare)
    : host_(host), playback_(playback), compare_(compare ? compare : word_sort_compare) {}

void PlaylistModel::select(int row, bool on) {
    if (row < 0 || row >= count()) return;
    if (on) {
        selected_ = row;
    } else if (selected_ == row) {
        selected_ = -1;
    } else {
        return;
    }
    view_->selection_changed(selected_);
}

void PlaylistModel::set_timer(bool on) {
    if (timer_ == on) return;
    timer_ = on;
    view_->timer_changed(on);
}

// ---- rows ----

void PlaylistModel::clear_rows() {
    rows_.clear();
    paths_.clear();
    selected_ = -1;
    view_->rows_changed();
}

void PlaylistModel::append_row(ListRow row) {
    row.sub.resize(std::max<size_t>(row.sub.size(), row_text::kSubItems));
    ++paths_[row.sub[row_text::kPath]];
    rows_.push_back(std::move(row));
}

void PlaylistModel::replace_rows(std::vector<ListRow> rows) {
    view_->begin_update();
    rows_.clear();
    paths_.clear();
    selected_ = -1;
    // Rows from a damaged snapshot may lack sub-items; every row in view has all.
    for (ListRow& r : rows) {
        r.sub.resize(std::max<size_t>(r.sub.size(), row_text::kSubItems));
        ++paths_[r.sub[row_text::kPath]];
        rows_.push_back(std::move(r));
    }
    view_->rows_changed();
    view_->end_update();
    view_->tray_changed();
}

void PlaylistModel::remove_row(int row) {
    const ListRow& r = rows_[row];
    if (r.sub.size() > row_text::kPath) {
        auto it = paths_.find(r.sub[row_text::kPath]);
        if (it != paths_.end() && --it->second == 0) paths_.erase(it);
    }
    rows_.erase(rows_.begin() + row);
    if (selected_ == row)
        selected_ = -1;
    else if (selected_ > row)
        --selected_;
}

void PlaylistModel::renumber() {
    for (size_t i = 0; i < rows_.size(); ++i) rows_[i].caption = row_text::caption(int(i) + 1);
}

void PlaylistModel::edit_record_rows(int record, const std::function<void(ListRow&)>& edit) {
    bool changed = false;
    for (int i = 0; i < count(); ++i) {
        if (record_of(i) != record) continue;
        ListRow& r = rows_[static_cast<size_t>(i)];
        const std::string caption = r.caption, number = r.sub[row_text::kRecord];
        auto it = paths_.find(r.sub[row_text::kPath]);
        if (it != paths_.end() && --it->second == 0) paths_.erase(it);
        edit(r);
        r.caption = caption;
        r.sub.resize(std::max<size_t>(r.sub.size(), row_text::kSubItems));
        r.sub[row_text::kRecord] = number;
        ++paths_[r.sub[row_text::kPath]];
        changed = true;
    }
    if (!changed) return;
    view_->rows_changed();
    view_->tray_changed();
}

std::vector<std::pair<int, std::string>> PlaylistModel::tray_items() const {
    std::vector<std::pair<int, std::string>> items;
    for (int k = 0; k < std::min(count(), kTrayVisible); ++k) {
        const ListRow& r = rows_[k];
        items.emplace_back(k, row_text::tray_caption(r.sub.empty() ? "" : r.sub[0]));
    }
    return items;
}

int PlaylistModel::record_of(int row) const {
    if (row < 0 || row >= count() || rows_[row].sub.size() <= row_text::kRecord) return 0;
    const std::string& s = rows_[row].sub[row_text::kRecord];
    int n = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || end != s.data() + s.size() || n < 1) return 0;
    return n;
}

// ---- adding ----

ListRecord PlaylistModel::missing_record(const std::string& path) const {
    ListRecord r;
    r.path = vl2::cut(path, vl2::kPath);
    r.volume = 100;
    r.fx_marker = 1;
    r.deleted = 1;
    return r;
}

void PlaylistModel::add_file(const std::string& path, const std::string& artist,
                             const std::string& title, const FileInfoRec& f,
                             const std::string& display, int32_t seconds) {
    ListRecord r;
    r.path = vl2::cut(path, vl2::kPath);
    r.artist = vl2::cut(artist, vl2::kArtist);
    r.title = vl2::cut(title, vl2::kTitle);
    r.album = vl2::cut(f.album, vl2::kAlbum);
    r.year = vl2::cut(f.year, vl2::kYear);
    r.format = vl2::cut(f.format, vl2::kFormat);
    r.comment = vl2::cut(f.comment, vl2::kComment);
    r.genre = vl2::cut(f.genre, vl2::kGenre);
    r.track = f.track;
    r.duration = f.duration;
    r.play_till = f.duration;
    r.volume = 100;
    r.fx_marker = 1;
    const int n = AppendRecord(current_file, r);
    // A record that could not be stored gets no row: Delete and Save would
    // have nothing to address.
    if (n <= 0) return;
    ListRow row;
    row.caption = row_text::caption(count() + 1);
    row.sub = {display,
               row_text::duration(seconds),
               row_text::track(f.track),
               f.album,
               f.year,
               f.format,
               path,
               std::to_string(n)};
    append_row(std::move(row));
    view_->rows_changed();
    view_->tray_changed();
}

void PlaylistModel::AddToSongList(const std::string& path) {
    try {
        if (!host_.IsSupported(path)) return;
        if (host_.file_exists(path)) {
            FileInfoRec f;
            host_.QuickInfo(path, f);
            const std::string name = file_name_of(path);
            const std::string a = f.artist.empty() ? name : f.artist;
            const std::string& t = f.title;
            const std::string display = !a.empty() && !t.empty() ? a + " - " + t : name;
            add_file(path, a, t, f, display, f.duration);
        } else {
            ListRecord r = missing_record(path);
            r.artist = "Unknown artist";
            r.title = "Untitled";
            AppendRecord(current_file, r);
        }
    } catch (...) {
    }
    host_.process_messages();
}

void PlaylistModel::AddToSongList2(const std::string& path, const std::string& text,
                                   int32_t seconds) {
    try {
        if (!host_.IsSupported(path)) return;
        if (host_.file_exists(path)) {
            const size_t dash = text.find('-');
            const std::string a = dash == std::string::npos ? "" : text.substr(0, dash);
            const std::string t = dash == std::string::npos ? text : text.substr(dash + 1);
            FileInfoRec f;
            host_.QuickInfo(path, f);
            add_file(path, a, t, f, text, seconds);
        } else {
            AppendRecord(current_file, missing_record(path));
        }
    } catch (...) {
    }
    host_.process_messages();
}

void PlaylistModel::ButtonadddirClick(const std::string& folder, const std::string& mask) {
    const std::string f = with_backslash(folder);
    for (const DirEntry& e : host_.list_dir(f + mask)) {
        if (host_.terminating()) return;
        if (e.name == "." || e.name == "..") continue;
        if (!fileinList(f + e.name)) AddToSongList(f + e.name);
        host_.process_messages();  // also after files that are not added
    }
}

void PlaylistModel::AddFolderRecursive(const std::string& folder, const std::string& mask) {
    const std::string f = folder.empty() ? folder : with_backslash(folder);
    for (const DirEntry& e : host_.list_dir(f + mask)) {
        if (host_.terminating()) return;
        if (e.is_dir) continue;
        if (!fileinList(f + e.name)) AddToSongList(f + e.name);
        host_.process_messages();
    }
    for (const DirEntry& e : host_.list_dir(f + "*.*")) {
        if (host_.terminating()) return;
        if (e.is_dir && !e.name.empty() && e.name[0] != '.') AddFolderRecursive(f + e.name, mask);
        host_.process_messages();
    }
}

// ---- playing ----

void PlaylistModel::playfromlist() {
    if (current < 0 || current >= count()) return;
    set_timer(false);
    playback_.set_started_from_playlist(false);
    const std::string path = rows_[current].sub[row_text::kPath];
    if (!host_.file_exists(path)) return;
    history.push_back(path);
    select(current, true);
    set_timer(true);
    playback_.set_started_from_playlist(true);
    playback_.loadfile(path);
    playback_.playfile();
}

void PlaylistModel::nextplay() {
    try {
        if (rows_.empty()) return;
        if (current + 1 >= 0 && current + 1 < count()) {
            select(current, false);
            ++current;
            select(current, true);
            playfromlist();
            return;
        }
        set_timer(false);
        if (selected_ >= 0 && count() == 1) playback_.stop_decoder();
    } catch (...) {
    }
}

void PlaylistModel::backplay() {
    try {
        if (selected_ < 0) return;
        if (selected_ > 0) {
            select(selected_ - 1, true);
        } else if (history.size() >= 2) {
            history.pop_back();
        } else {
            return;
        }
        select(current, false);
        if (current > 0) --current;
        select(current, true);
        if (current >= 0 && current < count())
            playfromlist();
        else
            set_timer(false);
    } catch (...) {
    }
}

void PlaylistModel::playlisttimerTimer() {
    if (playback_.decoder_state() == 0 || playback_.decoder_state() == 3) nextplay();
}

void PlaylistModel::ListView_classicDblClick() {
    if (selected_ < 0) return;
    current = selected_;
    playfromlist();
}

void PlaylistModel::listmenuclick(int tag) {
    current = tag;
    playfromlist();
}

// ---- editing ----

void PlaylistModel::ListView_classicKeyDown(int key, bool alt_only) {
    context = SelectionContext{};
    if (selected_ >= 0) context.record = record_of(selected_);
    if (key == kKeyEnter) {
        ListView_classicDblClick();
    } else if (key == kKeyDelete && selected_ >= 0) {
        const int n = record_of(selected_);
        if (n == 0) return;
        try {
            ToggleDeleted(n, current_file);
        } catch (const ListFileError&) {
            return;
        }
        refill_current();
    } else if (key == kKeyI && alt_only && selected_ >= 0) {
        view_->open_file_info(rows_[selected_].sub[row_text::kPath]);
    }
}

void PlaylistModel::refill_current() {
    LoadListFile(current_file, nullptr, true, mode == 1 ? 0 : 1);
}

int PlaylistModel::CompareEntries(const ListRow& a, const ListRow& b, int column) const {
    if (column == 0) return compare_(a.caption, b.caption);
    const size_t c = size_t(column);
    if (a.sub.size() < c || b.sub.size() < c) return 0;
    return compare_(a.sub[c - 1], b.sub[c - 1]);
}

void PlaylistModel::srt_menu_nameClick(int tag) {
    static constexpr int kColumns[] = {1, 3, 4, 5, 6, 7};
    if (tag < 0 || tag >= 6) return;
    const int column = kColumns[tag];
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareEntries(rows_[a], rows_[b], column) < 0; });
    std::vector<ListRow> sorted;
    sorted.reserve(rows_.size());
    int new_selected = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == selected_) new_selected = int(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);
    selected_ = new_selected;
    renumber();
    view_->rows_changed();
    view_->selection_changed(selected_);
    view_->tray_changed();
}

void PlaylistModel::move_selected(int target) {
    if (selected_ < 0) return;
    const int source = selected_;
    ListRow copy = rows_[source];
    int at;
    if (target >= 0 && target < count()) {
        rows_.insert(rows_.begin() + target, copy);
        at = target;
    } else {
        rows_.push_back(copy);
        at = count() - 1;
    }
    const int old = at <= source ? source + 1 : source;
    rows_.erase(rows_.begin() + old);
    if (old < at) --at;
    selected_ = at;
    renumber();
    view_->rows_changed();
    view_->selection_changed(selected_);
    view_->ensure_visible(selected_);
    view_->tray_changed();
}

void PlaylistModel::toggle_list_trash() {
    mode = static_cast<uint8_t>(1 - mode);
    refill_current();
}

void PlaylistModel::select_all() {
    for (int i = 0; i < count(); ++i) select(i, true);
}

void PlaylistModel::select_none() {
    selected_ = -1;
    view_->selection_changed(-1);
}

void PlaylistModel::select_invert() {
    for (int i = 0; i < count(); ++i) select(i, !is_selected(i));
}

void PlaylistModel::delete_selected() {
    if (selected_ < 0) return;
    remove_row(selected_);
    renumber();
    view_->rows_changed();
    view_->selection_changed(selected_);
    view_->tray_changed();
}

void PlaylistModel::delete_all() {
    clear_rows();
    try {
        ToggleAllDeleted(current_file);
    } catch (const ListFileError&) {
    }
    view_->tray_changed();
}
