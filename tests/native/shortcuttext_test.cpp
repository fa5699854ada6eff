#include "shortcuttext.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include <gtest/gtest.h>

TEST(Getline, TrimsTrailingSpaceAndCutsAt4999) {
    std::string content = "  lead and trail \t\r\n\nlast\v\f";
    content += "\n" + std::string(5000, 'x') + "\n";
    FILE *file = tmpfile();
    fwrite(content.data(), 1, content.size(), file);
    rewind(file);
    std::vector<std::string> lines;
    while (char *line = getline(file)) {
        lines.push_back(line);
        free(line);
    }
    fclose(file);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "  lead and trail");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "last");
    EXPECT_EQ(lines[3].size(), 4999u);
    EXPECT_EQ(lines[4], "x");
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
