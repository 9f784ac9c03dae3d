#include "settings/vl_help.h"

#include <richedit.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "settings/help_text.h"
#include "win/handles.h"

namespace {

struct CloseFile {
    void operator()(HANDLE h) const { CloseHandle(h); }
};

constexpr char kClassName[] = "Tvl_help_wnd";
constexpr char kErrorCaption[] = "VELTRona";

std::string system_message(DWORD code) {
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// The file's first bytes, up to the help window's limit; false with the
// system's reason when it cannot be read.
bool read_help_file(const std::string& path, std::string& out, std::string& reason) {
    HANDLE raw = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        reason = system_message(GetLastError());
        return false;
    }
    win::Unique<HANDLE, CloseFile> file(raw);
    out.assign(help::kMaxBytes, '\0');
    size_t got = 0;
    while (got < out.size()) {
        DWORD n = 0;
        if (!ReadFile(file.get(), out.data() + got, static_cast<DWORD>(out.size() - got), &n,
                      nullptr)) {
            reason = system_message(GetLastError());
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    out.resize(got);
    return true;
}

struct StreamSource {
    const std::string* text;
    size_t at;
};

DWORD CALLBACK stream_out_of(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* done) {
    auto* s = reinterpret_cast<StreamSource*>(cookie);
    const size_t n = std::min(static_cast<size_t>(size), s->text->size() - s->at);
    std::copy_n(s->text->data() + s->at, n, buffer);
    s->at += n;
    *done = static_cast<LONG>(n);
    return 0;
}

bool load_rich_edit() {
    static win::Module module(LoadLibraryA("riched20.dll"));
    return static_cast<bool>(module);
}

// Closed windows are dropped the next time one opens.
std::vector<std::unique_ptr<Tvl_help_wnd>>& open_windows() {
    static std::vector<std::unique_ptr<Tvl_help_wnd>> windows;
    return windows;
}

}  // namespace

bool Tvl_help_wnd::create(HINSTANCE instance, HWND owner, const std::string& text) {
    if (!load_rich_edit()) return false;
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    win::WindowClass wc;
    wc.name = kClassName;
    wc.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (!create_window(instance, wc, 0, "Help", style, x, y, w, h, owner)) return false;

    RichEdit1 =
        CreateWindowExA(0, RICHEDIT_CLASSA, "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                            ES_READONLY | ES_AUTOVSCROLL,
                        0, 0, kClientWidth, kClientHeight, hwnd_, nullptr, instance, nullptr);
    if (!RichEdit1) return false;
    SendMessageA(RichEdit1, EM_SETBKGNDCOLOR, 0, RGB(0, 0, 0));
    // Line width 0 wraps at the window's edge, 1 keeps lines whole.
    SendMessageA(RichEdit1, EM_SETTARGETDEVICE, 0, help::wraps(text) ? 0 : 1);
    SendMessageA(RichEdit1, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(help::kMaxBytes * 2));
    // Plain text shows light on the black background, and not bold.
    CHARFORMATA cf{};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_COLOR | CFM_BOLD;
    cf.crTextColor = RGB(220, 220, 220);
    SendMessageA(RichEdit1, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));

    StreamSource source{&text, 0};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    es.pfnCallback = stream_out_of;
    const bool rtf = help::format_of(text) == help::Format::Rtf;
    SendMessageA(RichEdit1, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    // A document the rich-text reader makes nothing of is shown as it is.
    if (rtf && GetWindowTextLengthA(RichEdit1) == 0) {
        source.at = 0;
        SendMessageA(RichEdit1, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    }
    SendMessageA(RichEdit1, EM_SETSEL, 0, 0);
    return true;
}

LRESULT Tvl_help_wnd::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            if (RichEdit1) MoveWindow(RichEdit1, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (RichEdit1) SetFocus(RichEdit1);
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}

HWND show_help(HINSTANCE instance, HWND owner, const std::string& rtf_path, bool on_top) {
    std::string text, reason;
    if (!read_help_file(rtf_path, text, reason)) {
        MessageBoxA(owner, help::open_error(rtf_path, reason).c_str(), kErrorCaption,
                    MB_OK | MB_ICONERROR);
        return nullptr;
    }
    auto& windows = open_windows();
    std::erase_if(windows, [](const auto& w) { return w->handle() == nullptr; });
    auto window = std::make_unique<Tvl_help_wnd>();
    if (!window->create(instance, owner, text)) return nullptr;
    const HWND hwnd = window->handle();
    windows.push_back(std::move(window));
    ShowWindow(hwnd, SW_SHOW);
    SetWindowPos(hwnd, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return hwnd;
}
