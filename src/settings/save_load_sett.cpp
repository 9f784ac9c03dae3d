#include "settings/save_load_sett.h"

#include <algorithm>

#include "base/text.h"

namespace {

// Reads one section in order; the first failure stops the rest.
class SectionReader {
  public:
    SectionReader(KeyStore& store, const char* section) : store_(store), section_(section) {}
    bool ok() const { return ok_; }

    void integer(const char* name, int32_t& v) {
        uint32_t d = 0;
        if (take(name, KeyStore::Kind::Dword, d, nullptr)) v = static_cast<int32_t>(d);
    }
    void color(const char* name, uint32_t& v) {
        uint32_t d = 0;
        if (take(name, KeyStore::Kind::Dword, d, nullptr)) v = d;
    }
    void boolean(const char* name, bool& v) {
        uint32_t d = 0;
        if (take(name, KeyStore::Kind::Dword, d, nullptr)) v = d != 0;
    }
    // A missing string is no failure: it reads as empty.
    void text(const char* name, std::string& v) {
        if (!ok_) return;
        uint32_t d = 0;
        std::string t;
        const KeyStore::Kind k = store_.read(section_, name, d, t);
        if (k == KeyStore::Kind::Missing)
            v.clear();
        else if (k == KeyStore::Kind::String)
            v = t;
        else
            ok_ = false;
    }

  private:
    bool take(const char* name, KeyStore::Kind want, uint32_t& d, std::string* t) {
        if (!ok_) return false;
        std::string ignored;
        if (store_.read(section_, name, d, t ? *t : ignored) != want) ok_ = false;
        return ok_;
    }

    KeyStore& store_;
    const char* section_;
    bool ok_ = true;
};

void read_outfile(KeyStore& store, const char* section, NowPlayingFileSettings& f) {
    SectionReader r(store, section);
    r.text("np_file", f.np_file);
    r.boolean("np_create", f.np_create);
    r.boolean("np_dynamic_write", f.np_dynamic_write);
    r.text("np_playing", f.np_playing);
    r.text("np_paused", f.np_paused);
    r.text("np_stopped", f.np_stopped);
    r.text("np_closed", f.np_closed);
    if (!r.ok()) f = NowPlayingFileSettings{};
}

void write_outfile(KeyStore& store, const char* section, const NowPlayingFileSettings& f) {
    store.write_string(section, "np_file", f.np_file);
    store.write_dword(section, "np_create", f.np_create);
    store.write_dword(section, "np_dynamic_write", f.np_dynamic_write);
    store.write_string(section, "np_playing", f.np_playing);
    store.write_string(section, "np_paused", f.np_paused);
    store.write_string(section, "np_stopped", f.np_stopped);
    store.write_string(section, "np_closed", f.np_closed);
}

const char* const kTrayNames[8] = {"show_tray_prev",  "show_tray_rew",  "show_tray_play",
                                   "show_tray_pause", "show_tray_stop", "show_tray_open",
                                   "show_tray_forw",  "show_tray_next"};

int32_t fit(int32_t v, int32_t min, int32_t max, int32_t def) {
    return min < v && v < max ? v : def;
}

}  // namespace

void fit_to_screen(PlayerSettings& s, ScreenArea screen, int32_t main_width) {
    s.FaceX = fit(s.FaceX, 0, screen.width, 200);
    s.FaceY = fit(s.FaceY, 0, screen.height, 200);
    s.ListX = fit(s.ListX, 0, screen.width, main_width + 200);
    s.ListY = fit(s.ListY, 0, screen.height, 200);
    s.ListW = fit(s.ListW, 30, screen.width, 320);
    s.ListH = fit(s.ListH, 100, screen.height, 380);
}

void load_settings(KeyStore& store, PlayerSettings& s, ScreenArea screen, int32_t main_width) {
    {
        s.FaceX = s.FaceY = s.ListX = s.ListY = s.ListW = s.ListH = 0;
        SectionReader r(store, "DeskTop");
        r.integer("FaceX", s.FaceX);
        r.integer("FaceY", s.FaceY);
        r.integer("ListX", s.ListX);
        r.integer("ListY", s.ListY);
        r.integer("ListW", s.ListW);
        r.integer("ListH", s.ListH);
        r.boolean("Max", s.Max);
        r.boolean("List_show", s.List_show);
        r.boolean("Always_on_top", s.Always_on_top);
        if (!r.ok()) {
            s.Max = true;
            s.List_show = true;
            s.Always_on_top = false;
        }
    }
    read_outfile(store, "Outfiles\\dos", s.dos);
    read_outfile(store, "Outfiles\\win", s.win);
    {
        SectionReader r(store, "System");
        for (int i = 0; i < 8; ++i) r.boolean(kTrayNames[i], s.show_tray[static_cast<size_t>(i)]);
        r.integer("volume", s.volume);
        if (!r.ok()) {
            s.show_tray.fill(false);
            s.volume = 100;
        }
    }
    {
        SectionReader r(store, "Folders");
        r.text("Dialog_OS", s.Dialog_OS);
        r.text("Explorer", s.Explorer);
        if (!r.ok()) s.Dialog_OS = s.Explorer = "C:\\";
    }
    fit_to_screen(s, screen, main_width);
}

void save_settings(KeyStore& store, const PlayerSettings& s) {
    const char* d = "DeskTop";
    store.write_dword(d, "FaceX", static_cast<uint32_t>(s.FaceX));
    store.write_dword(d, "FaceY", static_cast<uint32_t>(s.FaceY));
    store.write_dword(d, "ListX", static_cast<uint32_t>(s.ListX));
    store.write_dword(d, "ListY", static_cast<uint32_t>(s.ListY));
    store.write_dword(d, "ListW", static_cast<uint32_t>(s.ListW));
    store.write_dword(d, "ListH", static_cast<uint32_t>(s.ListH));
    store.write_dword(d, "Max", s.Max);
    store.write_dword(d, "List_show", s.List_show);
    store.write_dword(d, "Always_on_top", s.Always_on_top);
    for (int i = 0; i < 8; ++i)
        store.write_dword("System", kTrayNames[i], s.show_tray[static_cast<size_t>(i)]);
    store.write_dword("System", "volume", static_cast<uint32_t>(s.volume));
    store.write_string("Folders", "Dialog_OS", s.Dialog_OS);
    store.write_string("Folders", "Explorer", s.Explorer);
    write_outfile(store, "Outfiles\\dos", s.dos);
    write_outfile(store, "Outfiles\\win", s.win);
}

void load_dialog_settings(KeyStore& store, DialogSettings& d,
                          const std::vector<std::string>& effects) {
    const DialogSettings def;
    {
        SectionReader r(store, "Scope");
        r.integer("scope_type", d.scope_type);
        r.integer("scope_int_type", d.scope_int_type);
        r.boolean("scope_col_skin", d.scope_col_skin);
        r.boolean("scope_col_dynch", d.scope_col_dynch);
        r.color("scope_R", d.scope_R);
        r.color("scope_L", d.scope_L);
        if (!r.ok()) {
            d.scope_type = def.scope_type;
            d.scope_int_type = def.scope_int_type;
            d.scope_col_skin = def.scope_col_skin;
            d.scope_col_dynch = def.scope_col_dynch;
            d.scope_R = def.scope_R;
            d.scope_L = def.scope_L;
        }
    }
    {
        SectionReader r(store, "Scope");
        std::string name;
        r.text("ave", name);
        d.ave_index = 0;
        if (r.ok())
            for (size_t i = 0; i < effects.size(); ++i)
                if (equals_nocase(effects[i], name)) {
                    d.ave_index = static_cast<int>(i);
                    break;
                }
    }
    {
        SectionReader r(store, "Display");
        r.integer("time_format", d.time_format);
        r.text("info1_str", d.info1_str);
        r.text("info2_str", d.info2_str);
        r.text("info3_str", d.info3_str);
        r.boolean("small_clock", d.small_clock);
        if (!r.ok()) {
            d.time_format = def.time_format;
            d.info1_str = def.info1_str;
            d.info2_str = def.info2_str;
            d.info3_str = def.info3_str;
            d.small_clock = def.small_clock;
        }
    }
    {
        SectionReader r(store, "Playlist");
        r.boolean("Col_time", d.Col_time);
        r.boolean("Col_track", d.Col_track);
        r.boolean("Col_album", d.Col_album);
        r.boolean("Col_year", d.Col_year);
        r.boolean("Col_format", d.Col_format);
        r.boolean("Col_filename", d.Col_filename);
        if (!r.ok()) {
            d.Col_time = def.Col_time;
            d.Col_track = def.Col_track;
            d.Col_album = def.Col_album;
            d.Col_year = def.Col_year;
            d.Col_format = def.Col_format;
            d.Col_filename = def.Col_filename;
        }
    }
    {
        SectionReader r(store, "System");
        r.integer("menu_popup", d.menu_popup);
        r.integer("refresh_time", d.refresh_time);
        r.integer("sleep_time", d.sleep_time);
        if (!r.ok()) {
            d.menu_popup = def.menu_popup;
            d.refresh_time = def.refresh_time;
            d.sleep_time = def.sleep_time;
        }
        // The sliders' range; these go straight into the idle loop's timing.
        d.refresh_time = std::clamp(d.refresh_time, 1, 50);
        d.sleep_time = std::clamp(d.sleep_time, 1, 50);
    }
}

void save_dialog_settings(KeyStore& store, const DialogSettings& d,
                          const std::vector<std::string>& effects) {
    store.write_dword("System", "menu_popup", static_cast<uint32_t>(d.menu_popup));
    store.write_dword("System", "refresh_time", static_cast<uint32_t>(d.refresh_time));
    store.write_dword("System", "sleep_time", static_cast<uint32_t>(d.sleep_time));
    store.write_dword("Scope", "scope_type", static_cast<uint32_t>(d.scope_type));
    store.write_dword("Scope", "scope_int_type", static_cast<uint32_t>(d.scope_int_type));
    store.write_dword("Scope", "scope_col_skin", d.scope_col_skin);
    store.write_dword("Scope", "scope_col_dynch", d.scope_col_dynch);
    store.write_dword("Scope", "scope_R", d.scope_R);
    store.write_dword("Scope", "scope_L", d.scope_L);
    const size_t i = static_cast<size_t>(d.ave_index);
    store.write_string("Scope", "ave", i < effects.size() ? effects[i] : std::string());
    store.write_dword("Display", "time_format", static_cast<uint32_t>(d.time_format));
    store.write_string("Display", "info1_str", d.info1_str);
    store.write_string("Display", "info2_str", d.info2_str);
    store.write_string("Display", "info3_str", d.info3_str);
    store.write_dword("Display", "small_clock", d.small_clock);
    store.write_dword("Playlist", "Col_time", d.Col_time);
    store.write_dword("Playlist", "Col_track", d.Col_track);
    store.write_dword("Playlist", "Col_album", d.Col_album);
    store.write_dword("Playlist", "Col_year", d.Col_year);
    store.write_dword("Playlist", "Col_format", d.Col_format);
    store.write_dword("Playlist", "Col_filename", d.Col_filename);
}

std::array<uint8_t, 3> color_to_bgr(uint32_t c) {
    return {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)};
}

uint32_t bgr_to_color(const std::array<uint8_t, 3>& bgr) {
    return static_cast<uint32_t>(bgr[2]) | static_cast<uint32_t>(bgr[1]) << 8 |
           static_cast<uint32_t>(bgr[0]) << 16;
}
