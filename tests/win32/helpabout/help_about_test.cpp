#include <windows.h>
#undef TextOut

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "app/about_unit.h"
#include "settings/help_text.h"
#include "settings/vl_help.h"
#include "win_process.h"

namespace {

const std::string kProgramDir = wine_path(VL_PROGRAM_DIR_UNIX) + "\\";

struct WindowQuery {
    const char *cls, *caption;
    std::vector<HWND> found;
};

// A named callback: the 32-bit build needs its calling convention.
BOOL CALLBACK collect_window(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<WindowQuery*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char c[256] = {}, t[256] = {};
    GetClassNameA(h, c, sizeof c);
    GetWindowTextA(h, t, sizeof t);
    if (pid == GetCurrentProcessId() && lstrcmpA(c, q->cls) == 0 && lstrcmpA(t, q->caption) == 0 &&
        IsWindowVisible(h))
        q->found.push_back(h);
    return TRUE;
}

// Top-level windows of this process with the given class and caption.
std::vector<HWND> own_windows(const char* cls, const char* caption) {
    WindowQuery q{cls, caption, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

SIZE client_size(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return SIZE{r.right, r.bottom};
}

bool topmost(HWND h) {
    return (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::string rich_text(HWND help) {
    HWND edit = FindWindowExA(help, nullptr, nullptr, nullptr);
    const int n = GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(edit, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void close_all_help() {
    for (HWND h : own_windows("Tvl_help_wnd", "Help")) SendMessageA(h, WM_CLOSE, 0, 0);
}

TEST(HelpWindow, ShippedFilesOpenSideBySideAndCloseOneByOne) {
    for (bool on_top : {false, true}) {
        std::vector<HWND> opened;
        for (const char* name : {"macros.rtf", "ave.rtf", "playlist.rtf"}) {
            const HWND h = show_help(GetModuleHandleA(nullptr), nullptr,
                                     kProgramDir + "system\\" + name, on_top);
            ASSERT_NE(h, nullptr) << name;
            opened.push_back(h);
            const SIZE s = client_size(h);
            EXPECT_EQ(s.cx, 362) << name;
            EXPECT_EQ(s.cy, 346) << name;
            EXPECT_EQ(topmost(h), on_top) << name;
            // Parsed as rich text: words, but no control words left over.
            const std::string text = rich_text(h);
            EXPECT_GT(text.size(), 1000u) << name;
            EXPECT_EQ(text.find("\\par"), std::string::npos) << name;
            EXPECT_EQ(text.find("{\\"), std::string::npos) << name;
        }
        EXPECT_EQ(own_windows("Tvl_help_wnd", "Help").size(), 3u);
        SendMessageA(opened[0], WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(opened[0]));
        EXPECT_TRUE(IsWindow(opened[1]) && IsWindowVisible(opened[1]));
        EXPECT_TRUE(IsWindow(opened[2]) && IsWindowVisible(opened[2]));
        close_all_help();
        EXPECT_TRUE(own_windows("Tvl_help_wnd", "Help").empty());
    }
}

TEST(HelpWindow, MissingFileShowsTheErrorBoxAndNoWindow) {
    const std::string path = kProgramDir + "system\\no_such_help.rtf";
    std::string box_text;
    std::thread answer([&] {
        HWND box = nullptr;
        wait_until(
            [&] {
                const auto boxes = own_windows("#32770", "VELTRona");
                if (!boxes.empty()) box = boxes.front();
                return box != nullptr;
            },
            20000);
        if (!box) return;
        char text[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        box_text = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    const HWND h = show_help(GetModuleHandleA(nullptr), nullptr, path, false);
    answer.join();
    EXPECT_EQ(h, nullptr);
    EXPECT_NE(box_text.find("Cannot open file \"" + path + "\""), std::string::npos) << box_text;
    EXPECT_TRUE(own_windows("Tvl_help_wnd", "Help").empty());
}

std::string lines(size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += "Some words on a line of their own.\r\n";
    return text;
}

TEST(HelpWindow, BadFilesOpenAsPlainOrShortenedText) {
    const std::string folder = make_temp_folder("vl_help");
    struct Case {
        const char* name;
        std::string content;
        size_t min_chars, max_chars;
    };
    const Case cases[] = {
        {"empty.rtf", "", 0, 0},
        {"plain.rtf", "Just words, no rich text.", 25, 25},
        {"binary.rtf", std::string("\x01\x02\xff\x00\x7f{\\rtf", 10), 1, 10},
        {"broken.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}\\plain Half a docu", 4, 60},
        {"huge.rtf", std::string(2u << 20, 'x'), 1000, help::kMaxBytes},
        {"many lines.rtf", lines(2u << 20), 1000, help::kMaxBytes},
    };
    for (const Case& c : cases) {
        const std::string path = folder + c.name;
        write_text(path, c.content);
        const DWORD start = GetTickCount();
        const HWND h = show_help(GetModuleHandleA(nullptr), nullptr, path, false);
        ASSERT_NE(h, nullptr) << c.name;
        const size_t n = rich_text(h).size();
        EXPECT_GE(n, c.min_chars) << c.name;
        EXPECT_LE(n, c.max_chars) << c.name;
        std::printf("%s: %zu characters in %lu ms\n", c.name, n, GetTickCount() - start);
        SendMessageA(h, WM_CLOSE, 0, 0);
    }
    remove_tree(folder);
}

// The about box's client area, as the window shows it.
std::vector<uint32_t> capture(HWND h) {
    std::vector<uint32_t> pixels(400 * 400);
    HDC window_dc = GetDC(h);
    HDC mem = CreateCompatibleDC(window_dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 400;
    bi.bmiHeader.biHeight = -400;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, 400, 400, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(h, window_dc);
    return pixels;
}

// Pure red pixels in the logo's band: the logo's top rows use that palette entry.
int red_in_logo_band(const std::vector<uint32_t>& p) {
    int n = 0;
    for (int y = 20; y < 64; ++y)
        for (int x = 93; x < 307; ++x) n += (p[y * 400 + x] & 0xFFFFFF) == 0xFF0000;
    return n;
}

int lit_in_text_band(const std::vector<uint32_t>& p) {
    int n = 0;
    for (int y = 70; y < 220; ++y)
        for (int x = 0; x < 400; ++x) n += (p[y * 400 + x] & 0xFFFFFF) != 0;
    return n;
}

double cpu_seconds() {
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    auto s = [](FILETIME f) {
        return ((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return s(k) + s(u);
}

TEST(AboutBox, AnimatesModallyWithOrWithoutItsLogo) {
    const std::string logo = read_text(kProgramDir + "system\\about.bmp");
    ASSERT_GT(logo.size(), 1000u);
    struct Case {
        const char* name;
        std::string bytes;  // the folder's about.bmp; empty: none
        bool animates, whole_logo;
    };
    const Case cases[] = {
        {"whole", logo, true, true},
        {"missing", "", false, false},
        {"cut in the header", logo.substr(0, 30), false, false},
        {"cut in half", logo.substr(0, logo.size() / 2), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = make_temp_folder("vl_about");
        CreateDirectoryA((folder + "system").c_str(), nullptr);
        if (!c.bytes.empty()) write_text(folder + "system\\about.bmp", c.bytes);

        struct Seen {
            bool found = false, topmost = false, centred = false, changed = false;
            SIZE client{};
            int red = 0;
            double cpu_share = -1;
        } seen;
        std::thread watch([&] {
            HWND h = nullptr;
            wait_until(
                [&] {
                    const auto found = own_windows("Tvl_about", "Veltrona - About");
                    if (!found.empty()) h = found.front();
                    return h != nullptr;
                },
                20000);
            if (!h) return;
            seen.found = true;
            seen.client = client_size(h);
            seen.topmost = topmost(h);
            RECT r{};
            GetWindowRect(h, &r);
            const int cx = GetSystemMetrics(SM_CXFULLSCREEN),
                      cy = GetSystemMetrics(SM_CYFULLSCREEN);
            seen.centred =
                std::abs(r.left + r.right - cx) <= 2 && std::abs(r.top + r.bottom - cy) <= 2;
            // Frames keep coming: the picture changes and the logo is in it.
            std::vector<uint32_t> first;
            wait_until(  // the first frame is drawn
                [&] { return lit_in_text_band(first = capture(h)) > 200; }, 20000);
            const DWORD cpu_from = GetTickCount();
            const double cpu_start = cpu_seconds();
            std::vector<uint32_t> later;
            // Two seconds of frames for the measurement; five without a change.
            wait_until(
                [&] {
                    later = capture(h);
                    seen.red = std::max(seen.red, red_in_logo_band(later));
                    const DWORD spent = GetTickCount() - cpu_from;
                    return (later != first && spent >= 2000) || spent >= 5000;
                },
                20000);
            seen.changed = later != first;
            seen.cpu_share = (cpu_seconds() - cpu_start) / ((GetTickCount() - cpu_from) / 1000.0);
            PostMessageA(h, WM_CLOSE, 0, 0);
        });
        show_about(GetModuleHandleA(nullptr), nullptr, folder, true);
        watch.join();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(seen.client.cx, 400);
        EXPECT_EQ(seen.client.cy, 400);
        EXPECT_TRUE(seen.topmost);
        EXPECT_TRUE(seen.centred);
        EXPECT_EQ(seen.changed, c.animates);
        EXPECT_EQ(seen.red > 100, c.whole_logo) << seen.red;
        std::printf("about box (%s): %.1f%% of a core while animating\n", c.name,
                    100 * seen.cpu_share);
        EXPECT_TRUE(own_windows("Tvl_about", "Veltrona - About").empty());
        remove_tree(folder);
    }
}

}  // namespace
