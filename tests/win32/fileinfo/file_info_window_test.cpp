// The "Composition info" window with the real MP3 and WAV plugins: its three
// openers in a running player, tags written through it read back by the
// plugin, entries written back into the list, and the explorer's opener.
#include <gtest/gtest.h>

#include "base/commands.h"
#include "fileinfo/song_fx_win_unit.h"
#include "playlist/list_files.h"
#include "playlist/playlist_model.h"
#include "plugins/plug_eng.h"
#include "plugins/plugin_module_win32.h"
#include "plugins/vl_decoder.h"
#include "win_process.h"
// after <windows.h>
#include <commctrl.h>

namespace {

namespace ids = song_fx_ids;

struct MediaFolder : ProgramFolder {
    explicit MediaFolder(const std::string& tag) : ProgramFolder(tag) {
        const std::string plugins = wine_path(VL_PROGRAM_DIR_UNIX) + "\\plugins\\";
        for (const char* name : {"vl_mpeg.dll", "vl_wave.dll", "genre.txt"})
            CopyFileA((plugins + name).c_str(), (root + "plugins\\" + name).c_str(), FALSE);
        CopyFileA((wine_path(VL_PLUGIN_MEDIA_UNIX) + "\\tagged.mp3").c_str(),
                  (root + "song.mp3").c_str(), FALSE);
        write_wav(root + "a.wav", 1500);
        // The face's buttons come with the skin.
        const std::string skin = wine_path(VL_PROGRAM_DIR_UNIX) + "\\skins\\Default\\";
        CreateDirectoryA((root + "skins\\Default").c_str(), nullptr);
        for (const char* name :
             {"face.bmp", "face_big_mask.bmp", "face_small_mask.bmp", "colors.ini"})
            CopyFileA((skin + name).c_str(), (root + "skins\\Default\\" + name).c_str(), FALSE);
    }
};

// The tag as the plugin reads it from the file.
FileInfoRec read_tag(const ProgramFolder& f, const char* dll, const std::string& path) {
    FileInfoRec out;
    HMODULE m = LoadLibraryA((f.root + "plugins\\" + dll).c_str());
    if (!m) return out;
    auto quick = reinterpret_cast<vl_decoder_quickinfo_fn>(
        reinterpret_cast<void*>(GetProcAddress(m, "_vl_decoder_quickinfo")));
    FileInfo fi{};
    if (quick) quick(path.c_str(), &fi);
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    out.title = text(fi.title);
    out.artist = text(fi.artist);
    out.genre = text(fi.genre);
    FreeLibrary(m);
    return out;
}

std::string text_of(HWND w) {
    char t[512] = {};
    SendMessageA(w, WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t));
    return t;
}

std::string field(HWND info, int id) {
    return text_of(GetDlgItem(info, id));
}

void set_field(HWND info, int id, const std::string& text) {
    SendMessageA(GetDlgItem(info, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int genre_line(const std::string& name) {
    return song_fx::genre_index(
        song_fx::parse_genres(read_text(wine_path(VL_PROGRAM_DIR_UNIX) + "\\plugins\\genre.txt")),
        name);
}

TEST(FileInfoWindow, OpenersShowTheEntryAndWritesReachTheListTheFileAndThePlayer) {
    MediaFolder f("fileinfo");
    const std::string vl2 = f.root + "mine.vl2";
    ASSERT_TRUE(CreateEmptyList(vl2));
    ListRecord r;
    r.path = f.root + "song.mp3";
    r.artist = "Rec";
    r.title = "Song";
    r.volume = 80;
    r.fx_marker = 1;
    ASSERT_EQ(AppendRecord(vl2, r), 1);
    r.path = f.root + "a.wav";
    r.title = "Wave";
    ASSERT_EQ(AppendRecord(vl2, r), 2);

    Player p(f, vl2);
    HWND main = p.main_window();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(wait_until([&] { return text_of(main) == "VELTRona - Rec - Song"; }, 10000));
    HWND info = p.window_of_class("Tsong_fx_win");
    ASSERT_NE(info, nullptr);
    EXPECT_FALSE(IsWindowVisible(info));
    EXPECT_EQ(text_of(info), "Composition info");
    RECT c;
    GetClientRect(info, &c);
    EXPECT_EQ(c.right, 336);
    EXPECT_EQ(c.bottom, 382);

    // The face's button: the playing entry, started from the playlist.
    PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 92));
    PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(40, 92));
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(info) != FALSE; }, 10000));
    EXPECT_EQ(field(info, ids::kArtist), "Rec");
    EXPECT_EQ(SendMessageA(GetDlgItem(info, ids::kTabs), TCM_GETCURSEL, 0, 0), 3);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(info, IDOK)));
    // OK cuts the artist to 50 characters in the entry; the player shows the edit.
    const std::string sixty(60, 'x');
    set_field(info, ids::kArtist, sixty);
    PostMessageA(info, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(info); }, 10000));
    EXPECT_TRUE(
        wait_until([&] { return text_of(main) == "VELTRona - " + sixty + " - Song"; }, 5000));
    const std::vector<std::string> work = working_folders(f);
    ASSERT_EQ(work.size(), 1u);
    const std::string working_list = f.temp + work[0] + "\\mine.vl2";
    ASSERT_EQ(RecordCount(working_list), 2);
    EXPECT_TRUE(wait_until(
        [&] { return ReadAllRecords(working_list)[0].artist == std::string(50, 'x'); }, 5000));
    EXPECT_EQ(ReadAllRecords(working_list)[0].volume, 80);

    // Alt+I on the selected row (the playing one): Save to File writes the
    // tag of the loaded file through its plugin, then the OK steps close.
    HWND list = p.window_of_class("Tsuperplaylist");
    HWND lv = FindWindowExA(list, nullptr, WC_LISTVIEWA, nullptr);
    ASSERT_NE(lv, nullptr);
    PostMessageA(lv, WM_SYSKEYDOWN, 'I', 1 << 29);
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(info) != FALSE; }, 10000));
    EXPECT_EQ(field(info, ids::kArtist), std::string(50, 'x'));
    set_field(info, ids::kArtist, "New Artist");
    const int rock = genre_line("Rock");
    ASSERT_GE(rock, 0);
    SendMessageA(GetDlgItem(info, ids::kGenre), CB_SETCURSEL, static_cast<WPARAM>(rock), 0);
    PostMessageA(info, WM_COMMAND, ids::kSaveToFile, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(info); }, 10000));
    EXPECT_TRUE(wait_until([&] { return text_of(main) == "VELTRona - New Artist - Song"; }, 5000));
    const FileInfoRec tag = read_tag(f, "vl_mpeg.dll", f.root + "song.mp3");
    EXPECT_EQ(tag.artist, "New Artist");
    EXPECT_EQ(tag.title, "Song");  // the entry's title was in the editor
    EXPECT_EQ(tag.genre, "Rock");

    // A read-only file: the warning, the file unchanged, the entry still saved.
    const std::string wav = f.root + "a.wav";
    const std::string before = read_text(wav);
    SetFileAttributesA(wav.c_str(), FILE_ATTRIBUTE_READONLY);
    PostMessageA(lv, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(lv, WM_SYSKEYDOWN, 'I', 1 << 29);
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(info) != FALSE; }, 10000));
    EXPECT_EQ(field(info, ids::kTitle), "Wave");
    set_field(info, ids::kTitle, "Retitled");
    PostMessageA(info, WM_COMMAND, ids::kSaveToFile, 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (box = FindWindowA(nullptr, "Warning")) != nullptr; }, 10000));
    EXPECT_NE(FindWindowExA(box, nullptr, nullptr, ("Can't edit file " + wav + " !").c_str()),
              nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(info); }, 10000));
    EXPECT_EQ(read_text(wav), before);
    // The window closes before the entry is written back.
    EXPECT_TRUE(
        wait_until([&] { return ReadAllRecords(working_list)[1].title == "Retitled"; }, 5000));
    SetFileAttributesA(wav.c_str(), FILE_ATTRIBUTE_NORMAL);

    // The main menu's "File Info".
    PostMessageA(main, WM_COMMAND, id_of(Command::FileInfo), 0);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(info) != FALSE; }, 10000));
    EXPECT_EQ(p.close(), 0);
}

// ---- the explorer's opener, in the test process ----

struct NoFiles : PlaylistHost, PlaylistPlayback {
    bool file_exists(const std::string&) override { return false; }
    bool IsSupported(const std::string&) override { return false; }
    void QuickInfo(const std::string&, FileInfoRec&) override {}
    std::string active_patterns() override { return ""; }
    std::vector<DirEntry> list_dir(const std::string&) override { return {}; }
    void error_box(const std::string&) override {}
    void loadfile(const std::string&) override {}
    void playfile() override {}
    int32_t decoder_state() override { return 0; }
    void stop_decoder() override {}
    void set_started_from_playlist(bool) override {}
};

struct NothingLoaded : SongFxHost {
    std::string loaded_file() override { return ""; }
    bool playing_entry(std::string&, int&) override { return false; }
    void retag_player(const std::string&, const std::string&, const std::string&,
                      const std::string&) override {}
};

std::string grid_value(HWND info, int grid, int row) {
    HWND g = nullptr;
    for (int i = 0; i <= grid; ++i) g = FindWindowExA(info, g, WC_LISTVIEWA, nullptr);
    char t[512] = {};
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = t;
    item.cchTextMax = sizeof t;
    SendMessageA(g, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return t;
}

void pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

TEST(FileInfoWindow, TheExplorersOpenerSavesTheTagAndStaysOpen) {
    MediaFolder f("fileinfo_explorer");
    Win32ModuleLoader loader;
    Win32MessageBoxes boxes;
    TQEL_plugin plugins(loader, boxes);
    plugins.SetPluginFolder(f.root + "plugins\\");
    plugins.SetCodecsFolder(f.root + "codecs\\");
    plugins.ScanPlugins();
    NoFiles files;
    PlaylistModel model(files, files);
    NothingLoaded player;
    Tsong_fx_win win(GetModuleHandleA(nullptr), plugins, model, player);
    ASSERT_TRUE(win.create(nullptr, f.root + "plugins\\"));
    HWND info = win.handle();

    const std::string mp3 = f.root + "song.mp3";
    win.open_explorer_file(mp3);
    EXPECT_TRUE(IsWindowVisible(info));
    EXPECT_EQ(grid_value(info, 0, 0), mp3);
    EXPECT_EQ(grid_value(info, 2, 1), "Test Artist");
    EXPECT_EQ(grid_value(info, 2, 3), "7");
    for (int id : {IDOK, ids::kVolume, ids::kFadeIn, ids::kFadeOut})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(info, id))) << id;
    EXPECT_EQ(field(info, ids::kArtist), "Test Artist");
    EXPECT_EQ(SendMessageA(GetDlgItem(info, ids::kGenre), CB_GETCURSEL, 0, 0), genre_line("Rock"));

    set_field(info, ids::kComment, "through the window");
    SendMessageA(info, WM_COMMAND, ids::kSaveToFile, 0);
    pump();
    EXPECT_TRUE(IsWindowVisible(info));

    // Another file while open refreshes the grids and keeps the editor; a
    // vanished one changes nothing.
    win.open_explorer_file(f.root + "a.wav");
    EXPECT_EQ(grid_value(info, 0, 0), f.root + "a.wav");
    EXPECT_EQ(field(info, ids::kArtist), "Test Artist");
    win.open_explorer_file(f.root + "gone.mp3");
    EXPECT_EQ(grid_value(info, 0, 0), f.root + "a.wav");

    HMODULE m = LoadLibraryA((f.root + "plugins\\vl_mpeg.dll").c_str());
    auto quick = reinterpret_cast<vl_decoder_quickinfo_fn>(
        reinterpret_cast<void*>(GetProcAddress(m, "_vl_decoder_quickinfo")));
    ASSERT_NE(quick, nullptr);
    FileInfo fi{};
    quick(mp3.c_str(), &fi);
    EXPECT_STREQ(fi.comment, "through the window");
    EXPECT_STREQ(fi.artist, "Test Artist");
    EXPECT_EQ(fi.track, 7);
    FreeLibrary(m);
}

}  // namespace
