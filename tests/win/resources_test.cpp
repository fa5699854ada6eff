// Resources of the built programs, read back through the resource API.
#include "harness.h"

namespace {

std::string resourceBytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    HRSRC found = FindResourceExA(module, type, name, language);
    if (!found) return "<missing>";
    HGLOBAL loaded = LoadResource(module, found);
    const char *data = static_cast<const char *>(LockResource(loaded));
    return std::string(data, SizeofResource(module, found));
}

BOOL CALLBACK collectType(HMODULE, LPSTR type, LONG_PTR list) {
    reinterpret_cast<std::vector<ULONG_PTR> *>(list)->push_back(reinterpret_cast<ULONG_PTR>(type));
    return TRUE;
}

struct VersionExpectation {
    const char *program;
    const char *internalName;
    const char *originalName;
};

void checkVersionBlock(const VersionExpectation &expected) {
    std::string path = programsDir() + "\\" + expected.program;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << path;
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    char *text = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\InternalName",
                               reinterpret_cast<void **>(&text), &length));
    EXPECT_STREQ(text, expected.internalName);
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\OriginalFilename",
                               reinterpret_cast<void **>(&text), &length));
    EXPECT_STREQ(text, expected.originalName);

    WORD *translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04b0);

    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(resourceBytes(module, RT_VERSION, MAKEINTRESOURCEA(1), 1033), "<missing>");
    FreeLibrary(module);
}

TEST(SetupResources, VersionBlock) { checkVersionBlock({"setup.exe", "setup", "setup.exe"}); }

TEST(SetupResources, ManifestAsksForNoElevationAndNothingElseIsStored) {
    HMODULE module = LoadLibraryExA(setupExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    std::string manifest = resourceBytes(module, RT_MANIFEST, MAKEINTRESOURCEA(1), 1033);
    EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\"/>"), std::string::npos) << manifest;

    std::vector<ULONG_PTR> types;
    EnumResourceTypesA(module, collectType, reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(types, (std::vector<ULONG_PTR>{16, 24}));  // RT_VERSION, RT_MANIFEST: no icon, dialog or strings
    FreeLibrary(module);
}

}  // namespace

namespace {

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST(UpdateResources, VersionBlock) { checkVersionBlock({"update.exe", "update", "update.exe"}); }

TEST(UpdateResources, IconGroupOfNineImages) {
    HMODULE module = LoadLibraryExA(updateExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    std::string group = resourceBytes(module, RT_GROUP_ICON, MAKEINTRESOURCEA(102), 1033);
    ASSERT_EQ(group.size(), 6u + 9 * sizeof(GroupEntry));
    EXPECT_EQ(*reinterpret_cast<const WORD *>(&group[4]), 9);
    const int sizes[3] = {48, 32, 16}, depths[3] = {4, 8, 32};
    for (int i = 0; i < 9; ++i) {
        const GroupEntry *entry = reinterpret_cast<const GroupEntry *>(&group[6 + i * sizeof(GroupEntry)]);
        int size = sizes[i % 3], bits = depths[i / 3];
        EXPECT_EQ(entry->width, size) << i;
        EXPECT_EQ(entry->bitCount, bits) << i;
        EXPECT_EQ(entry->id, i + 1) << i;
        std::string image = resourceBytes(module, RT_ICON, MAKEINTRESOURCEA(i + 1), 1033);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << i;
        const BITMAPINFOHEADER *header = reinterpret_cast<const BITMAPINFOHEADER *>(image.data());
        EXPECT_EQ(header->biWidth, size) << i;
        EXPECT_EQ(header->biHeight, size * 2) << i;
        EXPECT_EQ(header->biBitCount, bits) << i;
        EXPECT_EQ(image.size(), entry->bytesInRes) << i;
    }
    FreeLibrary(module);
}

TEST(UpdateResources, ManifestAsksForAdministratorRights) {
    HMODULE module = LoadLibraryExA(updateExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    std::string manifest = resourceBytes(module, RT_MANIFEST, MAKEINTRESOURCEA(1), 1033);
    FreeLibrary(module);
    // This build's own architecture: X86 in the 32-bit programs.
    std::string arch = sizeof(void *) == 4 ? "X86" : "amd64";
    for (const std::string &part :
         {"<assemblyIdentity version=\"1.0.0.0\" processorArchitecture=\"" + arch +
              "\" name=\"Tarvex\" type=\"win32\"/>",
          std::string("<description>Run a Java app as administrator</description>"),
          "<assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
          "processorArchitecture=\"" + arch + "\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>",
          std::string("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"),
          std::string("<requestedExecutionLevel level=\"requireAdministrator\"/>")})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    EXPECT_EQ(manifest.find("uiAccess"), std::string::npos);
}

}  // namespace
