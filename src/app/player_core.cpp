#include "app/player_core.h"

#include "base/paths.h"
#include "base/text.h"

FolderValues FolderValues::compute(const std::string& exe_path, const std::string& temp_folder,
                                   int hour, int minute, int second) {
    FolderValues f;
    f.program = folder_of(exe_path);
    f.plugins = f.program + "plugins\\";
    f.langs = f.program + "langs\\";
    f.codecs = f.program + "codecs\\";
    f.effects_mask = f.program + "ave\\*.ave";
    f.default_playlist = f.program + "veltrona.vl2";
    f.working = working_folder_name(temp_folder, hour, minute, second);
    return f;
}

ArgumentKind classify_argument(const std::string& arg) {
    if (arg.empty()) return ArgumentKind::None;
    const std::string ext = upper_text(file_ext_of(arg));
    if (ext == ".VL2") return ArgumentKind::Vl2List;
    if (ext == ".M3U") return ArgumentKind::M3uList;
    return ArgumentKind::Media;
}

void PlayerCore::write_banner() {
    console.clear();
    console.push_back("> VELTRona v.0.73beta by Dunmoor");
    console.push_back(std::string("> Web: ") + kWeb);
    console.push_back(std::string("> E-mail: ") + kEmail);
}

void PlayerCore::activate(const std::string& arg, bool list_show, ActivationHost& host) {
    if (!first_activation) return;
    // A message box below can activate the window again before this returns.
    first_activation = false;

    bool list_loaded = false;
    const ArgumentKind kind = classify_argument(arg);
    if (kind != ArgumentKind::None) started_from_playlist = false;
    if (kind == ArgumentKind::Media) {
        host.play_media(arg);
    } else if (kind == ArgumentKind::Vl2List && host.file_exists(arg)) {
        host.play_vl2_list(arg);
        list_loaded = true;
    } else if (kind == ArgumentKind::M3uList && host.file_exists(arg)) {
        host.play_m3u_list(arg);
        list_loaded = true;
    }

    if (!list_loaded) {
        if (host.file_exists(folders.default_playlist))
            host.load_default_playlist(folders.default_playlist);
        else
            host.new_list();
    }

    write_banner();
    host.console_changed();
    host.show_playlist(list_show);
}
