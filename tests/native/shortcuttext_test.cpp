#include "shortcuttext.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include <gtest/gtest.h>

TEST(Getline, TrimsTrailingSpaceAndReadsEachLineWhole) {
    std::string content = "  lead and trail \t\r\n\nlast\v\f";
    // 4999 bytes fit; 5000 do not; trailing blanks do not count.
    content += "\n" + std::string(4999, 'a') + "\n" + std::string(5000, 'x') + "\n" + std::string(4999, 'b') +
               std::string(3000, ' ') + "\nend";
    FILE *file = tmpfile();
    fwrite(content.data(), 1, content.size(), file);
    rewind(file);
    std::vector<std::string> lines;
    std::vector<bool> overlong;
    bool tooLong = false;
    while (char *line = getline(file, &tooLong)) {
        lines.push_back(line);
        overlong.push_back(tooLong);
        free(line);
    }
    fclose(file);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "  lead and trail");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "last");
    EXPECT_EQ(lines[3], std::string(4999, 'a'));
    EXPECT_EQ(lines[4].size(), 4999u);
    EXPECT_EQ(lines[5], std::string(4999, 'b'));
    EXPECT_EQ(lines[6], "end");
    EXPECT_EQ(overlong, (std::vector<bool>{false, false, false, false, true, false, false}));
}

TEST(AttribArgument, OnlyPathsThatCouldExist) {
    EXPECT_TRUE(attribArgumentSafe("\"C:\\dir\\__testVemFolder\""));
    EXPECT_TRUE(attribArgumentSafe(("\"" + std::string(259, 'p') + "\"").c_str()));
    EXPECT_FALSE(attribArgumentSafe(("\"" + std::string(260, 'p') + "\"").c_str()));
    EXPECT_FALSE(attribArgumentSafe("\"C:\\a\" /s /d \"C:\\b\""));
    EXPECT_FALSE(attribArgumentSafe("C:\\unquoted"));
    EXPECT_FALSE(attribArgumentSafe("\""));
}

TEST(Isnull, AbsentValues) {
    EXPECT_TRUE(isnull(nullptr));
    EXPECT_TRUE(isnull(""));
    EXPECT_TRUE(isnull("NULL"));
    EXPECT_TRUE(isnull("NULLX"));
    EXPECT_FALSE(isnull("null"));
    EXPECT_FALSE(isnull("NUL"));
    EXPECT_FALSE(isnull(" NULL"));
}

TEST(FolderLevels, OnePerBackslashThenTheRest) {
    using V = std::vector<std::string>;
    EXPECT_EQ(folderLevels("Tools"), V({"Tools"}));
    EXPECT_EQ(folderLevels("Tools\\Sub"), V({"Tools", "Tools\\Sub"}));
    EXPECT_EQ(folderLevels("Tools\\"), V({"Tools"}));
    EXPECT_EQ(folderLevels("a\\\\b"), V({"a", "a\\", "a\\\\b"}));
    EXPECT_EQ(folderLevels("a\\NULL"), V({"a"}));
    EXPECT_EQ(folderLevels(""), V());
}

TEST(ShowAndIcon, Rules) {
    EXPECT_EQ(showCommand("minimized"), 2);
    EXPECT_EQ(showCommand("maximized"), 3);
    EXPECT_EQ(showCommand("max min"), 2);
    EXPECT_EQ(showCommand("MIN"), 0);
    EXPECT_EQ(showCommand("normal"), 0);
    std::string path;
    int index;
    splitIcon("C:\\a.ico,3", &path, &index);
    EXPECT_EQ(path + "|" + std::to_string(index), "C:\\a.ico|3");
    splitIcon("C:\\a.ico,x,5", &path, &index);
    EXPECT_EQ(path + "|" + std::to_string(index), "C:\\a.ico|0");
    splitIcon("C:\\a.ico", &path, &index);
    EXPECT_EQ(path + "|" + std::to_string(index), "C:\\a.ico|0");
}

TEST(ExpandReferences, LeftToRightAndNeverForEver) {
    std::map<std::string, std::string> env = {{"USERPROFILE", "C:\\users\\me"}, {"SELF", "%SELF%"}, {"E", ""}};
    auto lookup = [&](const std::string &name, std::string *value) {
        auto found = env.find(name);
        if (found == env.end()) return false;
        *value = found->second;
        return true;
    };
    std::vector<std::string> log;
    auto record = [&](const std::string &line) { log.push_back(line); };
    EXPECT_EQ(expandReferences("%USERPROFILE%\\Desktop", lookup, record), "C:\\users\\me\\Desktop");
    EXPECT_EQ(log, (std::vector<std::string>{"USERPROFILE", "C:\\users\\me", "C:\\users\\me\\Desktop"}));
    log.clear();
    EXPECT_EQ(expandReferences("%NOPE%\\%E%x", lookup, record), "%NOPE%\\x");
    EXPECT_EQ(log, (std::vector<std::string>{"NOPE", "E", "", "%NOPE%\\x"}));
    EXPECT_EQ(expandReferences("%SELF%%SELF%", lookup, record), "%SELF%%SELF%");
    EXPECT_EQ(expandReferences("50%", lookup, record), "50%");
    EXPECT_EQ(expandReferences(std::string(2000, '%'), lookup, record), std::string(2000, '%'));
}

TEST(Blocks, KeywordsKindsAndLines) {
    struct Case {
        const char *line;
        bool found;
        BlockAction action;
        MenuFolder folder;
    } cases[] = {
        {"addProgramsMenu", true, BlockAction::Add, MenuFolder::Programs},
        {"ADDDESKTOP", true, BlockAction::Add, MenuFolder::Desktop},
        {"AddStartupMenu", true, BlockAction::Add, MenuFolder::Startup},
        {"deleteStartupMenu", true, BlockAction::Delete, MenuFolder::Startup},
        {"deletedesktop", true, BlockAction::Delete, MenuFolder::Desktop},
        {" addDesktop", false, BlockAction::Add, MenuFolder::Desktop},
        {"addDesktops", false, BlockAction::Add, MenuFolder::Desktop},
        {"addProgramMenu", false, BlockAction::Add, MenuFolder::Programs},
    };
    for (const Case &c : cases) {
        const BlockKind *kind = findBlock(c.line);
        ASSERT_EQ(kind != nullptr, c.found) << c.line;
        if (!kind) continue;
        EXPECT_EQ(kind->action, c.action) << c.line;
        EXPECT_EQ(kind->folder, c.folder) << c.line;
        EXPECT_EQ(kind->lines, c.action == BlockAction::Add ? 8 : 3) << c.line;
    }
}

TEST(Blocks, ReadWholeCutShortOrTooLong) {
    std::string content = "a\nb\nc\n" + std::string(5000, 'x') + "\nd\ne\nf\ng\nh\n";
    FILE *file = tmpfile();
    fwrite(content.data(), 1, content.size(), file);
    rewind(file);
    std::vector<std::string> lines;
    EXPECT_EQ(readBlockLines(file, 3, &lines), BlockRead::Whole);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(readBlockLines(file, 3, &lines), BlockRead::TooLong);  // consumes x.., d, e
    EXPECT_EQ(readBlockLines(file, 3, &lines), BlockRead::Whole);
    EXPECT_EQ(lines, (std::vector<std::string>{"f", "g", "h"}));
    EXPECT_EQ(readBlockLines(file, 3, &lines), BlockRead::Incomplete);
    fclose(file);
    AddBlock add = addBlockFrom({"F", "N", "T", "A", "W", "S", "I", "allUsers"});
    EXPECT_EQ(add.folder + add.name + add.target + add.arguments + add.workDir + add.show + add.icon, "FNTAWSI");
    EXPECT_EQ(add.scope, "allUsers");
    DeleteBlock remove = deleteBlockFrom({"F", "N", "x"});
    EXPECT_EQ(remove.folder + remove.name + remove.scope, "FNx");
}

TEST(LinkPaths, JoinedAsConcatFilenameJoins) {
    EXPECT_EQ(linkPathFor("C:\\Menu\\", "Tools\\Sub", "App"), "C:\\Menu\\Tools\\Sub\\App.lnk");
    EXPECT_EQ(linkPathFor("C:\\Menu\\", "NULL", "App"), "C:\\Menu\\App.lnk");
    EXPECT_EQ(linkPathFor("C:\\Menu\\", "", "App"), "C:\\Menu\\App.lnk");
    EXPECT_EQ(linkPathFor("C:\\Menu\\", "Tools\\", "App"), "C:\\Menu\\Tools\\App.lnk");
    EXPECT_EQ(linkPathFor("", "Tools", "App"), "Tools\\App.lnk");
    EXPECT_EQ(linkPathFor("\\", "NULL", "\\App"), "\\\\App.lnk");
    std::string path = "C:\\x";
    joinName(&path, "");
    EXPECT_EQ(path, "C:\\x\\");
    EXPECT_EQ(probeFolderPath("C:\\d"), "C:\\d\\__testVemFolder");
    EXPECT_EQ(probeFilePath("C:\\d"), "C:\\d\\__testVemFolder\\__testVemFile");
}

TEST(ShortPathRule, OnlyAShorterFormIsUsed) {
    EXPECT_TRUE(preferShortForm("C:\\Program Files\\app.exe", "C:\\PROGRA~1\\app.exe"));
    EXPECT_FALSE(preferShortForm("C:\\app.exe", "C:\\app.exe"));
    EXPECT_FALSE(preferShortForm("C:\\a.exe", ""));
    EXPECT_FALSE(preferShortForm("C:\\ab", "C:\\abc"));
}
