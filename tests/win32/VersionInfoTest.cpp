// The file properties of the shipped binaries, read back under Wine with
// GetFileVersionInfoW from Kolvex.exe and Morvane.dll in the build's bin
// folder (the test's working directory), against the CMake project version.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Translation {
    WORD language;
    WORD codePage;
};

// One string of the table the resource's own translation entry names.
std::wstring Field(std::vector<BYTE>& block, const wchar_t* name) {
    Translation* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation)) {
        return L"(no translation)";
    }
    wchar_t path[96];
    swprintf(path, 96, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || size == 0) return L"(none)";
    return value;
}

void ExpectProperties(const wchar_t* file, const wchar_t* description, DWORD fileType) {
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeW(file, &unused);
    ASSERT_NE(size, 0u) << "no version information";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(file, 0, size, block.data()));

    for (const wchar_t* name : {L"ProductName", L"FileDescription", L"FileVersion", L"ProductVersion",
                                L"OriginalFilename", L"CompanyName", L"LegalCopyright"}) {
        std::printf("%ls %ls: %ls\n", file, name, Field(block, name).c_str());
    }
    EXPECT_EQ(Field(block, L"ProductName"), L"Kolvex");
    EXPECT_EQ(Field(block, L"FileDescription"), description);
    EXPECT_EQ(Field(block, L"FileVersion"), KOLVEX_VERSION);
    EXPECT_EQ(Field(block, L"ProductVersion"), KOLVEX_VERSION);
    EXPECT_EQ(Field(block, L"OriginalFilename"), file);
    EXPECT_NE(Field(block, L"LegalCopyright").find(L"MIT"), std::wstring::npos);

    // The numbers Explorer's Details tab and installers compare.
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(KOLVEX_VERSION_MINOR, KOLVEX_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, KOLVEX_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, fileType);
}

TEST(FileProperties, GameProgram) {
    ExpectProperties(L"Kolvex.exe", L"Kolvex, a falling-block puzzle game", VFT_APP);
}

TEST(FileProperties, AssetLibrary) {
    ExpectProperties(L"Morvane.dll", L"Morvane, the asset library of Kolvex", VFT_DLL);
}

}  // namespace
