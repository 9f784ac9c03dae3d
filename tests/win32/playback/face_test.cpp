// The skinned face: the window takes the Default skin's size and shape, and
// the face-size title button switches between the big and small face.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/face_layout.h"
#include "base/commands.h"
#include "effects/FastDIB.h"
#include "win_process.h"

namespace {

// A rectangle of the window as it is on the screen, one 0x00RRGGBB per pixel.
std::vector<uint32_t> grab(HWND w, const SkinRect& r) {
    POINT at{r.left, r.top};
    ClientToScreen(w, &at);
    const int width = r.width(), height = r.height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
    std::vector<uint32_t> px(static_cast<const uint32_t*>(bits),
                             static_cast<const uint32_t*>(bits) + width * height);
    for (uint32_t& p : px) p &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

// The same rectangle of the skin's face.bmp, taken at src.
std::vector<uint32_t> skin_part(const std::string& face_bmp, const SkinRect& r, SkinPoint src) {
    TFastDIB face;
    EXPECT_TRUE(face.LoadFromFile(face_bmp));
    std::vector<uint32_t> px;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const FColor c = face.GetPixel(face.PictureRow(src.y + y), src.x + x);
            px.push_back(static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 | c.b);
        }
    return px;
}

// The big face's Stop button.
const FaceButtonTile& stop_tile() {
    const FaceLayout& big = FaceLayout::big_face();
    return *std::find_if(big.buttons.begin(), big.buttons.end(),
                         [](const FaceButtonTile& b) { return b.id == FaceButton::Stop; });
}

// Waits until the face is on the screen: its Stop button shows the skin's image.
bool face_painted(HWND w, const ProgramFolder& f) {
    const FaceButtonTile& stop = stop_tile();
    const std::vector<uint32_t> image =
        skin_part(f.root + "skins\\Default\\face.bmp", stop.dest, stop.images[0]);
    return wait_until([&] { return grab(w, stop.dest) == image; }, 5000);
}

void copy_skin(const ProgramFolder& f) {
    const std::string skin = wine_path(VL_PROGRAM_DIR_UNIX) + "\\skins\\Default\\";
    CreateDirectoryA((f.root + "skins\\Default").c_str(), nullptr);
    for (const char* file :
         {"face.bmp", "face_big_mask.bmp", "face_small_mask.bmp", "colors.ini", "def_list.bmp"})
        ASSERT_TRUE(
            CopyFileA((skin + file).c_str(), (f.root + "skins\\Default\\" + file).c_str(), FALSE));
}

SIZE window_size(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// A real left click at a point of the window, through the system's input
// queue, so that hit testing decides who gets it.
void click(HWND w, int x, int y) {
    POINT at{x, y};
    ClientToScreen(w, &at);
    SetCursorPos(at.x, at.y);
    wait_until(
        [&] {
            POINT now{};
            return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
        },
        5000);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &in, sizeof in);
    // The press is in the system's input state before the release follows.
    wait_until([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }, 5000);
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    wait_until([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, 5000);
}

// Either button's press draws the button under it pressed until the release.
TEST(Face, ARightPressDrawsTheButtonPressed) {
    reset_settings();
    ProgramFolder f("rpress");
    copy_skin(f);
    Player p(f, "");
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(face_painted(w, f));
    const FaceButtonTile& stop = stop_tile();
    const std::string face = f.root + "skins\\Default\\face.bmp";
    const std::vector<uint32_t> normal = skin_part(face, stop.dest, stop.images[0]);
    const std::vector<uint32_t> pressed = skin_part(face, stop.dest, stop.images[2]);
    ASSERT_NE(normal, pressed);
    const LPARAM at =
        MAKELPARAM((stop.dest.left + stop.dest.right) / 2, (stop.dest.top + stop.dest.bottom) / 2);
    PostMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, at);
    EXPECT_TRUE(wait_until([&] { return grab(w, stop.dest) == pressed; }, 5000));
    PostMessageA(w, WM_RBUTTONUP, 0, at);
    EXPECT_TRUE(wait_until([&] { return grab(w, stop.dest) == normal; }, 5000));
    EXPECT_EQ(p.close(), 0);
}

TEST(Face, SkinSizeShapeStayOnTopAndFaceSize) {
    reset_settings();
    ProgramFolder f("face");
    copy_skin(f);
    Player p(f, "");
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(w) != FALSE; }, 10000));
    SIZE s = window_size(w);
    EXPECT_EQ(s.cx, 358);
    EXPECT_EQ(s.cy, 234);
    // The shape: rounded corners cut, the rightmost column left out.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.right, 357);
    EXPECT_EQ(box.bottom, 234);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 10, 10));
    EXPECT_FALSE(PtInRegion(rgn, 357, 100));
    DeleteObject(rgn);
    ASSERT_TRUE(face_painted(w, f));
    // Start-up activates the playlist too; clicks go to a settled foreground.
    SetForegroundWindow(w);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == w; }, 3000));

    // Stay on top: every window of the player goes up with the toggle; the
    // main window comes down again with the next click. (Under Wine the
    // playlist, which the main window owns, keeps its topmost flag then.)
    auto topmost = [](HWND h) { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    HWND list = p.window_of_class("Tsuperplaylist");
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(topmost(w));
    click(w, 64, 10);
    EXPECT_TRUE(wait_until([&] { return topmost(w); }, 3000));
    EXPECT_TRUE(topmost(list));
    // Activation, deactivation and restore apply the flag again.
    const std::pair<UINT, WPARAM> events[] = {
        {WM_ACTIVATEAPP, FALSE}, {WM_ACTIVATEAPP, TRUE}, {WM_SYSCOMMAND, SC_RESTORE}};
    for (const auto& [msg, wp] : events) {
        SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(wait_until([&] { return !topmost(w); }, 3000));
        SendMessageA(w, msg, wp, 0);
        EXPECT_TRUE(wait_until([&] { return topmost(w); }, 3000)) << msg;
    }
    click(w, 64, 10);
    EXPECT_TRUE(wait_until([&] { return !topmost(w); }, 3000));

    click(w, 42, 10);  // face size, big face
    EXPECT_TRUE(wait_until([&] { return window_size(w).cx == 218; }, 3000));
    EXPECT_EQ(window_size(w).cy, 81);
    click(w, 190, 5);  // face size, small face
    EXPECT_TRUE(wait_until([&] { return window_size(w).cx == 358; }, 3000));
    EXPECT_EQ(window_size(w).cy, 234);
    EXPECT_EQ(p.close(), 0);
}

// Each way out removes the working folder, whether the player was started
// with nothing or with a media file that it plays.
TEST(Face, EveryWayOutRemovesTheWorkingFolder) {
    const FaceButtonTile& close_button =
        *std::find_if(FaceLayout::big_face().buttons.begin(), FaceLayout::big_face().buttons.end(),
                      [](const FaceButtonTile& b) { return b.id == FaceButton::Close; });
    const struct {
        const char* what;
        bool media;
        void (*close)(HWND);
    } ways[] = {
        {"WM_CLOSE from outside", false, [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
        {"WM_CLOSE from outside, media", true, [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
        {"Exit command, media", true,
         [](HWND w) { PostMessageA(w, WM_COMMAND, id_of(Command::Exit), 0); }},
        {"face close button, media", true, nullptr},
        {"log-off, media", true,
         [](HWND w) {
             if (SendMessageA(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF))
                 SendMessageA(w, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         }},
    };
    for (const auto& way : ways) {
        reset_settings();
        ProgramFolder f("exit");
        copy_skin(f);
        f.add_plugin("vl_test", "vl_test.dll");
        write_text(f.root + "x.mp3", "test audio");
        Player p(f, way.media ? f.root + "x.mp3" : "");
        HWND w = p.main_window();
        ASSERT_NE(w, nullptr) << way.what;
        ASSERT_TRUE(wait_until([&] { return !working_folders(f).empty(); }, 10000)) << way.what;
        if (way.media) {
            const auto played = [&] {
                const auto lines = f.journal_lines();
                return std::find(lines.begin(), lines.end(), "vl_test.dll setmode 1 0") !=
                       lines.end();
            };
            ASSERT_TRUE(wait_until(played, 10000)) << way.what;
        }
        if (way.close) {
            way.close(w);
            // The system may end the process as soon as the session's end is told.
            if (std::string(way.what).rfind("log-off", 0) == 0) {
                EXPECT_EQ(working_folders(f), std::vector<std::string>{});
            }
        } else {
            ASSERT_TRUE(face_painted(w, f));
            SetForegroundWindow(w);
            ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == w; }, 3000));
            const SkinRect& r = close_button.dest;
            click(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        }
        EXPECT_TRUE(wait_until([&] { return !p.running(); }, 20000)) << way.what;
        EXPECT_EQ(working_folders(f), std::vector<std::string>{}) << way.what;
        HKEY saved = nullptr;
        EXPECT_EQ(
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona", 0, KEY_READ, &saved),
            ERROR_SUCCESS)
            << way.what;
        if (saved) RegCloseKey(saved);
    }
}

// While a file plays the time digits run and the scope moves; at the end of
// the track the scope area shows the face's own background again.
TEST(Face, TimeAndScopeMoveWhilePlayingAndBlankAtTheEnd) {
    reset_settings();
    ProgramFolder f("scope");
    copy_skin(f);
    CopyFileA((wine_path(VL_PROGRAM_DIR_UNIX) + "\\plugins\\vl_wave.dll").c_str(),
              (f.root + "plugins\\vl_wave.dll").c_str(), FALSE);
    write_wav(f.root + "tone.wav", 5000, 440);  // long enough for a busy machine
    Player p(f, f.root + "tone.wav");
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(w) != FALSE; }, 10000));
    // The meter runs only while the player is the active application.
    SetForegroundWindow(w);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == w; }, 3000));
    const FaceLayout& big = FaceLayout::big_face();
    const std::string face_bmp = f.root + "skins\\Default\\face.bmp";
    const std::vector<uint32_t> background =
        skin_part(face_bmp, big.scope_area, big.scope_background);

    ASSERT_TRUE(face_painted(w, f));
    ASSERT_TRUE(wait_until([&] { return grab(w, big.scope_area) != background; }, 5000));
    const std::vector<uint32_t> time_0 = grab(w, big_face::kTimeDisplay);
    const std::vector<uint32_t> scope_0 = grab(w, big.scope_area);
    EXPECT_TRUE(wait_until([&] { return grab(w, big.scope_area) != scope_0; }, 10000));
    EXPECT_TRUE(wait_until([&] { return grab(w, big_face::kTimeDisplay) != time_0; }, 10000));

    EXPECT_TRUE(wait_until([&] { return grab(w, big.scope_area) == background; }, 20000));
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
