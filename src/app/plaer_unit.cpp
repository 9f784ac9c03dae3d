#include "app/plaer_unit.h"

#include <shellapi.h>

#include <cstdlib>
#include <ctime>

#include "app/path_rules.h"
#include "app/win_files.h"
#include "playlist/list_files.h"

namespace {

constexpr int kFaceWidth = 275;
constexpr int kFaceHeight = 116;
constexpr UINT kMenuExit = 1000;
constexpr UINT kMenuStudioFirst = 2000;
constexpr UINT kFirstTrayIcon = 100;
constexpr UINT kLastTrayIcon = 108;

}  // namespace

TQELAmp_Player::TQELAmp_Player(HINSTANCE instance, std::string arg)
    : instance_(instance), arg_(std::move(arg)) {}

TQELAmp_Player::~TQELAmp_Player() = default;

bool TQELAmp_Player::create() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, kClassName, PlayerCore::kVersionCaption, WS_POPUP | WS_SYSMENU |
                            WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, kFaceWidth, kFaceHeight,
                            nullptr, nullptr, instance_, this);
    return hwnd_ != nullptr;
}

void TQELAmp_Player::show() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

LRESULT CALLBACK TQELAmp_Player::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TQELAmp_Player*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TQELAmp_Player*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self ? self->handle_message(msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT TQELAmp_Player::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SHOWWINDOW:
            if (wp && !shown_) {
                shown_ = true;
                FormShow();
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FormActivate();
            break;
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST: {
            // Until the skin brings its own caption bar, the whole face drags the window.
            LRESULT hit = DefWindowProcA(hwnd_, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_NCRBUTTONUP:
        case WM_CONTEXTMENU: {
            POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            show_menu(p);
            return 0;
        }
        case WM_COMMAND: {
            UINT id = LOWORD(wp);
            if (id == kMenuExit) {
                SendMessageA(hwnd_, WM_CLOSE, 0, 0);
            } else if (id >= kMenuStudioFirst && studio_menu_) {
                char caption[256] = {};
                GetMenuStringA(studio_menu_, id, caption, sizeof caption, MF_BYCOMMAND);
                TStudio& studios = plugins_->Studios;
                studios.LaunchStudio(studios.IndexOfName(caption), shell_open_program);
            }
            return 0;
        }
        case WM_CLOSE:
            closeplayer();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            FormDestroy();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

void TQELAmp_Player::FormCreate() {
    dc_ = GetDC(hwnd_);
    skin_name_ = "Default";
    std::srand(static_cast<unsigned>(GetTickCount()));
    loader_.set_app_window(hwnd_);
    plugins_ = std::make_unique<TQEL_plugin>(loader_, boxes_);

    SYSTEMTIME now;
    GetLocalTime(&now);
    core_.folders =
        FolderValues::compute(module_path(), temp_folder(), now.wHour, now.wMinute, now.wSecond);
    core_.console.clear();
    core_.started_from_playlist = false;

    plugins_->SetPluginFolder(core_.folders.plugins);
    plugins_->SetCodecsFolder(core_.folders.codecs);
    plugins_->ScanPlugins();
    plugins_->Studios.LoadStudios();
    rebuild_studio_menu();
}

void TQELAmp_Player::rebuild_studio_menu() {
    if (studio_menu_) DestroyMenu(studio_menu_);
    studio_menu_ = CreatePopupMenu();
    const TStudio& studios = plugins_->Studios;
    for (int i = 0; i < studios.StudioCount(); ++i)
        if (!AppendMenuA(studio_menu_, MF_STRING, kMenuStudioFirst + i, studios.Names[i].c_str()))
            break;
}

void TQELAmp_Player::FormShow() {
    // The skin and the hover texts come with the face; until then the face is drawn plainly.
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQELAmp_Player::FormActivate() {
    if (!core_.first_activation) return;
    core_.activate(arg_, list_show_, *this);
}

void TQELAmp_Player::closeplayer() {
    if (closed_) return;
    closed_ = true;
    TDecoder_plugin& dec = plugins_->Decoders;
    if (dec.GetState() == 4) dec.Stop();
    plugins_->Studios.SaveStudios();
    for (UINT id = kFirstTrayIcon; id <= kLastTrayIcon; ++id) {
        NOTIFYICONDATAA nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = hwnd_;
        nid.uID = id;
        Shell_NotifyIconA(NIM_DELETE, &nid);
    }
}

void TQELAmp_Player::FormDestroy() {
    delete_working_folder(core_.folders.working);
    if (studio_menu_) DestroyMenu(studio_menu_);
    studio_menu_ = nullptr;
    plugins_.reset();
    if (dc_) ReleaseDC(hwnd_, dc_);
    dc_ = nullptr;
}

void TQELAmp_Player::FormPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r{0, 0, kFaceWidth, kFaceHeight};
    HBRUSH body = CreateSolidBrush(RGB(38, 44, 56));
    FillRect(dc, &r, body);
    DeleteObject(body);
    RECT band{0, 0, kFaceWidth, 16};
    HBRUSH band_brush = CreateSolidBrush(RGB(64, 84, 120));
    FillRect(dc, &band, band_brush);
    DeleteObject(band_brush);
    RECT panel{8, 24, kFaceWidth - 8, kFaceHeight - 8};
    FillRect(dc, &panel, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    SetBkMode(dc, TRANSPARENT);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ old = SelectObject(dc, font);
    char caption[256];
    GetWindowTextA(hwnd_, caption, sizeof caption);
    SetTextColor(dc, RGB(230, 236, 245));
    TextOutA(dc, 6, 2, caption, lstrlenA(caption));
    SetTextColor(dc, RGB(96, 230, 120));
    int y = 28;
    for (const std::string& line : core_.console) {
        if (y > panel.bottom - 14) break;
        RECT lr{panel.left + 4, y, panel.right - 4, y + 14};
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &lr,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        y += 14;
    }
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

void TQELAmp_Player::show_menu(POINT at) {
    HMENU menu = CreatePopupMenu();
    if (studio_menu_ && GetMenuItemCount(studio_menu_) > 0)
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(studio_menu_), "Studios");
    AppendMenuA(menu, MF_STRING, kMenuExit, "Exit");
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    RemoveMenu(menu, 0, MF_BYPOSITION);  // the studio menu outlives this popup
    DestroyMenu(menu);
}

bool TQELAmp_Player::file_exists(const std::string& path) { return FileExists(path); }

void TQELAmp_Player::play_media(const std::string& path) {
    if (path.empty()) return;
    core_.console = {"> Loading file:", "> " + file_name_of(path), "> Please wait..."};
    console_changed();
    plugins_->Decoders.OpenForPlayback(path);
    current_file_ = path;
    plugins_->Decoders.Play();
    plugins_->Decoders.GetFileInfo(file_info_);
}

// The playlist window brings list loading and playing from a list.
void TQELAmp_Player::play_vl2_list(const std::string&) {}
void TQELAmp_Player::play_m3u_list(const std::string&) {}
void TQELAmp_Player::load_default_playlist(const std::string&) {}

void TQELAmp_Player::new_list() {
    CreateEmptyList(NewListName(core_.folders.working, FileExists));
}

void TQELAmp_Player::console_changed() { InvalidateRect(hwnd_, nullptr, FALSE); }

void TQELAmp_Player::show_playlist(bool visible) {
    if (playlist_) ShowWindow(playlist_, visible ? SW_SHOWNA : SW_HIDE);
}
