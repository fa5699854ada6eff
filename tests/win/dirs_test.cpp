// Directory queries: "windir", "progmandir" and the shell folder queries.
// Expected folders come from the API, never from Wine's layout.
#include <shlobj.h>

#include <memory>

#include "harness.h"

namespace {

using Lines = std::vector<std::string>;

std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

class Dirs : public ToolTest {
protected:
    std::string query(const std::vector<std::string> &args, const char *environment = nullptr) {
        DeleteFileA(at("windir.txt").c_str());
        enableLog();
        runIn(dir, setupExe(), args, environment);
        return readFile(at("windir.txt"));
    }
    Lines handlerLog() {
        Lines lines = log();
        return lines.size() > 5 ? Lines(lines.begin() + 5, lines.end()) : Lines{};
    }
};

TEST_F(Dirs, ShellFolderQueriesAndTheirExactScope) {
    struct Case {
        const char *command, *scope;
        int csidl;
    } cases[] = {
        {"appdatadir", "allUsers", CSIDL_COMMON_APPDATA}, {"appdatadir", "allusers", CSIDL_LOCAL_APPDATA},
        {"appdatadir", nullptr, CSIDL_LOCAL_APPDATA},      {"documentsdir", "allUsers", CSIDL_COMMON_DOCUMENTS},
        {"documentsdir", "ALLUSERS", CSIDL_PERSONAL},      {"roamingdir", nullptr, CSIDL_APPDATA},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = {c.command};
        if (c.scope) args.push_back(c.scope);
        args.push_back(dir);
        std::string expected = shellFolder(c.csidl);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(query(args), expected + "\r\n") << c.command << " " << (c.scope ? c.scope : "");
        if (std::string(c.command) == "documentsdir") EXPECT_EQ(handlerLog(), Lines{expected});
        else EXPECT_EQ(handlerLog(), Lines{});
    }
}

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kNtSetupKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SETUP";
const char kSetupKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SETUP";
const char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

TEST_F(Dirs, WindowsDirectoryFromTheRegistry) {
    DWORD type;
    std::string root;
    ASSERT_TRUE(readValue(HKEY_LOCAL_MACHINE, kNtKey, "SystemRoot", &type, &root));
    root = root.c_str();
    EXPECT_EQ(query({"windir", dir}), root + "\r\n");
    EXPECT_EQ(handlerLog(), Lines{"Windows directory: " + root});
}

TEST_F(Dirs, WindowsDirectoryFromTheSearchPathInLowerCase) {
    std::vector<std::unique_ptr<SavedValue>> saved;
    const std::pair<const char *, const char *> values[] = {
        {kNtKey, "SystemRoot"}, {kNtKey, "PathName"}, {kNtKey, "WinDir"}, {kNtSetupKey, "WinDir"}, {kSetupKey, "WinDir"}};
    for (const auto &value : values) {
        saved.emplace_back(new SavedValue(HKEY_LOCAL_MACHINE, value.first, value.second));
        deleteValue(HKEY_LOCAL_MACHINE, value.first, value.second);
    }
    ASSERT_FALSE(exists("c:\\winnt"));
    std::string winnt = at("WinNT");
    CreateDirectoryA(winnt.c_str(), nullptr);
    std::vector<std::string> variables = environmentWithout({"PATH"});
    variables.push_back("PATH=x:\\missing\\winnt;" + winnt + "\\system32;" + winnt);
    std::string block = environmentBlock(variables);

    std::string lower = winnt;
    for (char &c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(query({"windir", dir}, block.c_str()), lower + "\r\n");
    Lines expected = {"Unable to find Windows directory in " + std::string(kNtKey) + " SystemRoot",
                      "Unable to find Windows directory in " + std::string(kNtKey) + " PathName",
                      "Unable to find Windows directory in " + std::string(kNtKey) + " WinDir"};
    if (keyExists(HKEY_LOCAL_MACHINE, kNtSetupKey))
        expected.push_back("Unable to find Windows directory in " + std::string(kNtSetupKey) + " WinDir");
    if (keyExists(HKEY_LOCAL_MACHINE, kSetupKey))
        expected.push_back("Unable to find Windows directory in " + std::string(kSetupKey) + " WinDir");
    expected.push_back("Windows directory: " + lower);
    EXPECT_EQ(handlerLog(), expected);

    // No entry in the search path: the environment's SYSTEMROOT.
    variables = environmentWithout({"PATH"});
    variables.push_back("PATH=" + winnt + "\\");
    block = environmentBlock(variables);
    std::string systemRoot = getenv("SYSTEMROOT");
    EXPECT_EQ(query({"windir", dir}, block.c_str()), systemRoot + "\r\n");
    Lines lines = handlerLog();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Found windows directory in environment");
    EXPECT_EQ(lines.back(), "Windows directory: " + systemRoot);
}

TEST_F(Dirs, ProgramFilesDirectory) {
    SavedValue savedDir(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir");
    SavedValue savedPath(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesPath");
    const std::string looking = "Looking for Program Manager directory in " + std::string(kVersionKey);

    setString(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir", "D:\\Programs");
    EXPECT_EQ(query({"progmandir", dir}), "D:\\Programs\r\n");
    EXPECT_EQ(handlerLog(), (Lines{looking, "  found Program Manager directory in ProgramFilesDir",
                                   "                        directory: D:\\Programs",
                                   "Program files dir:  D:\\Programs"}));

    deleteValue(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesDir");
    setString(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesPath", "%ProgramFiles%\\Apps", REG_EXPAND_SZ);
    EXPECT_EQ(query({"progmandir", dir}), "%ProgramFiles%\\Apps\r\n");
    EXPECT_EQ(handlerLog(), (Lines{looking, "  unable to find Program Manager directory in ProgramFilesDir",
                                   "  found Program Manager directory in ProgramFilesPath",
                                   "                       directory: %ProgramFiles%\\Apps",
                                   "Program files dir:  %ProgramFiles%\\Apps"}));

    deleteValue(HKEY_LOCAL_MACHINE, kVersionKey, "ProgramFilesPath");
    ASSERT_TRUE(exists("C:\\Program Files"));
    EXPECT_EQ(query({"progmandir", dir}), "C:\\Program Files\r\n");
    EXPECT_EQ(handlerLog(), (Lines{looking, "  unable to find Program Manager directory in ProgramFilesDir",
                                   "  unable to find Program Manager directory in ProgramFilesPath",
                                   "Using default windows dir:  C:\\Program Files"}));
}

TEST_F(Dirs, UnwritableResultDirectoryWritesAndLogsNothing) {
    query({"roamingdir", "Z:\\proc"});
    EXPECT_EQ(handlerLog(), Lines{});
}

}  // namespace
