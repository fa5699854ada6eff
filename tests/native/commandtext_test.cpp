#include "commandtext.h"

#include <gtest/gtest.h>

TEST(FindCommand, WholeWordsInAnyCaseInTableOrder) {
    struct Case {
        const char *word;
        bool found;
        CommandId id;
        bool scoped;
    } cases[] = {
        {"programsMenu", true, CommandId::Shortcuts, false}, {"DESKTOP", true, CommandId::Shortcuts, false},
        {"registry", true, CommandId::Registry, false},      {"DesktopDir", true, CommandId::DesktopDir, true},
        {"menusdir", true, CommandId::MenusDir, true},        {"roamingdir", true, CommandId::RoamingDir, false},
        {"attributes", true, CommandId::Attributes, false},   {"env", false, CommandId::EnvVar, false},
        {"envvars", false, CommandId::EnvVar, false},         {"", false, CommandId::EnvVar, false},
        {" path", false, CommandId::Path, false},
    };
    for (const Case &c : cases) {
        const CommandRow *row = findCommand(c.word);
        ASSERT_EQ(row != nullptr, c.found) << c.word;
        if (!row) continue;
        EXPECT_EQ(row->id, c.id) << c.word;
        EXPECT_EQ(row->scoped, c.scoped) << c.word;
    }
}

TEST(CommandLineFrom, MissingArgumentsAreEmptyAndLimitsAreKept) {
    const char *three[] = {"setup", "path", "D:\\work", "a", "b"};
    CommandLine line = commandLineFrom(5, three);
    EXPECT_EQ(line.command, "path");
    EXPECT_EQ(line.arg1, "D:\\work");
    EXPECT_EQ(line.arg2, "a");
    EXPECT_TRUE(line.whole);
    const char *one[] = {"setup", "windir"};
    line = commandLineFrom(2, one);
    EXPECT_EQ(line.arg1, "");
    EXPECT_EQ(line.arg2, "");
    // 10000 characters pass; 10001 refuse the command, logged cut.
    std::string fits(kArgChars, 'a'), over(kArgChars + 1, 'b');
    const char *limits[] = {"setup", "envvar", fits.c_str(), over.c_str()};
    line = commandLineFrom(4, limits);
    EXPECT_FALSE(line.whole);
    EXPECT_EQ(line.arg1, fits);
    EXPECT_EQ(line.arg2, std::string(kArgChars, 'b'));
    const char *word[] = {"setup", over.c_str()};
    EXPECT_FALSE(commandLineFrom(2, word).whole);
}

TEST(ScopeDefault, OneArgumentIsTheResultDirectory) {
    std::string first = "D:\\work", second;
    applyScopeDefault(&first, &second);
    EXPECT_EQ(first, "currentUser");
    EXPECT_EQ(second, "D:\\work");
    first = "allUsers", second = "D:\\work";
    applyScopeDefault(&first, &second);
    EXPECT_EQ(first, "allUsers");
    EXPECT_EQ(second, "D:\\work");
}

TEST(ProgramDirectory, CutAtTheLastBackslashWithinItsRoom) {
    std::string dir;
    EXPECT_TRUE(programDirectory("C:\\tools\\setup.exe", 261, &dir));
    EXPECT_EQ(dir, "C:\\tools");
    EXPECT_TRUE(programDirectory("setup", 261, &dir));
    EXPECT_EQ(dir, "setup");
    std::string path = std::string(261, 'd') + "\\setup.exe";
    EXPECT_FALSE(programDirectory(path.c_str(), 261, &dir));
    path = std::string(260, 'd') + "\\setup.exe";
    EXPECT_TRUE(programDirectory(path.c_str(), 261, &dir));
}
