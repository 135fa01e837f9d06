// What Windows itself reads from tunova.exe before any of its code runs: the version
// shown in Explorer, the manifest, and the icon sizes Explorer and Alt+Tab pick from.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/resource.h"

namespace {

// tunova.exe is built next to the test programs.
std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1) + "tunova.exe";
}

class ProgramFile : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << ProgramPath();
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    std::string Resource(LPCSTR name, LPCSTR type) {
        HRSRC found = FindResourceA(module, name, type);
        if (!found) return {};
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }

    HMODULE module = nullptr;
};

// The Details page of Explorer's properties, read the way Explorer reads it.
TEST_F(ProgramFile, VersionResourceNamesTheProgramAndItsVersion) {
    HMODULE version = LoadLibraryA("version.dll");
    ASSERT_NE(version, nullptr);
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoSizeA")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(version, "VerQueryValueA")));
    ASSERT_TRUE(size && info && query);

    DWORD ignored = 0;
    std::string block(size(ProgramPath().c_str(), &ignored), '\0');
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(info(ProgramPath().c_str(), 0, static_cast<DWORD>(block.size()), &block[0]));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), "\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(21, 2)));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(21, 2)));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // Explorer looks the texts up under the language and code page of "Translation".
    ASSERT_TRUE(query(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_GE(length, 4u);
    const WORD* translation = static_cast<const WORD*>(value);
    char prefix[64];
    wsprintfA(prefix, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto text = [&](const char* name) {
        void* found = nullptr;
        UINT chars = 0;
        const std::string path = std::string(prefix) + name;
        if (!query(block.data(), path.c_str(), &found, &chars)) return std::string("(missing)");
        return std::string(static_cast<const char*>(found));
    };
    EXPECT_EQ(text("ProductName"), "Tunova");
    EXPECT_EQ(text("ProductVersion"), "2.21");
    EXPECT_EQ(text("FileVersion"), "2.21");
    EXPECT_EQ(text("FileDescription"), "Tunova audio-CD player");
    EXPECT_EQ(text("OriginalFilename"), "tunova.exe");
    FreeLibrary(version);
}

// Without the manifest the program would run with the old controls and, on today's
// Windows, have its machine registry writes silently redirected.
TEST_F(ProgramFile, ManifestAsksForTheInvokersRightsAndTheNewControls) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos); // 10 and 11
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::set<int> IconSizes(const std::string& group) {
    std::set<int> sizes;
    if (group.size() < 6) return sizes;
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    for (WORD n = 0; n < count && 6 + (n + 1) * sizeof(GroupIconEntry) <= group.size(); ++n) {
        const auto* entry = reinterpret_cast<const GroupIconEntry*>(group.data() + 6 + n * sizeof(GroupIconEntry));
        if (entry->width == entry->height) sizes.insert(entry->width);
    }
    return sizes;
}

BOOL CALLBACK KeepFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR first) {
    *reinterpret_cast<ULONG_PTR*>(first) = IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0;
    return FALSE;
}

TEST_F(ProgramFile, IconsCarrySmallLargeAndHighDpiImages) {
    // A small icon at 96 to 288 DPI and a large one at 96 to 144 DPI: sizes the shell
    // asks for and would otherwise stretch another to.
    for (int id : {IDI_PROGRAM, IDI_DISC_NOTE, IDI_DISC_PAUSE, IDI_DISC, IDI_DISC_SQUARE, IDI_DISC_CROSS}) {
        EXPECT_EQ(IconSizes(Resource(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14))),
                  (std::set<int>{16, 20, 24, 32, 40, 48}))
            << "icon " << id;
    }
    // Explorer shows the first icon of the file.
    ULONG_PTR first = 0;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), KeepFirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, static_cast<ULONG_PTR>(IDI_PROGRAM));
}

} // namespace
