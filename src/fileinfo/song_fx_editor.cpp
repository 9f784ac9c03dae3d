// The editor tab of the file information window: its controls with their
// captions, hints, ranges and widths, and the values they hold.
#include "fileinfo/song_fx_win_unit.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int kLabelX = 12, kFieldX = 66, kFieldRight = 324, kRowH = 20;

struct Maker {
    HINSTANCE instance;
    HWND parent;
    std::vector<HWND>& page;
    int top;  // y of the tabs' display area

    HWND make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
              int id = 0, DWORD ex_style = 0) {
        HWND c =
            CreateWindowExA(ex_style, cls, text, WS_CHILD | style, x, top + y, w, h, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        page.push_back(c);
        return c;
    }
    HWND label(const char* text, int x, int y, int w = kFieldX - kLabelX - 4) {
        return make(WC_STATICA, text, SS_LEFT, x, y + 3, w, 14);
    }
    HWND edit(int id, int x, int y, int w, int limit = 0, DWORD style = 0) {
        HWND e =
            make(WC_EDITA, "", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | style, x, y, w, kRowH, id);
        if (limit > 0) SendMessageA(e, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
        return e;
    }
    // A number box: an edit with an up-down control bound to it.
    HWND spin(int id, int x, int y, int w, int low, int high, HWND& updown) {
        HWND e = edit(id, x, y, w, 0, ES_NUMBER);
        updown =
            make(UPDOWN_CLASSA, "",
                 UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0);
        SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(e), 0);
        SendMessageA(updown, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
        return e;
    }
    HWND button(const char* text, int id, int x, int y, int w, int h = 24) {
        return make(WC_BUTTONA, text, WS_TABSTOP | BS_PUSHBUTTON, x, y, w, h, id);
    }
    HWND field(const char* name, int id, int y, int limit = 0) {
        label(name, kLabelX, y);
        return edit(id, kFieldX, y, kFieldRight - kFieldX, limit);
    }
};

std::string text_of(HWND w) {
    const int n = GetWindowTextLengthA(w);
    std::string s(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(w, s.data(), n + 1)));
    return s;
}

int32_t spin_value(HWND updown, int32_t fallback) {
    BOOL failed = FALSE;
    const LRESULT v = SendMessageA(updown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    return failed ? fallback : static_cast<int32_t>(v);
}

}  // namespace

void Tsong_fx_win::add_hint(HWND control, const char* text) {
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Tsong_fx_win::create_editor(int top) {
    Maker m{instance_, hwnd_, ed_.page, top};
    m.make(WC_BUTTONA, "Playing FX", BS_GROUPBOX, 10, 0, 244, 86);
    ed_.deleted = m.make(WC_STATICA, "Deleted", SS_CENTER, 262, 10, 60, 14, song_fx_ids::kDeleted);
    m.label("Volume", 18, 16, 52);
    ed_.vol = m.make(TRACKBAR_CLASSA, "", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 72, 14, 176, 22,
                     song_fx_ids::kVolume);
    SendMessageA(ed_.vol, TBM_SETRANGE, TRUE, MAKELPARAM(0, song_fx::kVolumeMax));
    add_hint(ed_.vol, "Veltrona allows set volume for each playlist item");
    m.label("Fade in", 18, 38, 52);
    ed_.fadein = m.spin(song_fx_ids::kFadeIn, 72, 38, 50, 0, song_fx::kFadeMax, ed_.fadein_ud);
    add_hint(ed_.fadein, "Fade In effect, in seconds");
    m.label("Fade out", 132, 38, 52);
    ed_.fadeout = m.spin(song_fx_ids::kFadeOut, 186, 38, 50, 0, song_fx::kFadeMax, ed_.fadeout_ud);
    add_hint(ed_.fadeout, "Fade Out effect, in seconds");
    // Kept from the entry's layout; the play range is not used.
    HWND unused = nullptr;
    m.label("Play from", 18, 60, 52);
    EnableWindow(m.spin(0, 72, 60, 50, 0, 0, unused), FALSE);
    EnableWindow(unused, FALSE);
    m.label("Play till", 132, 60, 52);
    EnableWindow(m.spin(0, 186, 60, 50, 0, 0, unused), FALSE);
    EnableWindow(unused, FALSE);

    m.label("File", kLabelX, 92);
    ed_.filed = m.edit(song_fx_ids::kFile, kFieldX, 92, kFieldRight - kFieldX - 26);
    add_hint(m.button("...", song_fx_ids::kSelectFile, kFieldRight - 22, 91, 22, 22),
             "Select file");
    ed_.format =
        m.field("Format", song_fx_ids::kFormat, 115, static_cast<int>(vl2::kFormat.capacity));
    ed_.arted = m.field("Artist", song_fx_ids::kArtist, 138);
    ed_.tited = m.field("Title", song_fx_ids::kTitle, 161);
    ed_.albed = m.field("Album", song_fx_ids::kAlbum, 184);
    m.label("Year", kLabelX, 207);
    ed_.yered = m.edit(song_fx_ids::kYear, kFieldX, 207, 48, static_cast<int>(vl2::kYear.capacity));
    m.label("Track", 132, 207, 46);
    ed_.trked = m.edit(song_fx_ids::kTrack, 186, 207, 60);
    m.label("Genre", kLabelX, 230);
    ed_.gnred = m.make(WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kFieldX, 230,
                       kFieldRight - kFieldX, 240, song_fx_ids::kGenre);
    for (const std::string& g : genres_)
        SendMessageA(ed_.gnred, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g.c_str()));
    ed_.cmt = m.field("Comment", song_fx_ids::kComment, 253);

    add_hint(m.button("Save to File", song_fx_ids::kSaveToFile, kLabelX, 282, 76), "Save to File");
    add_hint(m.button("Update from Info TAG", song_fx_ids::kUpdateFromTag, 92, 282, 116),
             "Update from Info TAG");
    ed_.btn_ok = m.button("OK", IDOK, 212, 282, 52);
    add_hint(ed_.btn_ok, "Save data to playlist");
    add_hint(m.button("Cancel", IDCANCEL, 268, 282, 56), "Cancel and Close");
}

void Tsong_fx_win::set_editor(const song_fx::EntryEdit& e) {
    deleted_shown_ = e.deleted;
    ShowWindow(ed_.deleted, e.deleted && SendMessageA(tabs_, TCM_GETCURSEL, 0, 0) == kEditorPage
                                ? SW_SHOW
                                : SW_HIDE);
    SendMessageA(ed_.vol, TBM_SETPOS, TRUE, e.volume);
    SendMessageA(ed_.fadein_ud, UDM_SETPOS32, 0, e.fade_in);
    SendMessageA(ed_.fadeout_ud, UDM_SETPOS32, 0, e.fade_out);
    SetWindowTextA(ed_.filed, e.path.c_str());
    SetWindowTextA(ed_.format, e.format.c_str());
    SetWindowTextA(ed_.arted, e.artist.c_str());
    SetWindowTextA(ed_.tited, e.title.c_str());
    SetWindowTextA(ed_.albed, e.album.c_str());
    SetWindowTextA(ed_.yered, e.year.c_str());
    shown_track_ = e.track;
    SetWindowTextA(ed_.trked, std::to_string(e.track).c_str());
    SendMessageA(ed_.gnred, CB_SETCURSEL,
                 static_cast<WPARAM>(song_fx::genre_index(genres_, e.genre)), 0);
    SetWindowTextA(ed_.cmt, e.comment.c_str());
}

song_fx::EntryEdit Tsong_fx_win::editor() const {
    song_fx::EntryEdit e;
    e.deleted = deleted_shown_;
    e.volume = static_cast<int32_t>(SendMessageA(ed_.vol, TBM_GETPOS, 0, 0));
    e.fade_in = spin_value(ed_.fadein_ud, 0);
    e.fade_out = spin_value(ed_.fadeout_ud, 0);
    e.path = text_of(ed_.filed);
    e.format = text_of(ed_.format);
    e.artist = text_of(ed_.arted);
    e.title = text_of(ed_.tited);
    e.album = text_of(ed_.albed);
    e.year = text_of(ed_.yered);
    e.track = shown_track_;
    song_fx::parse_track(text_of(ed_.trked), e.track);
    const LRESULT sel = SendMessageA(ed_.gnred, CB_GETCURSEL, 0, 0);
    if (sel >= 0 && static_cast<size_t>(sel) < genres_.size())
        e.genre = genres_[static_cast<size_t>(sel)];
    e.comment = text_of(ed_.cmt);
    return e;
}
