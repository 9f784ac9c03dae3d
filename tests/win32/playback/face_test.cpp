// The skinned face: the window takes the Default skin's size and shape, and
// the face-size title button switches between the big and small face.
#include <gtest/gtest.h>

#include "win_process.h"

namespace {

SIZE window_size(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void click(HWND w, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(w, WM_LBUTTONUP, 0, at);
}

TEST(Face, SkinSizeShapeAndTheFaceSizeButton) {
    ProgramFolder f("face");
    // The Default skin of the build, as the program folder ships it.
    const std::string skin = wine_path(VL_PROGRAM_DIR_UNIX) + "\\skins\\Default\\";
    CreateDirectoryA((f.root + "skins\\Default").c_str(), nullptr);
    for (const char* file :
         {"face.bmp", "face_big_mask.bmp", "face_small_mask.bmp", "colors.ini", "def_list.bmp"})
        ASSERT_TRUE(
            CopyFileA((skin + file).c_str(), (f.root + "skins\\Default\\" + file).c_str(), FALSE));
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

    click(w, 42, 10);  // face size, big face
    s = window_size(w);
    EXPECT_EQ(s.cx, 218);
    EXPECT_EQ(s.cy, 81);
    click(w, 190, 5);  // face size, small face
    s = window_size(w);
    EXPECT_EQ(s.cx, 358);
    EXPECT_EQ(s.cy, 234);
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
