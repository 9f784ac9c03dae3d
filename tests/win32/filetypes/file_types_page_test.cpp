// The File types page on a plain window, writing to Wine's own
// HKEY_CLASSES_ROOT; every result is read back with the registry API.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "page_host.h"
#include "settings/file_types_page.h"
#include "settings/registry_store_win32.h"
#include "win_process.h"

namespace {

const std::string kFolder = wine_path(VL_PROGRAM_DIR_UNIX) + "\\";
const char* const kTestKeys[] = {".vltown", ".vltnew", ".vltforeign", "VELTRona_file",
                                 "VELTRona_list"};

// A value under HKEY_CLASSES_ROOT as another program sees it; "<none>" when
// the key or value is missing.
std::string hkcr(const std::string& key, const char* name = "") {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "<none>";
    return data;
}

bool key_exists(const std::string& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

void set_default(const std::string& key, const std::string& value) {
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                           static_cast<DWORD>(value.size())),
              ERROR_SUCCESS);
}

// The registry, refusing every write and delete of one key.
struct RefusingStore : RegistryKeyStore {
    std::string refused;
    RefusingStore(std::string key) : RegistryKeyStore(HKEY_CLASSES_ROOT, ""), refused(key) {}
    bool write_string(const std::string& s, const std::string& n, const std::string& v) override {
        return s != refused && RegistryKeyStore::write_string(s, n, v);
    }
    bool delete_key(const std::string& s) override {
        return s != refused && RegistryKeyStore::delete_key(s);
    }
};

struct FileTypesPageTest : ::testing::Test {
    std::unique_ptr<FileTypesPage> page;
    PageHost host;

    void SetUp() override {
        clean();
        set_default(".vltown", "OtherApp.File");
        set_default(".vltforeign", "Foreign.File");
    }
    void TearDown() override { clean(); }
    static void clean() {
        for (const char* k : kTestKeys) RegDeleteTreeA(HKEY_CLASSES_ROOT, k);
        if (hkcr(".VL2") == "VELTRona_list") RegDeleteTreeA(HKEY_CLASSES_ROOT, ".VL2");
    }

    void open(std::unique_ptr<KeyStore> store = nullptr) {
        page = std::make_unique<FileTypesPage>(
            kFolder,
            [] {
                return std::vector<std::string>{"*.vltown;*.vltnew;", "*.vltforeign;*.vltnew;"};
            },
            std::move(store));
        ASSERT_TRUE(host.open(*page, "File types", 0, 0, false));
        page->on_show();
    }
    HWND list() { return page->control("CheckListBox2"); }
    std::vector<std::string> items() {
        std::vector<std::string> out;
        const int n = static_cast<int>(SendMessageA(list(), LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[64] = {};
            LVITEMA item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list(), LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
            out.push_back(text);
        }
        return out;
    }
    // Check boxes of the list in list order (".vltforeign", ".vltnew", ".vltown").
    std::vector<bool> checks() {
        std::vector<bool> out;
        for (int i = 0; i < 3; ++i) out.push_back(ListView_GetCheckState(list(), i) == 1);
        return out;
    }
    void check(const std::vector<bool>& on) {
        for (int i = 0; i < 3; ++i) ListView_SetCheckState(list(), i, on[static_cast<size_t>(i)]);
    }
    void apply() { SendMessageA(page->control("SpeedButton5"), BM_CLICK, 0, 0); }
};

TEST_F(FileTypesPageTest, TakesOverCreatesGivesBackAndLeavesForeignKeys) {
    open();
    EXPECT_EQ(items(), (std::vector<std::string>{"*.vltforeign", "*.vltnew", "*.vltown"}));
    EXPECT_EQ(checks(), (std::vector<bool>{false, false, false}));
    RECT inner{};
    GetClientRect(list(), &inner);
    EXPECT_EQ(SendMessageA(list(), LVM_GETCOLUMNWIDTH, 0, 0), inner.right / 4);  // four columns
    // The pickers hold the program's nine icons.
    const HWND icons1 = page->control("FlatImagesScroll1");
    const HWND icons2 = page->control("FlatImagesScroll2");
    EXPECT_EQ(SendMessageA(icons1, LB_GETCOUNT, 0, 0), 9);
    SendMessageA(icons1, LB_SETCURSEL, 3, 0);
    SendMessageA(icons2, LB_SETCURSEL, 5, 0);
    SetWindowTextA(page->control("f_desc"), "Sound");

    check({false, true, true});
    for (int pass = 0; pass < 2; ++pass) {
        apply();
        EXPECT_EQ(hkcr(".vltown"), "VELTRona_file") << pass;
        EXPECT_EQ(hkcr(".vltown", "Last"), "OtherApp.File") << pass;
        EXPECT_EQ(hkcr(".vltown", "Content Type"), "music/.vltown") << pass;
        EXPECT_EQ(hkcr(".vltnew"), "VELTRona_file") << pass;
        EXPECT_EQ(hkcr(".vltnew", "Last"), "") << pass;
        EXPECT_EQ(hkcr(".vltforeign"), "Foreign.File") << pass;
        EXPECT_EQ(hkcr(".vltforeign", "Last"), "<none>") << pass;
        EXPECT_EQ(hkcr(".VL2"), "VELTRona_list") << pass;
    }
    EXPECT_EQ(hkcr("VELTRona_file"), "Sound");
    EXPECT_EQ(hkcr("VELTRona_file\\shell\\open\\command"),
              "\"" + kFolder + "VELTRONA.EXE\" \"%1\"");
    EXPECT_EQ(hkcr("VELTRona_file\\DefaultIcon"), kFolder + "veltrona.exe,3");
    EXPECT_EQ(hkcr("VELTRona_list\\DefaultIcon"), kFolder + "veltrona.exe,5");

    // Shown again, the page reads what is associated.
    SendMessageA(icons1, LB_SETCURSEL, 0, 0);
    SetWindowTextA(page->control("f_desc"), "");
    page->on_show();
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(SendMessageA(icons1, LB_GETCURSEL, 0, 0), 3);
    char desc[64] = {};
    GetWindowTextA(page->control("f_desc"), desc, sizeof desc);
    EXPECT_STREQ(desc, "Sound");

    SendMessageA(page->control("file_pan_sel_non"), BM_CLICK, 0, 0);
    apply();
    EXPECT_EQ(hkcr(".vltown"), "OtherApp.File");
    EXPECT_FALSE(key_exists(".vltnew"));
    EXPECT_EQ(hkcr(".vltforeign"), "Foreign.File");
    EXPECT_EQ(hkcr(".VL2"), "VELTRona_list");
}

TEST_F(FileTypesPageTest, RefusedWriteShowsTheErrorBoxAndStopsApply) {
    open(std::make_unique<RefusingStore>(".vltnew"));
    SendMessageA(page->control("file_pan_sel_all"), BM_CLICK, 0, 0);
    std::string box_text;
    std::thread answer([&] {
        HWND box = nullptr;
        wait_until([&] { return (box = FindWindowA("#32770", "VELTRona")) != nullptr; }, 20000);
        if (!box) return;
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        box_text = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    apply();
    answer.join();
    EXPECT_EQ(box_text, "Failed to set data for '.vltnew'");
    // Written before the failure, in list order; nothing after it.
    EXPECT_EQ(hkcr(".vltforeign"), "VELTRona_file");
    EXPECT_EQ(hkcr(".vltforeign", "Last"), "Foreign.File");
    EXPECT_FALSE(key_exists(".vltnew"));
    EXPECT_EQ(hkcr(".vltown"), "OtherApp.File");
    EXPECT_FALSE(key_exists("VELTRona_list"));
}

}  // namespace
