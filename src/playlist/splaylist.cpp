#include "playlist/splaylist.h"

#include <commctrl.h>
#include <commdlg.h>

#include <iterator>

#include <algorithm>
#include <array>

#include "base/ini_file.h"
#include "base/program_files.h"
#include "base/paths.h"
#include "playlist/column_fit.h"
#include "plugins/plug_eng.h"
#include "settings/save_load_sett.h"
#include "settings/vl_help.h"
#include "win/files.h"
#include "win/handles.h"

namespace {

constexpr UINT_PTR kEndOfTrackTimer = 1;
constexpr int kListId = 10;
constexpr int kTabHeight = widgets::TabSet::kHeight;
// Posted when rows change: the shown columns fit their contents again.
constexpr UINT kFitColumns = WM_APP + 1;

// The system's locale-aware, case-sensitive comparison.
int system_compare(const std::string& a, const std::string& b) {
    return lstrcmpA(a.c_str(), b.c_str());
}

// The row keys of the list view; Alt+I counts only with Alt alone held.
void list_key_down(PlaylistModel& model, WPARAM key, bool alt) {
    const bool alt_only =
        alt && !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000);
    model.ListView_classicKeyDown(static_cast<int>(key), alt_only);
}

// The list view makes LVN_KEYDOWN of WM_KEYDOWN only; keys pressed with Alt
// come as WM_SYSKEYDOWN and are handed to the model here.
LRESULT CALLBACK list_sys_keys(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR model) {
    if (msg == WM_SYSKEYDOWN) {
        // Bit 29: the key came with Alt held.
        list_key_down(*reinterpret_cast<PlaylistModel*>(model), wp, (lp & (1 << 29)) != 0);
        if (wp == 'I') return 0;
    }
    // The menu key would look for a mnemonic and beep.
    if (msg == WM_SYSCHAR && (wp == 'i' || wp == 'I')) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, list_sys_keys, 0);
    return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

Tsuperplaylist::Tsuperplaylist(HINSTANCE instance, TQEL_plugin& plugins, PlaylistPlayback& playback,
                               std::string& last_folder)
    : instance_(instance),
      plugins_(plugins),
      last_folder_(last_folder),
      model_(*this, playback, system_compare),
      lists_(model_, *this, last_folder),
      playback_(playback) {
    model_.set_view(this);
}

Tsuperplaylist::~Tsuperplaylist() {
    model_.set_view(nullptr);
}

bool Tsuperplaylist::create(HWND owner, const PlayerSettings& geometry,
                            const std::string& program_folder) {
    program_folder_ = program_folder;
    explorer_start_ = geometry.Explorer;
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
    chostpl_.create(instance_, program_folder,
                    [this](const std::string& t, const std::string& n) { export_list(t, n); });
    select_dir_.create(instance_, [this](const std::string& d, const std::string& f, bool sub) {
        add_chosen_folder(d, f, sub);
    });
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
        case Command::ListNew:
            lists_.lst_men_newClick();
            break;
        case Command::ListLoad:
            lists_.load();
            break;
        case Command::ListSave:
            lists_.save();
            break;
        case Command::ListSaveAs:
            lists_.save_as();
            break;
        case Command::ListClose:
            lists_.close();
            break;
        case Command::AddList:
            lists_.add_list();
            break;
        case Command::ListTrash:
            model_.toggle_list_trash();
            break;
        case Command::ListHelp: {
            // On top when the player is.
            const HWND owner = GetWindow(hwnd_, GW_OWNER);
            show_help(instance_, hwnd_, program_folder_ + program_files::kHelpPlaylist,
                      owner && (GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
            break;
        }
        case Command::AddFile:
            ButtonAdd_OnClick();
            break;
        case Command::AddDir:
            select_dir_.FormShow(hwnd_);
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
    SetWindowSubclass(list_, list_sys_keys, 0, reinterpret_cast<DWORD_PTR>(&model_));
    tabs_.create(instance_, hwnd_);
    tabs_.on_change = [this](int k) { lists_.list_managerChange(k); };
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

// The explorer page is made when it is first shown: its shell tree and the
// start folder's listing cost more than the rest of the window together.
void Tsuperplaylist::make_explorer() {
    if (explorer_.handle()) return;
    ExplorerActions a;
    a.IsSupported = [this](const std::string& p) { return plugins_.Decoders.IsSupported(p); };
    a.QuickInfo = [this](const std::string& p, FileInfoRec& f) {
        plugins_.Decoders.QuickInfo(p, f);
    };
    // Playing from the explorer leaves the playlist alone.
    a.play = [this](const std::string& p) {
        model_.disable_timer();
        playback_.set_started_from_playlist(false);
        playback_.loadfile(p);
        playback_.playfile();
    };
    a.add_file = [this](const std::string& p) {
        lists_.ensure_list();
        model_.AddToSongList(p);
    };
    a.add_folder = [this](const std::string& p) { select_dir_.FormShow(hwnd_, p); };
    a.file_info = [this](const std::string& p) {
        model_.context = SelectionContext{1, 0, 0};
        if (file_info_) file_info_->open_explorer_file(p);
    };
    a.name_rules = [this] {
        NameRules r;
        if (dialog_) {
            r.extra_chars = dialog_->clean_chars;
            r.replacement = dialog_->clean_replacement;
        }
        return r;
    };
    explorer_.create(instance_, hwnd_, std::move(a));
    if (!explorer_start_.empty()) explorer_.set_folder(explorer_start_);
    explorer_start_.clear();
}

void Tsuperplaylist::FormResize() {
    RECT r;
    GetClientRect(hwnd_, &r);
    layout_ = ListSkinLayout::for_size(r.right, r.bottom);
    if (list_) {
        const SkinRect page = list_page_rect(r.right, r.bottom, kTabHeight);
        MoveWindow(list_, page.left, page.top, page.width(), page.height(), TRUE);
        MoveWindow(tabs_.handle(), page.left, page.bottom, page.width(), kTabHeight, TRUE);
        place_explorer();
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Tsuperplaylist::loadlistskin(const std::string& skin_name) {
    list_skin_ = skin_name;
    const std::string folder = program_folder_ + "skins\\" + skin_name + "\\";
    skin_.LoadFromFile(folder + program_files::kSkinList);
    FormResize();
    colors_ = read_list_colors(IniFile::load(folder + program_files::kSkinColors));
    if (list_) {
        ListView_SetBkColor(list_, colors_.List_color);
        ListView_SetTextBkColor(list_, colors_.List_color);
        ListView_SetTextColor(list_, colors_.List_font);
        InvalidateRect(list_, nullptr, TRUE);
    }
    tabs_.set_colours(
        {colors_.Tabs_color, colors_.Tabs_sel, colors_.Tabs_unsel, colors_.Tabs_font});
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
    make_explorer();
    page_ = 1;
    ShowWindow(list_, SW_HIDE);
    ShowWindow(tabs_.handle(), SW_HIDE);
    place_explorer();
    ShowWindow(explorer_.handle(), SW_SHOW);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Tsuperplaylist::place_explorer() {
    if (!explorer_.handle()) return;
    RECT r;
    GetClientRect(hwnd_, &r);
    MoveWindow(explorer_.handle(), 10, 34, r.right - 30, r.bottom - 34 - 10, TRUE);
}

void Tsuperplaylist::list_butClick() {
    page_ = 0;
    if (explorer_.handle()) ShowWindow(explorer_.handle(), SW_HIDE);
    FormResize();
    ShowWindow(list_, SW_SHOW);
    ShowWindow(tabs_.handle(), SW_SHOW);
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

void Tsuperplaylist::set_visible(bool on) {
    // Each showing reads the skin again and fits the columns.
    if (on && !visible_) {
        loadlistskin(list_skin_);
        fit_columns();
    }
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
                lstrcpynA(item.pszText, row_cell(model_.rows()[item.iItem], item.iSubItem).c_str(),
                          item.cchTextMax);
            return 0;
        }
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(n)->item;
            if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < model_.count() &&
                item.cchTextMax > 0) {
                const std::string& t = row_cell(model_.rows()[item.iItem], item.iSubItem);
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
            list_key_down(model_, reinterpret_cast<NMLVKEYDOWN*>(n)->wVKey,
                          (GetKeyState(VK_MENU) & 0x8000) != 0);
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

// Command::None stands for a separator.
MenuModel Tsuperplaylist::build_menu(ToolButton which) const {
    static constexpr Command kItems[][9] = {
        {Command::ListNew, Command::ListLoad, Command::ListSave, Command::ListSaveAs,
         Command::ListClose, Command::None, Command::ListTrash, Command::None, Command::ListHelp},
        {Command::AddFile, Command::AddDir, Command::AddList},
        {Command::SelectAll, Command::SelectNone, Command::SelectInvert},
        {Command::SortName, Command::SortTrack, Command::SortAlbum, Command::SortYear,
         Command::SortFormat, Command::SortFile},
        {Command::DeleteSelected, Command::DeleteAll},
    };
    MenuModel m;
    const auto& items = kItems[static_cast<int>(which)];
    const auto* end = std::end(items);
    while (end != std::begin(items) && end[-1] == Command::None) --end;
    for (const auto* c = std::begin(items); c != end; ++c) {
        if (*c == Command::None)
            m.separator();
        else
            m.add(id_of(*c), command_caption(*c));
    }
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
    lists_.ensure_list();
    model_.AddToSongList(name);
    last_folder_ = folder_of(name);
}

void Tsuperplaylist::add_chosen_folder(const std::string& folder, const std::string& filter,
                                       bool subfolders) {
    lists_.ensure_list();
    if (subfolders)
        model_.AddFolderRecursive(folder, filter);
    else
        model_.ButtonadddirClick(folder, filter);
}

void Tsuperplaylist::play_list(const std::string& path, int filter) {
    if (!lists_.open_list(path, filter)) return;
    model_.current = 0;
    model_.playfromlist();
}

void Tsuperplaylist::export_list(const std::string& template_path, const std::string& list_name) {
    // Without a target from "Save &as" there is nowhere to write.
    if (!expander_ || lists_.export_target().empty()) return;
    std::vector<int32_t> records;
    records.reserve(static_cast<size_t>(model_.count()));
    for (int i = 0; i < model_.count(); ++i) records.push_back(model_.record_of(i));
    const ListLineExpander expand = expander_(model_.current_file, std::move(records), list_name);
    TemplateExportHooks hooks;
    hooks.pump = [this] { process_messages(); };
    hooks.terminating = [this] { return quitting_; };
    ExportWithTemplate(template_path, lists_.export_target(), model_.count(), expand, hooks);
}

bool Tsuperplaylist::choose_list_file(const ListFileDialog& d, const std::string& folder,
                                      std::string& path, int& filter) {
    char name[256] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = d.filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = d.title;
    const BOOL ok = d.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok || name[0] == 0) return false;
    path = name;
    filter = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool Tsuperplaylist::ask(const std::string& text) {
    return MessageBoxA(hwnd_, text.c_str(), "Warning", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void Tsuperplaylist::show_template_chooser() {
    chostpl_.FormShow(hwnd_);
}

void Tsuperplaylist::tabs_changed() {
    std::vector<std::string> names;
    for (const ListTab& t : lists_.tabs()) names.push_back(t.name);
    tabs_.set_tabs(names, lists_.current());
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
    InvalidateRect(list_, nullptr, FALSE);
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

void Tsuperplaylist::open_file_info(const std::string& path) {
    if (file_info_) file_info_->open_list_entry(path, model_.context.record);
}
