#include "settings/init_form.h"

#include "settings/file_types_page.h"

#include "settings/dialog_rules.h"
#include "settings/save_load_sett.h"
#include "settings/vl_lang_func.h"
#include "win/files.h"

namespace {

constexpr const char* kPanelClass = "TinitialPanel";
constexpr int kTreeWidth = 122, kTreeHeight = 319;
constexpr int kPanelX = 144, kPanelY = 8, kPanelWidth = 279, kPanelHeight = 319;
constexpr int kTitleHeight = 20;

}  // namespace

Tinitial::Tinitial(HINSTANCE instance, SettingsHost& host, DialogSettings& model, KeyStore& store,
                   std::string program_folder)
    : instance_(instance),
      host_(host),
      model_(model),
      store_(store),
      folder_(std::move(program_folder)) {
    panels_ = {{100, "sys_pan", "System Settings"},
               {102, "plug_pan", "Plugins"},
               {103, "file_pan", "File types"},
               {104, "lang_pan", "Languages  - underconstruction"},
               {106, "otf_pan", "Output Text Files"},
               {107, "stud_pan", "Studios"},
               {206, "dis_pan", "Display"},
               {207, "ave_pan", "Advanced Video Effects (AVE)"},
               {205, "playskin_pan", "Player's Skin  - underconstruction"},
               {208, "plexp_pan", "PlayList && Explorer"}};
}

Tinitial::~Tinitial() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Tinitial::create(HWND owner) {
    WNDCLASSA pc{};
    pc.lpfnWndProc = panel_proc;
    pc.hInstance = instance_;
    pc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    pc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    pc.lpszClassName = kPanelClass;
    if (!RegisterClassA(&pc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_TOOLWINDOW;
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    if (!create_window(instance_, wc, ex_style, "Settings", style, x, y, w, h, owner)) return false;
    FormCreate();
    return true;
}

// What the player needs of the dialog from the start: the effect list, the
// dialog group of settings and the selected effect. The pages' controls are
// made when the dialog is first shown (make_pages): that is most of the
// dialog's cost, and nobody sees them before.
void Tinitial::FormCreate() {
    effects_ = find_file_names(folder_ + "ave\\*.ave");
    load_dialog_settings(store_, model_, effects_);
    host_.menu_animation_changed();
    host_.columns_changed();
    const int i = model_.ave_index;
    if (i >= 0 && static_cast<size_t>(i) < effects_.size())
        host_.select_effect(effects_[static_cast<size_t>(i)], ave_init_text_, ave_frame_text_);
}

void Tinitial::make_pages() {
    if (setttree_) return;
    font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf{};
    GetObjectA(font_, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    bold_font_.reset(CreateFontIndirectA(&lf));
    tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                            0, 0, hwnd_, nullptr, instance_, nullptr);
    if (tips_) SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 400);

    setttree_ =
        add(hwnd_, WC_TREEVIEWA, "setttree", "",
            WS_BORDER | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP, 8, 8, kTreeWidth, kTreeHeight);
    build_tree();
    for (Panel& p : panels_) {
        p.hwnd =
            CreateWindowExA(0, kPanelClass, p.name, WS_CHILD | WS_CLIPSIBLINGS, kPanelX, kPanelY,
                            kPanelWidth, kPanelHeight, hwnd_, nullptr, instance_, nullptr);
        SetWindowLongPtrA(p.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        controls_[p.name] = p.hwnd;
        add(p.hwnd, "STATIC", (std::string(p.name) + "_cap").c_str(), p.title, SS_OWNERDRAW, 0, 0,
            kPanelWidth, kTitleHeight);
    }
    create_system_page(panels_[0].hwnd);
    create_plugins_page(panels_[1].hwnd);
    // The File types page keeps its own controls and rules.
    file_page_ =
        std::make_unique<FileTypesPage>(folder_, [this] { return host_.declared_patterns(); });
    file_page_->create(panels_[2].hwnd);
    create_language_page(panels_[3].hwnd);
    create_output_page(panels_[4].hwnd);
    create_studios_page(panels_[5].hwnd);
    create_display_page(panels_[6].hwnd);
    create_ave_page(panels_[7].hwnd);
    create_skin_page(panels_[8].hwnd);
    create_playlist_page(panels_[9].hwnd);

    // The pages as the start left them: the effects, the dialog group, the
    // plugin tree, the selected effect's text, the System page.
    fill_effect_box();
    model_to_controls();
    build_plugin_tree();
    fill_effect_memos();
    fill_skins();
    fill_languages();
    page_ = 100;
    ShowWindow(panels_[0].hwnd, SW_SHOW);
    TreeView_SelectItem(setttree_, nodes_[0]);
}

void Tinitial::FormShow() {
    TreeView_Expand(setttree_, nodes_[0], TVE_EXPAND);
    TreeView_Expand(setttree_, nodes_[6], TVE_EXPAND);
    TreeView_Expand(setttree_, nodes_[7], TVE_EXPAND);
    if (HTREEITEM root = TreeView_GetRoot(plugin_tree))
        TreeView_Expand(plugin_tree, root, TVE_EXPAND);
    fill_studios();
    if (file_page_) file_page_->on_show();
    const PlayerSettings& s = host_.player_settings();
    fill_np_tab(win_tab_, s.win);
    fill_np_tab(dos_tab_, s.dos);
    for (size_t i = 0; i < tray_cbs_.size(); ++i)
        SendMessageA(tray_cbs_[i], BM_SETCHECK, s.show_tray[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    model_to_controls();
}

void Tinitial::FormDestroy() {
    save_dialog_settings(store_, model_, effects_);
}

void Tinitial::show_page(int page) {
    make_pages();
    if (Panel* p = panel_of_page(page))
        for (int n = 0; n < kSettingsNodes; ++n)
            if (kSettingsTree[n].page == p->page) TreeView_SelectItem(setttree_, nodes_[n]);
    if (!IsWindowVisible(hwnd_)) {
        FormShow();
        ShowWindow(hwnd_, SW_SHOW);
    }
    SetForegroundWindow(hwnd_);
}

void Tinitial::model_changed() {
    model_to_controls();
}

HWND Tinitial::control(const std::string& name) const {
    if (auto it = controls_.find(name); it != controls_.end()) return it->second;
    return file_page_ ? file_page_->control(name) : nullptr;
}

Tinitial::Panel* Tinitial::panel_of_page(int page) {
    for (Panel& p : panels_)
        if (p.page == page) return &p;
    return nullptr;
}

void Tinitial::build_tree() {
    for (int n = 0; n < kSettingsNodes; ++n) {
        const SettingsNode& node = kSettingsTree[n];
        TVINSERTSTRUCTA ins{};
        ins.hParent = node.parent < 0 ? TVI_ROOT : nodes_[static_cast<size_t>(node.parent)];
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<char*>(node.text);
        ins.item.lParam = node.page;
        nodes_[static_cast<size_t>(n)] = reinterpret_cast<HTREEITEM>(
            SendMessageA(setttree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    }
}

// A node brings its page to the front; "Interface" has none and leaves the
// page in front as it is.
void Tinitial::setttreeChange() {
    const HTREEITEM sel = TreeView_GetSelection(setttree_);
    if (!sel) return;
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = sel;
    if (!SendMessageA(setttree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
    Panel* next = panel_of_page(static_cast<int>(item.lParam));
    if (!next || next->page == page_) return;
    if (next->page == 102) {
        active_copy_ = host_.active_patterns();
        plugin_treeChange();
    }
    for (Panel& p : panels_)
        if (&p != next) ShowWindow(p.hwnd, SW_HIDE);
    ShowWindow(next->hwnd, SW_SHOW);
    page_ = next->page;
}

HWND Tinitial::add(HWND parent, const char* cls, const char* name, const char* text, DWORD style,
                   int x, int y, int w, int h, DWORD ex_style) {
    HWND c = CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                             nullptr, instance_, nullptr);
    if (!c) return nullptr;
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (name && *name) controls_[name] = c;
    return c;
}

HWND Tinitial::label(HWND parent, const char* name, const char* text, int x, int y, int w, int h) {
    return add(parent, "STATIC", name, text, SS_LEFT | SS_NOPREFIX, x, y, w, h);
}

HWND Tinitial::button(HWND parent, const char* name, const char* text, int x, int y, int w, int h) {
    return add(parent, "BUTTON", name, text, WS_TABSTOP | BS_PUSHBUTTON, x, y, w, h);
}

HWND Tinitial::check(HWND parent, const char* name, const char* text, int x, int y, int w) {
    return add(parent, "BUTTON", name, text, WS_TABSTOP | BS_AUTOCHECKBOX, x, y, w, 16);
}

HWND Tinitial::edit(HWND parent, const char* name, const char* text, int x, int y, int w, int h) {
    return add(parent, "EDIT", name, text, WS_TABSTOP | ES_AUTOHSCROLL, x, y, w, h,
               WS_EX_CLIENTEDGE);
}

Tinitial::RadioGroup Tinitial::radio_group(HWND parent, const char* name, const char* title,
                                           const std::vector<const char*>& items, int x, int y,
                                           int w, int h) {
    RadioGroup g;
    g.box = add(parent, "BUTTON", name, title, BS_GROUPBOX, x, y, w, h);
    int row = y + 15;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string item_name = std::string(name) + "_item" + std::to_string(i);
        g.buttons.push_back(add(parent, "BUTTON", item_name.c_str(), items[i],
                                BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), x + 8, row, w - 14,
                                16));
        row += 16;
    }
    return g;
}

int Tinitial::RadioGroup::index() const {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (SendMessageA(buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
    return -1;
}

void Tinitial::RadioGroup::set(int i) const {
    for (size_t b = 0; b < buttons.size(); ++b)
        SendMessageA(buttons[b], BM_SETCHECK,
                     static_cast<int>(b) == i ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Tinitial::RadioGroup::find(HWND h) const {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == h) return static_cast<int>(i);
    return -1;
}

void Tinitial::hint(HWND control, const char* text) {
    if (!tips_ || !control) return;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// The page title: a white-to-blue gradient with white text.
void Tinitial::draw_title(const DRAWITEMSTRUCT& d) {
    const RECT& r = d.rcItem;
    const int w = r.right - r.left;
    for (int x = 0; x < w; ++x) {
        const int t = w > 1 ? x * 255 / (w - 1) : 255;
        win::Brush b(CreateSolidBrush(RGB(255 - t, 255 - t, 255 - t / 2)));
        const RECT col{r.left + x, r.top, r.left + x + 1, r.bottom};
        FillRect(d.hDC, &col, b.get());
    }
    char text[kMaxCaption + 1];
    GetWindowTextA(d.hwndItem, text, sizeof text);
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, RGB(255, 255, 255));
    win::Selected f(d.hDC, bold_font_.get());
    RECT tr{r.left + 6, r.top, r.right - 4, r.bottom};
    DrawTextA(d.hDC, text, -1, &tr, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

LRESULT CALLBACK Tinitial::panel_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Tinitial*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) return self->panel_message(hwnd, msg, wp, lp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT Tinitial::panel_message(HWND panel, UINT msg, WPARAM wp, LPARAM lp) {
    if (file_page_ && panel == panels_[2].hwnd) {
        LRESULT result = 0;
        if (file_page_->on_message(msg, wp, lp, result)) return result;
    }
    switch (msg) {
        case WM_COMMAND:
            if (!loading_ && on_command(reinterpret_cast<HWND>(lp), HIWORD(wp))) return 0;
            break;
        case WM_HSCROLL:
            if (!loading_) on_scroll(reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY: {
            const auto* n = reinterpret_cast<const NMHDR*>(lp);
            if (n->hwndFrom == plugin_tree && n->code == TVN_SELCHANGEDA) plugin_treeChange();
            if (n->hwndFrom == ext_list && n->code == LVN_ITEMCHANGED && !filling_ext_) {
                const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
                if ((lv->uChanged & LVIF_STATE) &&
                    ((lv->uNewState ^ lv->uOldState) & LVIS_STATEIMAGEMASK))
                    ext_listClick();
            }
            if (n->hwndFrom == otf_tabs_ && n->code == TCN_SELCHANGE) np_tab_change();
            return 0;
        }
        case WM_DRAWITEM: {
            const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (d.hwndItem == osc_col_L || d.hwndItem == osc_col_R)
                draw_colour_button(d);
            else if (d.hwndItem == Image1)
                draw_preview(d);
            else
                draw_title(d);
            return TRUE;
        }
        default:
            break;
    }
    return DefWindowProcA(panel, msg, wp, lp);
}

LRESULT Tinitial::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NOTIFY: {
            const auto* n = reinterpret_cast<const NMHDR*>(lp);
            if (n->hwndFrom == setttree_ && n->code == TVN_SELCHANGEDA) setttreeChange();
            return 0;
        }
        case WM_CLOSE:
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        case WM_DESTROY:
            FormDestroy();
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}
