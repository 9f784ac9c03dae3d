#include "playlist/list_manager.h"

#include "base/paths.h"
#include "base/text.h"
#include "playlist/list_template.h"

using namespace std::string_literals;

ListFileDialog open_list_dialog() {
    return {false, "Open PlayList", "Veltrona VL2\0*.vl2\0M3U playlist\0*.m3u\0"s};
}

ListFileDialog save_list_dialog() {
    return {true, "Save PlayList", "VL2 PlayList\0*.vl2\0Custom format\0*.*\0"s};
}

ListManager::ListManager(PlaylistModel& model, ListManagerUi& ui, std::string& last_folder)
    : model_(model), ui_(ui), last_folder_(last_folder) {}

std::string ListManager::snapshot_of(int tab) const {
    return model_.working_folder + tabs_[size_t(tab)].name + "_#";
}

void ListManager::show_tab(int k) {
    model_.LoadViewSnapshot(snapshot_of(k));
    current_ = k;
    model_.current_file = model_.working_folder + tabs_[size_t(k)].name;
    ui_.tabs_changed();
}

void ListManager::list_managerChange(int k) {
    if (k < 0 || k >= int(tabs_.size())) return;
    if (tabs_.size() > 1 && current_ >= 0 && current_ < int(tabs_.size()))
        model_.SaveViewSnapshot(snapshot_of(current_));
    show_tab(k);
}

void ListManager::add_tab(ListTab tab) {
    tabs_.push_back(std::move(tab));
    list_managerChange(int(tabs_.size()) - 1);
    model_.clear_rows();
}

// Two open lists never share a working list file and snapshot: a name taken
// by an open tab gets a "_N" counter.
std::string ListManager::unique_tab_name(const std::string& name) const {
    auto taken = [this](const std::string& path) {
        const std::string n = file_name_of(path);
        for (const ListTab& t : tabs_)
            if (equals_nocase(t.name, n)) return true;
        return false;
    };
    const std::string ext = file_ext_of(name);
    const std::string base = name.substr(0, name.size() - ext.size());
    return file_name_of(unique_file_name(name, base, taken, "", "_"));
}

void ListManager::lst_men_newClick() {
    const std::string p = NewListName(model_.working_folder,
                                      [this](const std::string& f) { return ui_.file_exists(f); });
    CreateEmptyList(p);
    add_tab({file_name_of(p), p, true});
}

void ListManager::ensure_list() {
    if (tabs_.empty()) lst_men_newClick();
}

void ListManager::load() {
    std::string q;
    int f = 1;
    if (!ui_.choose_list_file(open_list_dialog(), last_folder_, q, f)) return;
    last_folder_ = folder_of(q);
    open_list(q, f);
}

bool ListManager::open_list(const std::string& path, int filter) {
    const std::string name = unique_tab_name(file_name_of(path));
    add_tab({name, path, filter != 2});
    if (filter == 2) {
        // A working file left by a closed tab of that name starts empty again.
        CreateEmptyList(model_.current_file);
        model_.ImportM3U(path);
        return true;
    }
    if (model_.OpenListFile(path, name)) return true;
    close();
    return false;
}

bool ListManager::write_list(const std::string& dest, bool delete_first) {
    const std::string& source = model_.current_file;
    if (model_.mode == 1) {
        const bool ok = model_.WriteListFile(source, dest, delete_first);
        // A list saved onto its own working file has new record positions.
        if (ok && dest == source) model_.LoadListFile(source, nullptr, true, 0);
        return ok;
    }
    // With the trash in view the list's own entries are written, in file order.
    if (dest == source) return true;
    std::string data;
    for (const ListRecord& r : ReadAllRecords(source)) {
        if (r.deleted != 0) continue;
        const RecordBytes b = vl2::pack(r);
        data.append(reinterpret_cast<const char*>(b.data()), b.size());
    }
    return write_file_replacing(dest, data);
}

void ListManager::save() {
    if (current_ < 0) return;
    const ListTab& tab = tabs_[size_t(current_)];
    if (!tab.vl2) {
        // An M3U list is never overwritten with VL2 records: ask for a new name.
        save_as();
        return;
    }
    if (!ui_.ask("FileList " + file_name_of(tab.origin) + " is already exists!\nOverwrite?"))
        return;
    write_list(tab.origin, true);
}

bool ListManager::save_as_vl2(const std::string& q) {
    if (ui_.file_exists(q)) {
        if (!ui_.ask("File " + file_name_of(q) + " is already exists\nRewrite file?")) return false;
        return write_list(q, true);
    }
    return write_list(q, false);
}

void ListManager::save_as() {
    if (current_ < 0) return;
    std::string q;
    int f = 1;
    if (!ui_.choose_list_file(save_list_dialog(), last_folder_, q, f)) return;
    last_folder_ = folder_of(q);
    if (f == 2) {
        export_target_ = ::export_target(q);
        ui_.show_template_chooser();
        return;
    }
    ListTab& tab = tabs_[size_t(current_)];
    // Saved from an M3U list, the VL2 file becomes where Save writes.
    if (save_as_vl2(q) && !tab.vl2) {
        tab.origin = q;
        tab.vl2 = true;
    }
}

void ListManager::close() {
    if (current_ < 0) return;
    model_.clear_rows();
    tabs_.erase(tabs_.begin() + current_);
    if (current_ >= int(tabs_.size())) --current_;
    if (current_ >= 0) {
        show_tab(current_);
    } else {
        model_.current_file.clear();
        ui_.tabs_changed();
    }
}

void ListManager::add_list() {
    std::string q;
    int f = 1;
    if (!ui_.choose_list_file(open_list_dialog(), last_folder_, q, f)) return;
    last_folder_ = folder_of(q);
    ensure_list();
    if (f == 2)
        model_.ImportM3U(q);
    else
        model_.LoadListFile(q, &model_.current_file, false, 0);
}
