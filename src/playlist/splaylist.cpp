#include "playlist/splaylist.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "base/ini_file.h"
#include "base/paths.h"
#include "plugins/plug_eng.h"
#include "settings/save_load_sett.h"
#include "win/files.h"
#include "win/handles.h"

namespace {

constexpr UINT_PTR kEndOfTrackTimer = 1;
constexpr int kListId = 10;
constexpr int kTabsId = 11;
constexpr int kTabHeight = 20;
// Posted when rows change: the shown columns fit their contents again.
constexpr UINT kFitColumns = WM_APP + 1;

// The system's locale-aware, case-sensitive comparison.
int system_compare(const std::string& a, const std::string& b) {
    return lstrcmpA(a.c_str(), b.c_str());
}

const std::string& cell(const ListRow& row, int column) {
    static const std::string empty;
    if (column == 0) return row.caption;
    const size_t i = static_cast<size_t>(column - 1);
    return i < row.sub.size() ? row.sub[i] : empty;
}

}  // namespace

Tsuperplaylist::Tsuperplaylist(HINSTANCE instance, TQEL_plugin& plugins, PlaylistPlayback& playback,
                               std::string& last_folder)
    : instance_(instance),
      plugins_(plugins),
      last_folder_(last_folder),
      model_(*this, playback, system_compare) {
    model_.set_view(this);
}

Tsuperplaylist::~Tsuperplaylist() {
    model_.set_view(nullptr);
}

bool Tsuperplaylist::create(HWND owner, const PlayerSettings& geometry,
                            const std::string& program_folder) {
    program_folder_ = program_folder;
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    // No system frame: the skin draws it.
    if (!create_window(instance_, wc, WS_EX_TOOLWINDOW, "Playlist", WS_POPUP | WS_CLIPCHILDREN, 0,
                       0, 275, 300, owner))
        return false;
    // The saved geometry, each value only when set.
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int x = geometry.ListX ? geometry.ListX : r.left;
    const int y = geometry.ListY ? geometry.ListY : r.top;
    const int w = geometry.ListW ? geometry.ListW : r.right - r.left;
    const int h = geometry.ListH ? geometry.ListH : r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    FormResize();
    return true;
}

LRESULT Tsuperplaylist::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SIZE:
            FormResize();
            return 0;
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCACTIVATE: {
            const LRESULT r = default_message(msg, wp, lp);
            active_ = wp != 0;
            repaint_title();
            return r;
        }
        case WM_LBUTTONDOWN:
            FormMouseDown(win::point_of(lp).x, win::point_of(lp).y);
            return 0;
        case WM_NOTIFY:
            return on_notify(reinterpret_cast<NMHDR*>(lp));
        case WM_TIMER:
            if (wp == kEndOfTrackTimer) model_.playlisttimerTimer();
            return 0;
        case kFitColumns:
            fit_posted_ = false;
            fit_columns();
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_)
                SetCursor(LoadCursor(nullptr, IDC_HAND));
            else
                FormMouseMove(win::point_of(lp).x, win::point_of(lp).y, (wp & MK_LBUTTON) != 0);
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) {
                POINT p = win::point_of(lp);
                ClientToScreen(hwnd_, &p);
                finish_drag(p);
            } else {
                FormMouseUp(win::point_of(lp).x, win::point_of(lp).y);
            }
            return 0;
        case WM_CAPTURECHANGED:
            dragging_ = false;
            sizing_ = FrameHit::None;
            return 0;
        case WM_CONTEXTMENU: {
            POINT p = win::point_of(lp);
            if (p.x == -1 && p.y == -1) GetCursorPos(&p);
            show_menu(p);
            return 0;
        }
        case WM_COMMAND:
            run_command(static_cast<Command>(LOWORD(wp)));
            return 0;
        case WM_CLOSE:
            // The close button hides the list; the main window shows it again.
            set_visible(false);
            return 0;
        default:
            break;
    }
    return default_message(msg, wp, lp);
}

void Tsuperplaylist::run_command(Command id) {
    switch (id) {
        case Command::ListTrash:
            model_.toggle_list_trash();
            break;
        case Command::AddFile:
            ButtonAdd_OnClick();
            break;
        case Command::AddDir:
        case Command::AddDirTree:
            add_folder(id == Command::AddDirTree);
            break;
        case Command::SelectAll:
            model_.select_all();
            break;
        case Command::SelectNone:
            model_.select_none();
            break;
        case Command::SelectInvert:
            model_.select_invert();
            break;
        case Command::SortName:
        case Command::SortTrack:
        case Command::SortAlbum:
        case Command::SortYear:
        case Command::SortFormat:
        case Command::SortFile:
            model_.srt_menu_nameClick(static_cast<int>(index_in(id, Command::SortName)));
            break;
        case Command::DeleteSelected:
            model_.delete_selected();
            break;
        case Command::DeleteAll:
            model_.delete_all();
            break;
        default:
            break;
    }
}

void Tsuperplaylist::FormCreate() {
    list_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA |
                                LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                            0, 0, 100, 100, hwnd_, reinterpret_cast<HMENU>(kListId), instance_,
                            nullptr);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x120);  // full row, flat scroll bars
    tabs_ =
        CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | TCS_BOTTOM, 0, 0, 100,
                        kTabHeight, hwnd_, reinterpret_cast<HMENU>(kTabsId), instance_, nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    static const int kWidths[8] = {30, 200, 35, 20, 0, 0, 0, 0};
    for (int c = 0; c < 8; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = kWidths[c];
        col.iSubItem = c;
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&col));
    }
}

void Tsuperplaylist::FormResize() {
    RECT r;
    GetClientRect(hwnd_, &r);
    layout_ = ListSkinLayout::for_size(r.right, r.bottom);
    if (list_) {
        const SkinRect page = list_page_rect(r.right, r.bottom, kTabHeight);
        MoveWindow(list_, page.left, page.top, page.width(), page.height(), TRUE);
        MoveWindow(tabs_, page.left, page.bottom, page.width(), kTabHeight, TRUE);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Tsuperplaylist::loadlistskin(const std::string& skin_name) {
    const std::string folder = program_folder_ + "skins\\" + skin_name + "\\";
    skin_.LoadFromFile(folder + "def_list.bmp");
    FormResize();
    colors_ = read_list_colors(IniFile::load(folder + "colors.ini"));
    if (list_) {
        ListView_SetBkColor(list_, colors_.List_color);
        ListView_SetTextBkColor(list_, colors_.List_color);
        ListView_SetTextColor(list_, colors_.List_font);
        InvalidateRect(list_, nullptr, TRUE);
    }
}

void Tsuperplaylist::Draw_List_Control(HDC dc, SkinPoint source, const SkinRect& dest) {
    skin_.DrawRect(dc, dest.left, dest.top, dest.width(), dest.height(), source.x, source.y);
}

void Tsuperplaylist::Stretch_Draw_List_Control(HDC dc, const StretchTile& t) {
    skin_.StretchRect(dc, t.dest.left, t.dest.top, t.dest.width(), t.dest.height(), t.source.left,
                      t.source.top, t.source.width(), t.source.height());
}

void Tsuperplaylist::paint_title(HDC dc) {
    if (skin_.Empty()) return;
    Stretch_Draw_List_Control(dc, active_ ? layout_.title_active : layout_.title_inactive);
    Draw_List_Control(dc,
                      close_pressed_ ? layout_.close_pressed
                      : active_      ? layout_.close_active
                                     : layout_.close_inactive,
                      layout_.close);
}

void Tsuperplaylist::repaint_title() {
    win::WindowDC dc(hwnd_);
    paint_title(dc);
}

void Tsuperplaylist::paint_tool(HDC dc, int i, bool over) {
    if (skin_.Empty()) return;
    const ToolTile& t = layout_.tools[i];
    Draw_List_Control(dc, over ? t.over : t.normal, t.dest);
}

void Tsuperplaylist::paint_frame(HDC dc) {
    if (skin_.Empty()) {
        // Without its bitmap the frame is a plain dark surround.
        RECT r;
        GetClientRect(hwnd_, &r);
        win::fill_rect(dc, r, RGB(38, 44, 56));
        return;
    }
    paint_title(dc);
    Stretch_Draw_List_Control(dc, layout_.panel);
    Stretch_Draw_List_Control(dc, layout_.strip);
    Stretch_Draw_List_Control(dc, layout_.left);
    Stretch_Draw_List_Control(dc, layout_.right);
    Stretch_Draw_List_Control(dc, layout_.bottom);
    for (int i = 0; i < kToolButtons; ++i) paint_tool(dc, i, i == hover_tool_);
    Draw_List_Control(dc, page_ == 1 ? layout_.explorer_pressed : layout_.explorer_raised,
                      layout_.explorer_button);
    Draw_List_Control(dc, page_ == 0 ? layout_.playlist_pressed : layout_.playlist_raised,
                      layout_.playlist_button);
    // The page area when the explorer page (still empty) is shown.
    if (page_ == 1) {
        RECT r;
        GetClientRect(hwnd_, &r);
        win::fill_rect(dc, RECT{10, 52, r.right - 10, r.bottom - 10}, colors_.List_color);
    }
}

void Tsuperplaylist::FormPaint() {
    win::PaintDC dc(hwnd_);
    paint_frame(dc);
}

void Tsuperplaylist::FormMouseDown(int x, int y) {
    SetCapture(hwnd_);
    const FrameHit part = hit_frame(layout_, x, y).part;
    if (part == FrameHit::Close) {
        close_pressed_ = true;
        repaint_title();
    }
    // A border keeps the mouse, as a system frame does, however fast it moves.
    if (part == FrameHit::RightBorder || part == FrameHit::BottomBorder) sizing_ = part;
}

void Tsuperplaylist::FormMouseMove(int x, int y, bool left_down) {
    const FrameHitResult hit = hit_frame(layout_, x, y);
    if (left_down && !close_pressed_) {
        // The system's move loop runs until a release: never enter it on a
        // move that was queued before the button went up.
        const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
        if (sizing_ == FrameHit::None && (GetAsyncKeyState(button) & 0x8000) &&
            (hit.part == FrameHit::Title || hit.part == FrameHit::Close)) {
            ReleaseCapture();
            SendMessageA(hwnd_, WM_SYSCOMMAND, 0xF012, 0);  // move by dragging
            return;
        }
        RECT r;
        GetWindowRect(hwnd_, &r);
        // The frame's fixed parts stay whole.
        constexpr int kMinWidth = 150, kMinHeight = 100;
        if (sizing_ == FrameHit::RightBorder)
            SetWindowPos(hwnd_, nullptr, 0, 0, std::max(x + 5, kMinWidth), r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        else if (sizing_ == FrameHit::BottomBorder)
            SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, std::max(y + 5, kMinHeight),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int over = hit.part == FrameHit::Tool ? static_cast<int>(hit.tool) : -1;
    if (over != hover_tool_) {
        win::WindowDC dc(hwnd_);
        if (hover_tool_ >= 0) paint_tool(dc, hover_tool_, false);
        hover_tool_ = over;
        if (over >= 0) paint_tool(dc, over, true);
    }
}

void Tsuperplaylist::FormMouseUp(int x, int y) {
    sizing_ = FrameHit::None;
    if (GetCapture() == hwnd_) ReleaseCapture();
    const bool was_pressed = close_pressed_;
    close_pressed_ = false;
    const FrameHitResult hit = hit_frame(layout_, x, y);
    if (hit.part == FrameHit::ExplorerButton) fbr_butClick();
    if (hit.part == FrameHit::PlaylistButton) list_butClick();
    if (hit.part == FrameHit::Tool) open_tool_menu(hit.tool);
    if (was_pressed) {
        repaint_title();
        if (hit.part == FrameHit::Close) set_visible(false);
    }
}

void Tsuperplaylist::fbr_butClick() {
    page_ = 1;
    ShowWindow(list_, SW_HIDE);
    ShowWindow(tabs_, SW_HIDE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Tsuperplaylist::list_butClick() {
    page_ = 0;
    FormResize();
    ShowWindow(list_, SW_SHOW);
    ShowWindow(tabs_, SW_SHOW);
}

void Tsuperplaylist::open_tool_menu(ToolButton which) {
    const SkinRect& d = layout_.tool(which).dest;
    POINT p{d.left, d.bottom};
    ClientToScreen(hwnd_, &p);
    popup(build_menu(which), p);
}

void Tsuperplaylist::apply_columns(const DialogSettings& d) {
    const bool shown[6] = {d.Col_time, d.Col_track,  d.Col_album,
                           d.Col_year, d.Col_format, d.Col_filename};
    std::copy(shown, shown + 6, column_shown_);
    fit_columns();
}

void Tsuperplaylist::fit_columns() {
    for (int c = 2; c <= 7; ++c)
        ListView_SetColumnWidth(list_, c, column_shown_[c - 2] ? LVSCW_AUTOSIZE : 0);
}

void Tsuperplaylist::set_visible(bool on) {
    // Each showing reads the skin again and fits the columns.
    if (on && !visible_) {
        loadlistskin("Default");
        fit_columns();
    }
    if (on) update_tab();
    // A hidden window must not keep the mouse from the others.
    if (!on && GetCapture() == hwnd_) ReleaseCapture();
    visible_ = on;
    ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}

LRESULT Tsuperplaylist::on_notify(NMHDR* n) {
    if (n->hwndFrom != list_) return 0;
    switch (n->code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(n)->item;
            if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < model_.count())
                lstrcpynA(item.pszText, cell(model_.rows()[item.iItem], item.iSubItem).c_str(),
                          item.cchTextMax);
            return 0;
        }
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(n)->item;
            if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < model_.count() &&
                item.cchTextMax > 0) {
                const std::string& t = cell(model_.rows()[item.iItem], item.iSubItem);
                const int w =
                    MultiByteToWideChar(CP_ACP, 0, t.c_str(), -1, item.pszText, item.cchTextMax);
                if (w == 0) item.pszText[item.cchTextMax - 1] = 0;
            }
            return 0;
        }
        case LVN_ITEMCHANGED: {
            auto* c = reinterpret_cast<NMLISTVIEW*>(n);
            if (syncing_ || !(c->uChanged & LVIF_STATE)) return 0;
            const bool was = c->uOldState & LVIS_SELECTED, now = c->uNewState & LVIS_SELECTED;
            if (was != now && c->iItem >= 0) model_.select(c->iItem, now);
            if (c->iItem < 0 && !now) model_.select(model_.selected(), false);
            return 0;
        }
        case NM_DBLCLK:
            model_.ListView_classicDblClick();
            return 0;
        case LVN_KEYDOWN: {
            const WORD key = reinterpret_cast<NMLVKEYDOWN*>(n)->wVKey;
            const bool alt_only = (GetKeyState(VK_MENU) & 0x8000) &&
                                  !(GetKeyState(VK_CONTROL) & 0x8000) &&
                                  !(GetKeyState(VK_SHIFT) & 0x8000);
            model_.ListView_classicKeyDown(key, alt_only);
            return 0;
        }
        case LVN_BEGINDRAG:
            dragging_ = true;
            SetCapture(hwnd_);
            return 0;
        default:
            return 0;
    }
}

void Tsuperplaylist::finish_drag(POINT screen_pt) {
    dragging_ = false;
    ReleaseCapture();
    POINT p = screen_pt;
    ScreenToClient(list_, &p);
    RECT r;
    GetClientRect(list_, &r);
    if (!PtInRect(&r, p)) return;  // only drops on the list itself
    LVHITTESTINFO hit{};
    hit.pt = p;
    const int target =
        static_cast<int>(SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    model_.move_selected(target >= 0 ? target : model_.count());
}

MenuModel Tsuperplaylist::build_menu(ToolButton which) const {
    static constexpr Command kItems[][6] = {
        {Command::ListTrash},
        {Command::AddFile, Command::AddDir, Command::AddDirTree},
        {Command::SelectAll, Command::SelectNone, Command::SelectInvert},
        {Command::SortName, Command::SortTrack, Command::SortAlbum, Command::SortYear,
         Command::SortFormat, Command::SortFile},
        {Command::DeleteSelected, Command::DeleteAll},
    };
    MenuModel m;
    for (Command c : kItems[static_cast<int>(which)])
        if (c != Command::None) m.add(id_of(c), command_caption(c));
    return m;
}

// Right-click on the list: the five tool menus in one.
void Tsuperplaylist::show_menu(POINT at) {
    const struct {
        ToolButton b;
        const char* caption;
    } items[] = {{ToolButton::List, "List"},
                 {ToolButton::Add, "Add"},
                 {ToolButton::Select, "Select"},
                 {ToolButton::Sort, "Sort"},
                 {ToolButton::Delete, "Delete"}};
    MenuModel menu;
    for (const auto& i : items) {
        menu.add(0, i.caption).submenu = std::make_shared<MenuModel>(build_menu(i.b));
    }
    popup(menu, at);
}

void Tsuperplaylist::set_menu_options(MenuAnimation animation, std::function<int()> idle) {
    menu_options_.animation = animation;
    menu_options_.idle = std::move(idle);
}

void Tsuperplaylist::popup(const MenuModel& menu, POINT at) {
    menu_options_.colours = menu_colours(colors_);
    if (const MenuItem* item = widgets::track_menu(hwnd_, at, menu, menu_options_))
        run_command(static_cast<Command>(item->id));
}

void Tsuperplaylist::ButtonAdd_OnClick() {
    std::string name;
    if (!choose_open_file(hwnd_, "Add MediaFile", plugins_.Decoders.FilterString, "*.*",
                          last_folder_, name))
        return;
    model_.AddToSongList(name);
    last_folder_ = folder_of(name);
}

// A plain folder chooser until the program's own arrives.
void Tsuperplaylist::add_folder(bool recursive) {
    char folder[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = hwnd_;
    bi.pszDisplayName = folder;
    bi.lpszTitle = recursive ? "Add a folder and its subfolders" : "Add a folder";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE id = SHBrowseForFolderA(&bi);
    if (!id) return;
    const bool ok = SHGetPathFromIDListA(id, folder);
    CoTaskMemFree(id);
    if (!ok) return;
    if (recursive)
        model_.AddFolderRecursive(folder, "*.*");
    else
        model_.ButtonadddirClick(folder, "*.*");
}

bool Tsuperplaylist::file_exists(const std::string& path) {
    return FileExists(path);
}

bool Tsuperplaylist::IsSupported(const std::string& path) {
    return plugins_.Decoders.IsSupported(path);
}

void Tsuperplaylist::QuickInfo(const std::string& path, FileInfoRec& info) {
    plugins_.Decoders.QuickInfo(path, info);
}

std::string Tsuperplaylist::active_patterns() {
    std::string all;
    for (const std::string& p : plugins_.Decoders.ActivePatterns) all += p + "\n";
    return all;
}

std::vector<DirEntry> Tsuperplaylist::list_dir(const std::string& pattern) {
    std::vector<DirEntry> out;
    for (const FoundFile& f : find_files(pattern)) out.push_back(DirEntry{f.name, f.directory()});
    return out;
}

void Tsuperplaylist::error_box(const std::string& text) {
    MessageBoxA(hwnd_, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

// Long loops call this for every entry; looking at the queue every few
// milliseconds keeps the windows responsive at a fraction of the cost.
void Tsuperplaylist::process_messages() {
    const DWORD now = GetTickCount();
    if (now - last_pump_ < 20) return;
    last_pump_ = now;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitting_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Tsuperplaylist::begin_update() {
    if (update_depth_++ == 0) SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

void Tsuperplaylist::end_update() {
    if (update_depth_ > 0 && --update_depth_ == 0) {
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        rows_changed();
    }
}

void Tsuperplaylist::rows_changed() {
    if (!list_) return;
    SendMessageA(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(model_.count()), LVSICF_NOSCROLL);
    // Once per burst of changes: fitting measures every row.
    if (update_depth_ == 0 && !fit_posted_)
        fit_posted_ = PostMessageA(hwnd_, kFitColumns, 0, 0) != FALSE;
    sync_selection_to_view();
    update_tab();
    InvalidateRect(list_, nullptr, FALSE);
}

// The tab names the list in view by its working file's name.
void Tsuperplaylist::update_tab() {
    const std::string name = file_name_of(model_.current_file);
    if (!tabs_ || name == tab_name_) return;
    tab_name_ = name;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tab_name_.c_str());
    if (SendMessageA(tabs_, TCM_GETITEMCOUNT, 0, 0) == 0)
        SendMessageA(tabs_, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    else
        SendMessageA(tabs_, TCM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void Tsuperplaylist::sync_selection_to_view() {
    syncing_ = true;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    if (model_.selected() >= 0)
        ListView_SetItemState(list_, model_.selected(), LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    syncing_ = false;
}

void Tsuperplaylist::selection_changed(int) {
    if (list_) sync_selection_to_view();
}

void Tsuperplaylist::ensure_visible(int row) {
    ListView_EnsureVisible(list_, row, FALSE);
}

void Tsuperplaylist::timer_changed(bool enabled) {
    if (enabled)
        SetTimer(hwnd_, kEndOfTrackTimer, 1000, nullptr);
    else
        KillTimer(hwnd_, kEndOfTrackTimer);
}
