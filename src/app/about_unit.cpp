#include <windows.h>
#undef TextOut

#include "app/about_unit.h"
#include "base/program_files.h"

namespace {

constexpr char kClassName[] = "Tvl_about";
constexpr UINT_PTR kTimerId = 1;
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;

int CALLBACK note_found(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool face_exists(const char* face) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    win::WindowDC screen(nullptr);
    EnumFontFamiliesExA(screen, &lf, note_found, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// "MS Serif" is missing on some systems: another serif face takes its place.
const char* available_face(const char* face) {
    if (lstrcmpiA(face, "MS Serif") != 0 || face_exists(face)) return face;
    for (const char* other : {"Times New Roman", "DejaVu Serif", "Liberation Serif"})
        if (face_exists(other)) return other;
    return face;
}

std::string with_backslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

}  // namespace

bool Tvl_about::create(HINSTANCE instance, HWND owner, const std::string& program_folder) {
    using namespace about;
    flame_.SetSize(kSize, kSize, 8);
    fill_flame_palette(flame_);
    frame_.SetSize(kSize, -kSize, 24);
    frame_.SetTransparent(true);
    const std::string logo_path = with_backslash(program_folder) + program_files::kAboutPicture;
    if (GetFileAttributesA(logo_path.c_str()) != INVALID_FILE_ATTRIBUTES &&
        logo_.LoadFromFile(logo_path) && logo_.Width <= 4 * kSize && logo_.AbsHeight <= 4 * kSize)
        fed_ = make_flame_logo(logo_, flame_.Info.colors);
    for (int i = 0; i < kFontCount; ++i) {
        LOGFONTA lf{};
        lf.lfHeight = kFonts[i].height;
        lf.lfWidth = kFonts[i].width;
        lf.lfWeight = kFonts[i].weight;
        lf.lfItalic = kFonts[i].italic;
        lstrcpynA(lf.lfFaceName, available_face(kFonts[i].face), LF_FACESIZE);
        fonts_[i].reset(CreateFontIndirectA(&lf));
    }
    random_.seed(GetTickCount());

    RECT r{0, 0, kSize, kSize};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    const Origin at =
        window_origin(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN),
                      GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME),
                      GetSystemMetrics(SM_CYCAPTION));
    win::WindowClass wc;
    wc.name = kClassName;
    return create_window(instance, wc, 0, "Veltrona - About", kStyle, at.left, at.top,
                         r.right - r.left, r.bottom - r.top, owner);
}

void Tvl_about::draw_texts() {
    HDC dc = frame_.DC();
    if (!dc) return;
    using namespace about;
    for (int i = 0; i < kTextCount; ++i) {
        const TextLine& t = kTexts[i];
        win::Selected font(dc, fonts_[t.font].get());
        const int len = lstrlenA(t.text);
        ::SetTextColor(dc, RGB(0, 0, 0));
        TextOutA(dc, t.x + kShadowDx, t.y + kShadowDy, t.text, len);
        ::SetTextColor(dc, t.colour);
        TextOutA(dc, t.x, t.y, t.text, len);
    }
    win::fill_rect(dc, RECT{kRuleLeft, kRuleY, kRuleRight + 1, kRuleY + 1}, kRuleColour);
}

void Tvl_about::tick() {
    using namespace about;
    if (flame_.AbsHeight < 4) return;
    flame_step(flame_.Bits, flame_.BytesPerLine, flame_.AbsHeight,
               static_cast<uint32_t>(random_() % 10));
    feed_logo(flame_, fed_, logo_left(flame_.Width), kLogoTop);
    CopyRect(frame_, 0, 0, kSize, kSize, flame_, 0, 0);
    draw_texts();
    if (hwnd_) {
        win::WindowDC dc(hwnd_);
        frame_.Draw(dc, 0, 0);
    }
    Sleep(kPauseMs);
}

LRESULT Tvl_about::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            SetTimer(hwnd_, kTimerId, about::kTimerMs, nullptr);
            return 0;
        case WM_TIMER:
            if (wp == kTimerId) tick();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            win::PaintDC dc(hwnd_);
            frame_.Draw(dc, 0, 0);
            return 0;
        }
        case WM_CLOSE: {
            // The owner comes back before the box goes, so it keeps the focus.
            const HWND owner = GetWindow(hwnd_, GW_OWNER);
            if (owner) EnableWindow(owner, TRUE);
            DestroyWindow(hwnd_);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(hwnd_, kTimerId);
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}

void show_about(HINSTANCE instance, HWND owner, const std::string& program_folder, bool on_top) {
    Tvl_about box;
    if (!box.create(instance, owner, program_folder)) return;
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(box.handle(), SW_SHOW);
    SetWindowPos(box.handle(), on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    MSG msg;
    while (box.handle()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // A quit request ends the box and goes on to the owner's loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
}
