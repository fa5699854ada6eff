// "envvar", "path", "shortname", "freespace", "attributes" and the result-file convention.
#include "harness.h"

namespace {

// A folder in which nothing can be created, whoever runs the test.
const char kUnwritable[] = "Z:\\proc";

class Queries : public ToolTest {
protected:
    DWORD runWithEnvironment(const std::vector<std::string> &args, const std::vector<std::string> &extra,
                             const std::vector<std::string> &without = {}) {
        std::vector<std::string> variables = environmentWithout(without);
        variables.insert(variables.end(), extra.begin(), extra.end());
        std::string block = environmentBlock(variables);
        return runIn(dir, setupExe(), args, block.c_str());
    }
};

TEST_F(Queries, EnvVarWritesTheValue) {
    enableLog();
    runWithEnvironment({"envvar", "TVX_SAMPLE", dir}, {"TVX_SAMPLE=some value %x%"});
    EXPECT_EQ(readFile(at("winenv.txt")), "some value %x%\r\n");
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "TVX_SAMPLE");
    EXPECT_EQ(lines[6], "some value %x%");
}

TEST_F(Queries, EnvVarWithEmptyValueWritesAnEmptyLine) {
    runWithEnvironment({"envvar", "TVX_EMPTY", dir}, {"TVX_EMPTY="});
    EXPECT_EQ(readFile(at("winenv.txt")), "\r\n");
}

TEST_F(Queries, UndefinedEnvVarLeavesAnEarlierResultAlone) {
    enableLog();
    writeFile(at("winenv.txt"), "earlier\r\n");
    runWithEnvironment({"envvar", "TVX_UNDEFINED", dir}, {}, {"TVX_UNDEFINED"});
    EXPECT_EQ(readFile(at("winenv.txt")), "earlier\r\n");
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "TVX_UNDEFINED");
    EXPECT_EQ(lines[6], "undefined");
}

TEST_F(Queries, EnvVarIntoAnUnwritableFolderLogsThePath) {
    enableLog();
    runWithEnvironment({"envvar", "TVX_SAMPLE", kUnwritable}, {"TVX_SAMPLE=v"});
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[7], "unable to save results in");
    EXPECT_EQ(lines[8], std::string(kUnwritable) + "\\winenv.txt");
}

TEST_F(Queries, ResultDirectoryTooLongForItsPathIsRefused) {
    // A relative folder spelled long: ".\.\..." names the current directory.
    std::string fits;
    while (fits.size() < 249) fits += fits.empty() ? "." : "\\.";
    ASSERT_EQ(fits.size() + 1 + strlen("winenv.txt"), 260u);  // the most the path buffer holds
    runWithEnvironment({"envvar", "TVX_SAMPLE", fits}, {"TVX_SAMPLE=v"});
    EXPECT_EQ(readFile(at("winenv.txt")), "v\r\n");

    DeleteFileA(at("winenv.txt").c_str());
    enableLog();
    runWithEnvironment({"envvar", "TVX_SAMPLE", fits + "\\"}, {"TVX_SAMPLE=v"});
    EXPECT_FALSE(exists(at("winenv.txt")));
    EXPECT_EQ(log()[7], "unable to save results in");
    EXPECT_EQ(log()[8], fits + "\\\\winenv.txt");  // the whole path, not cut to its buffer
}

// A result file whose write fails for want of space is removed, so nothing
// that looks like an answer stays, and the failure is logged with its path.
TEST_F(Queries, ResultFileThatCannotBeWrittenIsRemovedAndLogged) {
    std::string folder = smallDiskFolder("queries");
    if (folder.empty()) GTEST_SKIP() << "no small disk could be mounted";
    fillDisk(folder);
    struct Case {
        std::vector<std::string> args;
        const char *file;
    } cases[] = {
        {{"envvar", "SYSTEMROOT", folder}, "winenv.txt"},
        {{"path", folder}, "winpath.txt"},
        {{"windir", folder}, "windir.txt"},
        {{"shortname", "C:\\windows", folder}, "winsname.txt"},
        {{"freespace", "C", folder}, "winspace.txt"},
    };
    for (const Case &c : cases) {
        DeleteFileA(at("tarvex2.log").c_str());
        enableLog();
        runSetup(c.args);
        std::string path = folder + "\\" + c.file;
        EXPECT_FALSE(exists(path)) << c.file;
        std::vector<std::string> lines = log();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "unable to write result file: " + path), lines.end())
            << c.file;
    }
    removeTree(folder);
}

TEST_F(Queries, TrailingBackslashAndRepeatedRuns) {
    runWithEnvironment({"envvar", "TVX_SAMPLE", dir + "\\"}, {"TVX_SAMPLE=first"});
    runWithEnvironment({"envvar", "TVX_SAMPLE", dir + "\\"}, {"TVX_SAMPLE=second"});
    EXPECT_EQ(readFile(at("winenv.txt")), "second\r\n");
}

TEST_F(Queries, PathWritesTheSearchPath) {
    enableLog();
    runWithEnvironment({"path", dir}, {"PATH=C:\\one;D:\\two"}, {"PATH"});
    EXPECT_EQ(readFile(at("winpath.txt")), "C:\\one;D:\\two\r\n");
    EXPECT_EQ(log().back(), "C:\\one;D:\\two");
}

TEST_F(Queries, PathWithoutVariableDoesNothingAndUnwritableFolderIsLogged) {
    enableLog();
    runWithEnvironment({"path", dir}, {}, {"PATH"});
    EXPECT_FALSE(exists(at("winpath.txt")));
    EXPECT_EQ(log().size(), 5u);

    enableLog();
    runWithEnvironment({"path", kUnwritable}, {"PATH=C:\\one"}, {"PATH"});
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "unable to save path");
    EXPECT_EQ(lines[6], "C:\\one");
}

TEST_F(Queries, ShortNameOfAnExistingPath) {
    std::string longPath = at("A folder with a long name");
    ASSERT_TRUE(CreateDirectoryA(longPath.c_str(), nullptr));
    char expected[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(longPath.c_str(), expected, MAX_PATH), 0u);
    enableLog();
    runSetup({"shortname", longPath, dir});
    EXPECT_EQ(readFile(at("winsname.txt")), std::string(expected) + "\r\n");
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "result:");
    EXPECT_EQ(lines[6], expected);
}

TEST_F(Queries, ShortNameOfAMissingOrEmptyPath) {
    enableLog();
    runSetup({"shortname", at("no such file"), dir});
    EXPECT_EQ(readFile(at("winsname.txt")), "\r\n");
    EXPECT_EQ(log().back(), "unable to get short name");

    DeleteFileA(at("winsname.txt").c_str());
    runSetup({"shortname", "", dir});
    EXPECT_FALSE(exists(at("winsname.txt")));
}

unsigned long long freeBytes(const char *root) {
    ULARGE_INTEGER available, total, totalFree;
    EXPECT_TRUE(GetDiskFreeSpaceExA(root, &available, &total, &totalFree));
    return available.QuadPart;
}

TEST_F(Queries, FreeSpaceOfTheDriveAPathLiesOn) {
    for (const char *drive : {"C:\\Program Files\\App", "c", "C:"}) {
        runSetup({"freespace", drive, dir});
        std::string text = readFile(at("winspace.txt"));
        ASSERT_GE(text.size(), 3u);
        ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
        unsigned long long reported = std::stoull(text.substr(0, text.size() - 2));
        unsigned long long expected = freeBytes("C:\\");
        unsigned long long margin = 64ull << 20;  // free space drifts between the two readings
        EXPECT_LE(reported, expected + margin) << drive;
        EXPECT_GE(reported + margin, expected) << drive;
    }
}

TEST_F(Queries, FreeSpaceThatCannotBeHadIsMinusOne) {
    for (std::string drive : {std::string("\\\\server\\share"), std::string(400, 'q')}) {
        DeleteFileA(at("winspace.txt").c_str());
        runSetup({"freespace", drive, dir});
        EXPECT_EQ(readFile(at("winspace.txt")), "-1\r\n") << drive.size();
    }
    DeleteFileA(at("winspace.txt").c_str());
    runSetup({"freespace", "", dir});
    EXPECT_FALSE(exists(at("winspace.txt")));
}

TEST_F(Queries, AttributesHideAndNormal) {
    std::string file = at("target.txt");
    writeFile(file, "x");
    struct Case {
        const char *word;
        DWORD before;
        bool hiddenAfter;
    } cases[] = {
        {"hide", FILE_ATTRIBUTE_ARCHIVE, true},
        {"HIDE", FILE_ATTRIBUTE_ARCHIVE, true},
        {"hidden", FILE_ATTRIBUTE_ARCHIVE, false},
        {"hide", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, true},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(SetFileAttributesA(file.c_str(), c.before));
        runSetup({"attributes", c.word, file});
        DWORD after = GetFileAttributesA(file.c_str());
        EXPECT_EQ((after & FILE_ATTRIBUTE_HIDDEN) != 0, c.hiddenAfter) << c.word;
        EXPECT_EQ(after & FILE_ATTRIBUTE_READONLY, c.before & FILE_ATTRIBUTE_READONLY) << c.word;
    }

    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    runSetup({"attributes", "Normal", file});
    DWORD after = GetFileAttributesA(file.c_str());
    EXPECT_EQ(after & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM), 0u);

    enableLog();
    runSetup({"attributes", "hide", at("missing.txt")});
    EXPECT_EQ(log().size(), 5u);  // the command itself logs nothing
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
