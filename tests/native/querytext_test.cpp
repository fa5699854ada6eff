#include "querytext.h"

#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

TEST(FmtDwordlong, Digits) {
    struct Case {
        unsigned long long value;
        const char *text;
    } cases[] = {{0, "0"}, {9, "9"}, {10, "10"}, {4294967296ull, "4294967296"},
                 {18446744073709551615ull, "18446744073709551615"}};
    for (const Case &c : cases) {
        char buffer[21];
        EXPECT_EQ(fmt_dwordlong(nullptr, c.value), static_cast<int>(strlen(c.text)));
        EXPECT_EQ(fmt_dwordlong(buffer, c.value), static_cast<int>(strlen(c.text)));
        EXPECT_STREQ(buffer, c.text);
    }
}

TEST(BuildDriveRoot, Forms) {
    struct Case {
        const char *in, *root;
    } cases[] = {{"C:\\Program Files\\App", "C:\\"}, {"d", "d:\\"}, {"E:", "E:\\"},
                 {"\\\\server\\share", "\\\\server\\share:\\"}, {"ab:cd:ef", "ab:\\"}};
    for (const Case &c : cases) {
        char root[261];
        EXPECT_TRUE(buildDriveRoot(c.in, root, sizeof root));
        EXPECT_STREQ(root, c.root);
    }
}

TEST(BuildDriveRoot, RefusesWhatDoesNotFit) {
    char root[6];
    EXPECT_TRUE(buildDriveRoot("abc", root, sizeof root));  // "abc:\" and terminator
    EXPECT_STREQ(root, "abc:\\");
    EXPECT_FALSE(buildDriveRoot("abcd", root, sizeof root));
    EXPECT_STREQ(root, "");
    EXPECT_TRUE(buildDriveRoot("abc:efgh", root, sizeof root));
    EXPECT_STREQ(root, "abc:\\");
    EXPECT_FALSE(buildDriveRoot("abcd:", root, sizeof root));
}

static std::set<std::string> existing;
static bool fakeExists(const char *entry) { return existing.count(entry) != 0; }

TEST(FindDirInPath, EntryMustEndWithTheNameHoldItOnceAndExist) {
    existing = {"c:\\windows", "d:\\oldwindows", "c:\\windows\\system32", "c:\\windows\\", "e:\\winnt"};
    struct Case {
        const char *path, *name, *answer;
    } cases[] = {
        {"C:\\Windows\\System32;C:\\WINDOWS", "Windows", "c:\\windows"},
        {"c:\\windows\\;d:\\oldwindows", "windows", "d:\\oldwindows"},
        {"c:\\windows\\windows", "windows", nullptr},  // occurs earlier too
        {"x:\\windows;;e:\\WinNT", "winnt", "e:\\winnt"},
        {"x:\\windows", "windows", nullptr},  // does not exist
        {"", "windows", nullptr},
        {";;;", "windows", nullptr},
    };
    for (const Case &c : cases) {
        char name[32], answer[261] = "";
        strcpy(name, c.name);
        bool found = findDirInPath(c.path, name, fakeExists, answer, sizeof answer);
        EXPECT_EQ(found, c.answer != nullptr) << c.path;
        if (c.answer) EXPECT_STREQ(answer, c.answer);
    }
}

TEST(FindDirInPath, EntryTooLongForTheAnswerIsPassedOver) {
    std::string longEntry = "c:\\" + std::string(300, 'x') + "\\windows";
    existing = {longEntry, "c:\\windows"};
    char name[] = "windows", answer[261];
    EXPECT_TRUE(findDirInPath((longEntry + ";c:\\windows").c_str(), name, fakeExists, answer, sizeof answer));
    EXPECT_STREQ(answer, "c:\\windows");
}
