#include "widgets/popup_menu.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "win/handles.h"
#include "win/window.h"

namespace widgets {

namespace {

constexpr const char* kClassName = "VlPopupMenu";
constexpr int kAnimationSteps = 6;
constexpr DWORD kFrameMs = 20;
constexpr int kBorder = 1;

class MenuTracker;

SkinRect work_area_at(POINT p) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi))
        return SkinRect{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
    return SkinRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

COLORREF darker(COLORREF c) {
    return RGB(GetRValue(c) * 55 / 100, GetGValue(c) * 55 / 100, GetBValue(c) * 55 / 100);
}

// One open menu level: a popup window that shows one MenuModel.
class MenuWindow : public win::Window {
  public:
    MenuWindow(MenuTracker& tracker, const MenuModel& model, MenuWindow* parent)
        : tracker_(tracker), model_(model), parent_(parent) {}

    bool open(POINT at, const SkinRect* beside_item);
    void select(int item);
    int selected() const { return selected_; }
    const MenuModel& model() const { return model_; }
    MenuWindow* parent() const { return parent_; }
    MenuWindow* child() const { return child_.get(); }
    int child_item() const { return child_item_; }
    void open_child(int item, bool select_first);
    void close_child();
    // The item under a screen point, -1 over no item, -2 outside the body.
    int hit(POINT screen) const;
    // Advances the opening animation; false once it is complete.
    bool animate(DWORD now);

  protected:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void capture_background(int x, int y);
    void paint(HDC dc);
    void paint_item(HDC dc, size_t i);
    SkinRect screen_row(int item) const;

    MenuTracker& tracker_;
    const MenuModel& model_;
    MenuWindow* parent_;
    MenuLayout layout_;
    int body_w_ = 0, body_h_ = 0;
    int selected_ = -1;
    std::unique_ptr<MenuWindow> child_;
    int child_item_ = -1;
    win::MemoryDC background_dc_;  // the screen under the window, its shadow darkened
    win::Bitmap background_;
    HGDIOBJ old_background_ = nullptr;
    MenuAnimation animation_ = MenuAnimation::None;
    int step_ = kAnimationSteps;
    DWORD next_frame_ = 0;
};

class MenuTracker {
  public:
    MenuTracker(HWND owner, const MenuOptions& options);
    const MenuItem* run(const MenuModel& menu, POINT at);

    HWND owner() const { return owner_; }
    const MenuOptions& options() const { return options_; }
    const MenuMetrics& metrics() const { return metrics_; }
    HFONT font() const { return font_.get(); }
    HFONT title_font() const { return title_font_.get(); }
    int text_width(const std::string& text) const;
    void cancel() { done_ = true; }

  private:
    bool filter(MSG& msg);
    void key(UINT vk);
    void mnemonic(char c);
    void mouse(UINT msg, POINT screen);
    void activate(MenuWindow& w, int item);
    MenuWindow& deepest() const;
    MenuWindow* window_at(POINT screen, int& item) const;
    // Milliseconds until the next animation frame or submenu delay, or INFINITE.
    DWORD pending(DWORD now);

    HWND owner_;
    const MenuOptions& options_;
    MenuMetrics metrics_;
    win::Font font_;
    win::Font title_font_;
    std::unique_ptr<MenuWindow> root_;
    const MenuItem* chosen_ = nullptr;
    bool done_ = false;
    MenuWindow* hover_window_ = nullptr;
    int hover_item_ = -1;
    DWORD hover_at_ = 0;
    DWORD show_delay_ = 400;
};

bool g_open = false;

// ---- MenuWindow ----

bool MenuWindow::open(POINT at, const SkinRect* beside_item) {
    layout_ = layout_menu(
        model_, [this](const std::string& s) { return tracker_.text_width(s); },
        tracker_.metrics());
    body_w_ = layout_.width + 2 * kBorder;
    body_h_ = layout_.height + 2 * kBorder;
    const int shadow = tracker_.metrics().shadow;
    const int w = body_w_ + shadow, h = body_h_ + shadow;
    const SkinRect work = work_area_at(at);
    SkinPoint pos;
    if (beside_item && parent_) {
        RECT pr;
        GetWindowRect(parent_->handle(), &pr);
        pos = place_submenu(SkinRect{pr.left, pr.top, pr.right - shadow, pr.bottom - shadow},
                            *beside_item, w, h, work);
    } else {
        pos = place_menu(SkinPoint{at.x, at.y}, w, h, work);
    }
    capture_background(pos.x, pos.y);

    animation_ = tracker_.options().animation;
    if (animation_ == MenuAnimation::System) {
        BOOL on = FALSE, fade = FALSE;
        SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &on, 0);
        SystemParametersInfoA(SPI_GETMENUFADE, 0, &fade, 0);
        animation_ = !on    ? MenuAnimation::None
                     : fade ? MenuAnimation::FadeIn
                            : MenuAnimation::VerticalSlide;
    }
    DWORD ex = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    if (animation_ == MenuAnimation::FadeIn) ex |= WS_EX_LAYERED;
    const win::WindowClass wc{kClassName, CS_SAVEBITS, nullptr, nullptr};
    if (!create_window(GetModuleHandleA(nullptr), wc, ex, model_.title.c_str(), WS_POPUP, pos.x,
                       pos.y, w, h, tracker_.owner()))
        return false;
    step_ = animation_ == MenuAnimation::None ? kAnimationSteps : 0;
    next_frame_ = GetTickCount();
    animate(next_frame_);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    return true;
}

void MenuWindow::capture_background(int x, int y) {
    const int shadow = tracker_.metrics().shadow;
    const int w = body_w_ + shadow, h = body_h_ + shadow;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win::WindowDC screen(nullptr);
    background_dc_.reset(CreateCompatibleDC(screen));
    background_.reset(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!background_dc_ || !background_ || !bits) return;
    old_background_ = SelectObject(background_dc_.get(), background_.get());
    BitBlt(background_dc_.get(), 0, 0, w, h, screen, x, y, SRCCOPY);
    GdiFlush();
    // The shadow: the screen below the right and bottom edges, darkened.
    auto* px = static_cast<uint8_t*>(bits);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            const bool right = xx >= body_w_ && yy >= shadow;
            const bool below = yy >= body_h_ && xx >= shadow;
            if (!right && !below) continue;
            uint8_t* p = px + (static_cast<size_t>(yy) * w + xx) * 4;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] * 55 / 100);
        }
}

bool MenuWindow::animate(DWORD now) {
    if (!hwnd_ || step_ > kAnimationSteps) return false;
    if (static_cast<LONG>(now - next_frame_) < 0) return true;
    const int shadow = tracker_.metrics().shadow;
    const int w = body_w_ + shadow, h = body_h_ + shadow;
    const MenuFrame f = animation_frame(animation_, step_, kAnimationSteps, w, h);
    if (animation_ == MenuAnimation::FadeIn)
        SetLayeredWindowAttributes(hwnd_, 0, f.alpha, LWA_ALPHA);
    if (animation_ == MenuAnimation::VerticalSlide ||
        animation_ == MenuAnimation::HorizontalSlide) {
        if (step_ >= kAnimationSteps)
            SetWindowRgn(hwnd_, nullptr, TRUE);
        else
            win::set_window_region(hwnd_, win::Region(CreateRectRgn(0, 0, f.width, f.height)),
                                   TRUE);
    }
    ++step_;
    next_frame_ = now + kFrameMs;
    return step_ <= kAnimationSteps;
}

LRESULT MenuWindow::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            win::PaintDC dc(hwnd_);
            paint(dc);
            return 0;
        }
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            if (!parent_) tracker_.cancel();
            break;
        case WM_DESTROY:
            if (old_background_) SelectObject(background_dc_.get(), old_background_);
            old_background_ = nullptr;
            break;
        default:
            break;
    }
    return default_message(msg, wp, lp);
}

void MenuWindow::paint(HDC target) {
    const int shadow = tracker_.metrics().shadow;
    const int w = body_w_ + shadow, h = body_h_ + shadow;
    win::MemoryDC dc(CreateCompatibleDC(target));
    win::Bitmap buffer(CreateCompatibleBitmap(target, w, h));
    win::Selected keep(dc.get(), buffer.get());
    if (background_dc_) BitBlt(dc.get(), 0, 0, w, h, background_dc_.get(), 0, 0, SRCCOPY);
    const MenuColours& c = tracker_.options().colours;
    win::fill_rect(dc.get(), RECT{0, 0, body_w_, body_h_}, darker(c.back));
    win::fill_rect(dc.get(), RECT{kBorder, kBorder, body_w_ - kBorder, body_h_ - kBorder}, c.back);
    SetBkMode(dc.get(), TRANSPARENT);
    if (!model_.title.empty()) {
        const SkinRect& t = layout_.title;
        RECT band{t.left + kBorder, t.top + kBorder, t.right + kBorder, t.bottom + kBorder};
        win::fill_rect(dc.get(), band, c.title_back);
        win::Selected font(dc.get(), tracker_.title_font());
        SetTextColor(dc.get(), c.title_text);
        band.left += tracker_.metrics().text_padding;
        DrawTextA(dc.get(), model_.title.c_str(), -1, &band,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    for (size_t i = 0; i < model_.items.size(); ++i) paint_item(dc.get(), i);
    BitBlt(target, 0, 0, w, h, dc.get(), 0, 0, SRCCOPY);
}

void MenuWindow::paint_item(HDC dc, size_t i) {
    const MenuItem& item = model_.items[i];
    if (item.hidden) return;
    const MenuMetrics& m = tracker_.metrics();
    const MenuColours& c = tracker_.options().colours;
    const SkinRect& r = layout_.rows[i];
    RECT row{r.left + kBorder, r.top + kBorder, r.right + kBorder, r.bottom + kBorder};
    if (item.separator) {
        const int y = (row.top + row.bottom) / 2;
        win::fill_rect(dc, RECT{row.left + 4, y, row.right - 4, y + 1}, c.disabled);
        return;
    }
    const bool lit = static_cast<int>(i) == selected_ && item.enabled;
    if (lit) win::fill_rect(dc, row, c.select_back);
    const COLORREF ink = !item.enabled ? c.disabled : lit ? c.select_text : c.text;
    SetTextColor(dc, ink);
    win::Brush brush(CreateSolidBrush(ink));
    win::Selected pen(dc, GetStockObject(NULL_PEN));
    win::Selected fill(dc, brush.get());
    const int cx = row.left + m.check_width / 2, cy = (row.top + row.bottom) / 2;
    if (item.checked && item.radio) {
        Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
    } else if (item.checked) {
        const POINT tick[] = {{cx - 4, cy},     {cx - 1, cy + 3}, {cx + 4, cy - 3},
                              {cx + 4, cy - 1}, {cx - 1, cy + 5}, {cx - 4, cy + 2}};
        Polygon(dc, tick, 6);
    }
    if (item.submenu) {
        const int ax = row.right - m.arrow_width / 2;
        const POINT arrow[] = {{ax - 2, cy - 4}, {ax + 3, cy}, {ax - 2, cy + 4}};
        Polygon(dc, arrow, 3);
    }
    win::Selected font(dc, tracker_.font());
    RECT text{row.left + m.check_width + m.text_padding, row.top, row.right - m.arrow_width,
              row.bottom};
    DrawTextA(dc, item.caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

SkinRect MenuWindow::screen_row(int item) const {
    POINT o{0, 0};
    ClientToScreen(hwnd_, &o);
    const SkinRect& r = layout_.rows[static_cast<size_t>(item)];
    return SkinRect{o.x + r.left + kBorder, o.y + r.top + kBorder, o.x + r.right + kBorder,
                    o.y + r.bottom + kBorder};
}

int MenuWindow::hit(POINT screen) const {
    if (!hwnd_) return -2;
    POINT p = screen;
    ScreenToClient(hwnd_, &p);
    if (p.x < 0 || p.y < 0 || p.x >= body_w_ || p.y >= body_h_) return -2;
    return item_at(layout_, p.x - kBorder, p.y - kBorder);
}

void MenuWindow::select(int item) {
    if (item == selected_) return;
    selected_ = item;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void MenuWindow::open_child(int item, bool select_first) {
    if (item < 0 || !model_.items[static_cast<size_t>(item)].submenu) return;
    if (child_ && child_item_ == item) return;
    close_child();
    const MenuItem& it = model_.items[static_cast<size_t>(item)];
    if (!it.selectable() || it.submenu->visible_count() == 0) return;
    const SkinRect row = screen_row(item);
    child_ = std::make_unique<MenuWindow>(tracker_, *it.submenu, this);
    child_item_ = item;
    if (!child_->open(POINT{row.right, row.top}, &row)) {
        child_.reset();
        child_item_ = -1;
        return;
    }
    if (select_first) child_->select(next_selectable(*it.submenu, -1, 1));
}

void MenuWindow::close_child() {
    child_.reset();  // its window and its own children go with it
    child_item_ = -1;
}

// ---- MenuTracker ----

MenuTracker::MenuTracker(HWND owner, const MenuOptions& options)
    : owner_(owner), options_(options) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTA lf{};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        lf = ncm.lfMenuFont;
    else
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    font_.reset(CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    title_font_.reset(CreateFontIndirectA(&lf));
    UINT delay = 0;
    if (SystemParametersInfoA(SPI_GETMENUSHOWDELAY, 0, &delay, 0)) show_delay_ = delay;
    win::WindowDC dc(nullptr);
    win::Selected f(dc, font_.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    metrics_.item_height = std::max(metrics_.item_height, static_cast<int>(tm.tmHeight) + 4);
    metrics_.title_height = std::max(metrics_.title_height, static_cast<int>(tm.tmHeight) + 6);
}

int MenuTracker::text_width(const std::string& text) const {
    win::WindowDC dc(nullptr);
    win::Selected f(dc, font_.get());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

const MenuItem* MenuTracker::run(const MenuModel& menu, POINT at) {
    root_ = std::make_unique<MenuWindow>(*this, menu, nullptr);
    if (!root_->open(at, nullptr)) return nullptr;
    SetCapture(root_->handle());
    while (!done_) {
        MSG msg;
        while (!done_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                done_ = true;
                break;
            }
            if (filter(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done_ || !IsWindow(owner_) || GetCapture() != root_->handle()) break;
        DWORD wait = pending(GetTickCount());
        if (options_.idle) {
            const int idle = options_.idle();
            if (idle >= 0) wait = std::min(wait, static_cast<DWORD>(idle));
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
    done_ = true;
    if (root_->handle() && GetCapture() == root_->handle()) ReleaseCapture();
    root_.reset();
    return chosen_;
}

DWORD MenuTracker::pending(DWORD now) {
    DWORD wait = INFINITE;
    for (MenuWindow* w = root_.get(); w; w = w->child())
        if (w->animate(now)) wait = std::min<DWORD>(wait, kFrameMs);
    if (hover_window_) {
        const DWORD due = hover_at_ + show_delay_;
        if (static_cast<LONG>(now - due) >= 0) {
            if (hover_window_->selected() == hover_item_)
                hover_window_->open_child(hover_item_, false);
            hover_window_ = nullptr;
        } else {
            wait = std::min(wait, due - now);
        }
    }
    return wait;
}

MenuWindow& MenuTracker::deepest() const {
    MenuWindow* w = root_.get();
    while (w->child()) w = w->child();
    return *w;
}

MenuWindow* MenuTracker::window_at(POINT screen, int& item) const {
    // Submenus lie above their parents: look from the deepest up.
    std::vector<MenuWindow*> chain;
    for (MenuWindow* w = root_.get(); w; w = w->child()) chain.push_back(w);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const int h = (*it)->hit(screen);
        if (h != -2) {
            item = h;
            return *it;
        }
    }
    item = -1;
    return nullptr;
}

bool MenuTracker::filter(MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            TranslateMessage(&msg);  // mnemonics arrive as WM_CHAR
            key(static_cast<UINT>(msg.wParam));
            return true;
        case WM_CHAR:
        case WM_SYSCHAR:
            mnemonic(static_cast<char>(msg.wParam));
            return true;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return true;
        default:
            break;
    }
    if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
        (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)) {
        mouse(msg.message, msg.pt);
        return true;
    }
    return false;
}

void MenuTracker::key(UINT vk) {
    MenuWindow& d = deepest();
    switch (vk) {
        case VK_UP:
        case VK_DOWN:
            d.select(next_selectable(d.model(), d.selected(), vk == VK_UP ? -1 : 1));
            break;
        case VK_RIGHT:
            if (d.selected() >= 0) d.open_child(d.selected(), true);
            break;
        case VK_LEFT:
            if (d.parent()) d.parent()->close_child();
            break;
        case VK_RETURN:
        case VK_SPACE:
            if (d.selected() >= 0) activate(d, d.selected());
            break;
        case VK_ESCAPE:
            if (d.parent())
                d.parent()->close_child();
            else
                done_ = true;
            break;
        case VK_MENU:
        case VK_F10:
            done_ = true;
            break;
        default:
            break;
    }
}

void MenuTracker::mnemonic(char c) {
    MenuWindow& d = deepest();
    const std::vector<int> items = mnemonic_items(d.model(), c);
    if (items.size() == 1) {
        d.select(items[0]);
        activate(d, items[0]);
    } else if (!items.empty()) {
        // Several items share the letter: each press moves to the next.
        auto next = std::upper_bound(items.begin(), items.end(), d.selected());
        d.select(next == items.end() ? items.front() : *next);
    }
}

void MenuTracker::mouse(UINT msg, POINT screen) {
    int item = -1;
    MenuWindow* w = window_at(screen, item);
    switch (msg) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            if (!w) return;
            if (item >= 0 && !w->model().items[static_cast<size_t>(item)].selectable()) item = -1;
            if (item < 0 && w->child()) return;  // keep the path to an open submenu lit
            if (w->child() && w->child_item() != item) w->close_child();
            if (item != w->selected()) {
                w->select(item);
                if (item >= 0 && w->model().items[static_cast<size_t>(item)].submenu) {
                    hover_window_ = w;
                    hover_item_ = item;
                    hover_at_ = GetTickCount();
                }
            }
            return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            if (!w) done_ = true;  // a click elsewhere closes the menu and is spent
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (w && item >= 0) activate(*w, item);
            return;
        default:
            return;
    }
}

void MenuTracker::activate(MenuWindow& w, int item) {
    const MenuItem& it = w.model().items[static_cast<size_t>(item)];
    if (!it.selectable()) return;
    if (it.submenu) {
        w.open_child(item, true);
        return;
    }
    chosen_ = &it;
    done_ = true;
}

}  // namespace

const MenuItem* track_menu(HWND owner, POINT at, const MenuModel& menu,
                           const MenuOptions& options) {
    if (g_open || menu.visible_count() == 0) return nullptr;
    g_open = true;
    const MenuItem* chosen = nullptr;
    {
        MenuTracker tracker(owner, options);
        chosen = tracker.run(menu, at);
    }
    g_open = false;
    return chosen;
}

bool menu_is_open() {
    return g_open;
}

}  // namespace widgets
