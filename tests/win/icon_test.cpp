// The "icon" command: an icon file stored as RT_ICON 101, language 0.
#include "harness.h"

namespace {

using Lines = std::vector<std::string>;

// Languages under which RT_ICON 101 is stored, and the bytes of language 0.
struct IconResource {
    std::vector<WORD> languages;
    std::string bytes;
};

BOOL CALLBACK collectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD> *>(list)->push_back(language);
    return TRUE;
}

IconResource readIcon(const std::string &exe) {
    IconResource icon;
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return icon;
    EnumResourceLanguagesA(module, RT_ICON, MAKEINTRESOURCEA(101), collectLanguage,
                           reinterpret_cast<LONG_PTR>(&icon.languages));
    HRSRC found = FindResourceExA(module, RT_ICON, MAKEINTRESOURCEA(101), 0);
    if (found) {
        const char *data = static_cast<const char *>(LockResource(LoadResource(module, found)));
        icon.bytes.assign(data, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return icon;
}

class Icon : public ToolTest {
protected:
    std::string exe;
    void SetUp() override {
        ToolTest::SetUp();
        exe = at("target.exe");
        ASSERT_TRUE(CopyFileA(setupExe().c_str(), exe.c_str(), FALSE));
    }
    Lines run(const std::string &executable, const std::string &iconFile) {
        enableLog();
        runSetup({"icon", executable, iconFile});
        Lines lines = log();
        return lines.size() > 5 ? Lines(lines.begin() + 5, lines.end()) : Lines{};
    }
};

TEST_F(Icon, StoresTheFileUnchangedAndASecondRunReplacesIt) {
    std::string first("\0\0\1\0not really an icon\xff", 24), second(5000, '\x42');
    writeFile(at("first.ico"), first);
    writeFile(at("second.ico"), second);
    EXPECT_EQ(run(exe, at("first.ico")),
              (Lines{"trying to load icon", "icon filesize: 24", "updating resource", "trying to write changes"}));
    IconResource icon = readIcon(exe);
    EXPECT_EQ(icon.languages, std::vector<WORD>{0});
    EXPECT_EQ(icon.bytes, first);

    run(exe, at("second.ico"));
    icon = readIcon(exe);
    EXPECT_EQ(icon.languages, std::vector<WORD>{0});
    EXPECT_EQ(icon.bytes, second);
    // The program still carries its own resources.
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceExA(module, RT_MANIFEST, MAKEINTRESOURCEA(1), 1033), nullptr);
    FreeLibrary(module);
}

TEST_F(Icon, EmptyIconFileNeverDeletesTheResource) {
    writeFile(at("first.ico"), "first");
    writeFile(at("empty.ico"), "");
    run(exe, at("first.ico"));
    Lines lines = run(exe, at("empty.ico"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3),
              (Lines{"trying to load icon", "icon filesize: 0", "updating resource"}));
    IconResource icon = readIcon(exe);
    EXPECT_EQ(icon.languages, std::vector<WORD>{0});
    // Wine refuses an empty resource; where it is taken, it is stored empty.
    if (lines[3] == "Could not add resource")
        EXPECT_EQ(icon.bytes, "first");
    else
        EXPECT_EQ(icon.bytes, "");
}

TEST_F(Icon, FailuresLeaveTheExecutableAlone) {
    std::string before = readFile(exe);
    EXPECT_EQ(run(exe, at("missing.ico")), Lines{"couldn't open icon file"});
    EXPECT_EQ(run(exe, ""), Lines{"couldn't open icon file"});
    EXPECT_EQ(readFile(exe), before);

    writeFile(at("icon.ico"), "icon");
    EXPECT_EQ(run(at("missing.exe"), at("icon.ico")),
              (Lines{"trying to load icon", "icon filesize: 4", "Could not open file for writing"}));
    EXPECT_FALSE(exists(at("missing.exe")));
}

}  // namespace

namespace {

TEST_F(Icon, TheLaunchersOwnIconStaysAsItIs) {
    std::string copy = at("update.exe");
    ASSERT_TRUE(CopyFileA(updateExe().c_str(), copy.c_str(), FALSE));
    auto ownIcons = [](const std::string &exe) {
        std::vector<std::string> parts;
        HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module) return parts;
        auto bytes = [&](LPCSTR type, int id) {
            HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), 1033);
            if (!found) return std::string("<missing>");
            return std::string(static_cast<const char *>(LockResource(LoadResource(module, found))),
                               SizeofResource(module, found));
        };
        parts.push_back(bytes(RT_GROUP_ICON, 102));
        for (int id = 1; id <= 9; ++id) parts.push_back(bytes(RT_ICON, id));
        FreeLibrary(module);
        return parts;
    };
    std::vector<std::string> before = ownIcons(copy);
    ASSERT_EQ(before.size(), 10u);
    writeFile(at("new.ico"), "new icon bytes");
    run(copy, at("new.ico"));
    EXPECT_EQ(ownIcons(copy), before);
    EXPECT_EQ(readIcon(copy).bytes, "new icon bytes");
}

}  // namespace
