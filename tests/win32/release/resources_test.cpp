// The exes carry their version information, manifest and icon, and the
// manifest gives the player the version-6 common controls.
#include <gtest/gtest.h>

#include <string>

#include "win_process.h"
// after <windows.h>
#include <psapi.h>

namespace {

std::string version_string(const std::vector<char>& data, const char* name) {
    char* value = nullptr;
    UINT len = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &len))
        return "";
    return std::string(value, len > 0 ? len - 1 : 0);
}

std::string resource(HMODULE m, LPCSTR type, LPCSTR name) {
    HRSRC r = FindResourceA(m, name, type);
    if (!r) return "";
    const char* p = static_cast<const char*>(LockResource(LoadResource(m, r)));
    return std::string(p, SizeofResource(m, r));
}

TEST(Resources, BothExesCarryVersionManifestAndIcon) {
    const std::string exes[] = {wine_path(VL_PROGRAM_DIR_UNIX) + "\\veltrona.exe",
                                wine_path(VL_WIN32_EXE_UNIX)};
    for (const std::string& exe : exes) {
        if (!exists(exe)) {
            ASSERT_NE(exe, exes[0]);  // the 32-bit build is optional here
            continue;
        }
        SCOPED_TRACE(exe);
        DWORD ignored = 0;
        std::vector<char> data(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
        ASSERT_FALSE(data.empty());
        ASSERT_TRUE(
            GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
        EXPECT_EQ(version_string(data, "ProductName"), "VELTRona");
        EXPECT_EQ(version_string(data, "ProductVersion"), VL_VERSION_TEXT);
        EXPECT_EQ(version_string(data, "FileVersion"), VL_VERSION_TEXT);
        EXPECT_FALSE(version_string(data, "FileDescription").empty());
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
        EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(73, 0));

        HMODULE m = LoadLibraryExA(exe.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m, nullptr);
        const std::string manifest = resource(m, RT_MANIFEST, MAKEINTRESOURCEA(1));
        EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
                  std::string::npos);
        EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
        // The icon group lists every size from 16 to 256 pixels (0 means 256).
        const std::string group = resource(m, RT_GROUP_ICON, MAKEINTRESOURCEA(1));
        ASSERT_GE(group.size(), 6u);
        const int count = static_cast<unsigned char>(group[4]);
        std::string widths;
        for (int i = 0; i < count; ++i)
            widths += std::to_string(static_cast<unsigned char>(group[6 + 14 * i])) + " ";
        EXPECT_EQ(widths, "16 20 24 32 40 48 64 0 ");
        FreeLibrary(m);
    }
}

std::string comctl_path(HANDLE process) {
    HMODULE mods[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, mods, sizeof mods, &bytes)) return "";
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        char path[MAX_PATH] = {};
        GetModuleFileNameExA(process, mods[i], path, MAX_PATH);
        std::string p = path;
        for (char& c : p) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (p.size() >= 12 && p.compare(p.size() - 12, 12, "comctl32.dll") == 0) return p;
    }
    return "";
}

TEST(Resources, ThePlayerRunsWithTheVersion6CommonControls) {
    ProgramFolder f("comctl");
    Player p(f, "");
    ASSERT_NE(p.main_window(), nullptr);
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.process_id());
    ASSERT_NE(process, nullptr);
    std::string path;
    EXPECT_TRUE(wait_until([&] { return !(path = comctl_path(process)).empty(); }, 5000));
    // Version 6 comes from the side-by-side store, version 5 from system32.
    EXPECT_NE(path.find("winsxs"), std::string::npos) << path;
    EXPECT_NE(path.find("common-controls"), std::string::npos) << path;
    CloseHandle(process);
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
