#include "fileinfo/song_fx_win_unit.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "base/paths.h"
#include "playlist/playlist_model.h"
#include "plugins/plug_eng.h"
#include "win/files.h"

namespace {

constexpr int kGridWidth = 140;
constexpr int kGridRowHeight = 16;
constexpr size_t kGenreFileLimit = 1 << 20;

std::string read_genre_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in) return text;
    text.resize(kGenreFileLimit);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

HWND make_grid(HINSTANCE instance, HWND parent, const RECT& area) {
    HWND g = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS, area.left,
        area.top, area.right - area.left, area.bottom - area.top, parent, nullptr, instance,
        nullptr);
    SendMessageA(g, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SendMessageA(g, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // A one-pixel-wide image list sets the row height; the view destroys it.
    HIMAGELIST rows = ImageList_Create(1, kGridRowHeight, ILC_COLOR, 1, 0);
    SendMessageA(g, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rows));
    // The header is the grid's empty first row; its columns can be resized.
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH | LVCF_SUBITEM | LVCF_TEXT;
        col.cx = kGridWidth;
        col.iSubItem = c;
        col.pszText = const_cast<char*>("");
        SendMessageA(g, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
    }
    return g;
}

void fill_grid(HWND g, const std::vector<song_fx::GridRow>& rows) {
    SendMessageA(g, WM_SETREDRAW, FALSE, 0);
    SendMessageA(g, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(rows[i].name.c_str());
        const int at =
            static_cast<int>(SendMessageA(g, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (at < 0) break;
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(rows[i].value.c_str());
        SendMessageA(g, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(g, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g, nullptr, TRUE);
}

}  // namespace

Tsong_fx_win::Tsong_fx_win(HINSTANCE instance, TQEL_plugin& plugins, PlaylistModel& playlist,
                           SongFxHost& player)
    : instance_(instance), plugins_(plugins), playlist_(playlist), player_(player) {}

bool Tsong_fx_win::create(HWND owner, const std::string& plugin_folder) {
    genres_ = song_fx::parse_genres(read_genre_file(plugin_folder + "genre.txt"));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_DLGMODALFRAME;
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    return create_window(instance_, wc, ex_style, "Composition info", style,
                         work.left + (work.right - work.left - w) / 2,
                         work.top + (work.bottom - work.top - h) / 2, w, h, owner);
}

LRESULT Tsong_fx_win::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NOTIFY: {
            const NMHDR* n = reinterpret_cast<NMHDR*>(lp);
            if (n->hwndFrom == tabs_ && n->code == TCN_SELCHANGE)
                show_page(static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK:
                    sn_fx_btn_okClick();
                    break;
                case IDCANCEL:
                    sn_fx_btn_clClick();
                    break;
                case song_fx_ids::kUpdateFromTag:
                    sn_fx_btn_rfrClick();
                    break;
                case song_fx_ids::kSaveToFile:
                    sn_fx_btn_sv2fClick();
                    break;
                case song_fx_ids::kSelectFile:
                    sn_fx_btn_opfClick();
                    break;
                default:
                    break;
            }
            return 0;
        case WM_CTLCOLORSTATIC: {
            // Labels show the page under them, whatever colour the tabs paint it.
            HDC dc = reinterpret_cast<HDC>(wp);
            if (reinterpret_cast<HWND>(lp) == ed_.deleted) SetTextColor(dc, RGB(255, 0, 0));
            char cls[16] = {};
            GetClassNameA(reinterpret_cast<HWND>(lp), cls, sizeof cls);
            if (lstrcmpiA(cls, WC_STATICA) == 0 || lstrcmpiA(cls, WC_BUTTONA) == 0) {
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            }
            break;
        }
        case WM_CLOSE:
            sn_fx_btn_clClick();
            return 0;
        default:
            break;
    }
    return default_message(msg, wp, lp);
}

// The controls are made when a file is first shown: nobody sees them before,
// and they would cost the start of the program their time.
void Tsong_fx_win::FormCreate() {
    if (tabs_) return;
    // Two rows of tabs: the four names do not fit in one.
    tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE, 4, 4,
                            kClientWidth - 8, kClientHeight - 6, hwnd_,
                            reinterpret_cast<HMENU>(song_fx_ids::kTabs), instance_, nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    const char* names[kPages] = {"Main properties", "MPEG properties", "Info (ID3 tag)",
                                 "PlayList/File Information"};
    for (int i = 0; i < kPages; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    tips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                            hwnd_, nullptr, instance_, nullptr);
    // The pages' area, in the window's client coordinates.
    RECT area;
    GetClientRect(tabs_, &area);
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    OffsetRect(&area, 4, 4);
    InflateRect(&area, -4, -4);
    for (HWND& g : grid_) g = make_grid(instance_, hwnd_, area);
    // Rows named with empty values until the first file.
    grids_ = song_fx::fill_grids("", FileInfoRec{});
    put_grids();
    create_editor(area.top);
    show_page(kEditorPage);
}

void Tsong_fx_win::show_page(int page) {
    SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int i = 0; i < 3; ++i) ShowWindow(grid_[i], i == page ? SW_SHOW : SW_HIDE);
    for (HWND c : ed_.page) ShowWindow(c, page == kEditorPage ? SW_SHOW : SW_HIDE);
    // The red mark shows only on a deleted entry.
    if (page == kEditorPage && !deleted_shown_) ShowWindow(ed_.deleted, SW_HIDE);
}

void Tsong_fx_win::put_grids() {
    fill_grid(grid_[kMainPage], grids_.main);
    fill_grid(grid_[kMpegPage], grids_.mpeg);
    fill_grid(grid_[kTagPage], grids_.tag);
}

void Tsong_fx_win::open_loaded_file(const std::string& path, bool from_playlist) {
    edit_entry_ = from_playlist;
    current_file_ = true;
    FillGrids(path);
}

void Tsong_fx_win::open_list_entry(const std::string& path, int record) {
    edit_entry_ = true;
    current_file_ = false;  // also for the entry being played
    entry_index_ = record;
    FillGrids(path);
}

void Tsong_fx_win::open_explorer_file(const std::string& path) {
    edit_entry_ = false;
    current_file_ = !path.empty() && path == player_.loaded_file();
    FillGrids(path);
}

void Tsong_fx_win::FillGrids(const std::string& path) {
    FormCreate();
    if (!path.empty() && FileExists(path)) {
        FileInfoRec f;
        if (current_file_)
            plugins_.Decoders.GetFileInfo(f);
        else
            plugins_.Decoders.QuickInfo(path, f);
        grids_ = song_fx::fill_grids(path, f);
        put_grids();
    }
    if (!IsWindowVisible(hwnd_)) {
        if (!opened_before_) show_page(kEditorPage);
        opened_before_ = true;
        FormShow();
        ShowWindow(hwnd_, SW_SHOW);
    }
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

void Tsong_fx_win::FormShow() {
    editing_ = edit_entry_;
    for (HWND c : {ed_.btn_ok, ed_.vol, ed_.fadein, ed_.fadein_ud, ed_.fadeout, ed_.fadeout_ud})
        EnableWindow(c, editing_);
    entry_read_ = false;
    entry_playing_ = false;
    ListRecord r;
    if (editing_) {
        if (current_file_) {
            entry_read_ = player_.playing_entry(entry_file_, entry_record_);
        } else {
            entry_file_ = playlist_.current_file;
            entry_record_ = entry_index_;
            entry_read_ = true;
        }
        entry_read_ = entry_read_ && song_fx::read_entry(entry_file_, entry_record_, r);
        std::string playing_file;
        int playing_record = 0;
        entry_playing_ =
            current_file_ || (player_.playing_entry(playing_file, playing_record) &&
                              playing_file == entry_file_ && playing_record == entry_record_);
    }
    if (entry_read_)
        set_editor(song_fx::edit_from_record(r, genres_));
    else
        sn_fx_btn_rfrClick();
}

void Tsong_fx_win::sn_fx_btn_rfrClick() {
    song_fx::EntryEdit e = editor();
    e.deleted = false;
    song_fx::edit_from_grids(grids_, genres_, e);
    set_editor(e);
}

void Tsong_fx_win::sn_fx_btn_opfClick() {
    char text[MAX_PATH] = {};
    GetWindowTextA(ed_.filed, text, sizeof text);
    std::string chosen;
    if (choose_open_file(hwnd_, "Open file media", plugins_.Decoders.FilterString, "",
                         folder_of(text), chosen))
        SetWindowTextA(ed_.filed, chosen.c_str());
}

void Tsong_fx_win::sn_fx_btn_okClick() {
    if (!editing_) return;
    const song_fx::EntryEdit e = editor();
    ListRecord r;
    const bool found = entry_read_ && song_fx::read_entry(entry_file_, entry_record_, r);
    if (found) {
        song_fx::apply_edit(e, r);
        if (entry_file_ == playlist_.current_file)
            playlist_.edit_record_rows(entry_record_,
                                       [&r](ListRow& row) { song_fx::update_row(row, r); });
    }
    ShowWindow(hwnd_, SW_HIDE);
    if (found) song_fx::write_entry(entry_file_, entry_record_, r);
    if (entry_playing_) player_.retag_player(e.title, e.artist, e.album, e.year);
}

void Tsong_fx_win::sn_fx_btn_sv2fClick() {
    const song_fx::EntryEdit e = editor();
    const FileInfoRec tags = song_fx::tag_info(e);
    const std::string loaded = player_.loaded_file();
    const bool is_loaded = !loaded.empty() && e.path == loaded;
    const bool written = is_loaded ? plugins_.Decoders.SetFileInfo(tags)
                                   : plugins_.Decoders.SetFileInfoTo(e.path, tags);
    if (!written) {
        const std::string text = "Can't edit file " + (is_loaded ? loaded : e.path) + " !";
        MessageBoxA(hwnd_, text.c_str(), "Warning", MB_OK | MB_ICONWARNING);
    }
    // The loaded file's new tag shows in the main window at once.
    if (written && is_loaded && !(editing_ && entry_playing_))
        player_.retag_player(e.title, e.artist, e.album, e.year);
    if (editing_) sn_fx_btn_okClick();
}

void Tsong_fx_win::sn_fx_btn_clClick() {
    ShowWindow(hwnd_, SW_HIDE);
}
