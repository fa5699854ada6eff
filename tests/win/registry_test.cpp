// The "registry" command: scripts run against the real registry, results
// file and log compared byte for byte.
#include "harness.h"

namespace {

using Lines = std::vector<std::string>;

std::string repeat(const std::string &text, size_t times) {
    std::string all;
    for (size_t i = 0; i < times; ++i) all += text;
    return all;
}

class Registry : public ToolTest {
protected:
    std::string key;   // this test's key below HKEY_CURRENT_USER
    std::string full;  // the same as a script writes it
    std::unique_ptr<RegistrySandbox> sandbox;

    void SetUp() override {
        ToolTest::SetUp();
        key = "Software\\TarvexTest\\" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        full = "HKEY_CURRENT_USER\\" + key;
        sandbox.reset(new RegistrySandbox(HKEY_CURRENT_USER, key));
    }
    void TearDown() override {
        sandbox.reset();
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TarvexTest");  // only once it is empty
        ToolTest::TearDown();
    }
    // Writes the script as given (line ends included) and runs it; returns
    // what "regstats.txt" holds afterwards.
    std::string run(const std::string &script, const std::string &name = "script.txt") {
        writeFile(at(name), script);
        runSetup({"registry", at(name)});
        return readFile(at("regstats.txt"));
    }
    std::string value(const std::string &name, DWORD *type = nullptr, const std::string &sub = "") {
        DWORD t = 0;
        std::string data = "<absent>";
        readValue(HKEY_CURRENT_USER, sub.empty() ? key : key + "\\" + sub, name, &t, &data);
        if (type) *type = t;
        return data;
    }
};

TEST_F(Registry, AddLogsAndReportsAsDocumented) {
    enableLog();
    std::string line = "add\tHKEY_current_user\\" + key + "\tInstallDir\tstring\tD:\\Install";
    EXPECT_EQ(run(line + "\r\n"), "add\t\tok\t" + full + "\tInstallDir\tstring\tD:\\Install\r\n");
    DWORD type;
    EXPECT_EQ(value("InstallDir", &type), std::string("D:\\Install\0", 11));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[5], line);
    EXPECT_EQ(lines[6], "<no stamp>");  // the line was logged with its line break
    EXPECT_EQ(lines[7], "adding field:");
    EXPECT_EQ(lines[8], "HKEY_current_user\\" + key + "\tInstallDir\tstring\tD:\\Install");
    EXPECT_EQ(lines[9], at("regstats.txt"));
}

TEST_F(Registry, ValueKindsAreStoredAndReadBack) {
    struct Case {
        const char *type, *data;
        DWORD storedType;
        std::string stored;
        const char *typeRead, *dataRead;
    } cases[] = {
        {"dword", "-1", REG_DWORD, std::string("\xff\xff\xff\xff", 4), "dword", "4294967295"},
        {"DWORD", "0x10", REG_DWORD, std::string(4, '\0'), "dword", "0"},
        {"dword", "  +12abc", REG_DWORD, std::string("\x0c\0\0\0", 4), "dword", "12"},
        {"dword", "4294967295", REG_DWORD, std::string("\xff\xff\xff\xff", 4), "dword", "4294967295"},
        {"binary", "0aFF", REG_BINARY, "\x0a\xff", "binary", "0aff"},
        {"Binary", "abc", REG_BINARY, "\xab\x0c", "binary", "ab0c"},
        {"binary", "", REG_BINARY, "", "binary", ""},
        {"string", "%PATH%;x", REG_EXPAND_SZ, std::string("%PATH%;x\0", 9), "string", "%PATH%;x"},
        {"string", "50%", REG_SZ, std::string("50%\0", 4), "string", "50%"},
        {"other", "text", REG_SZ, std::string("text\0", 5), "string", "text"},
    };
    std::string script, expected;
    int n = 0;
    for (const Case &c : cases) {
        std::string name = "v" + std::to_string(n++);
        script += "add\t" + full + "\t" + name + "\t" + c.type + "\t" + c.data + "\n";
        script += "query\t" + full + "\t" + name + "\n";
        expected += "add\t\tok\t" + full + "\t" + name + "\t" + c.type + "\t" + c.data + "\r\n";
        expected += "query\t\tok\t" + full + "\t" + name + "\t" + c.typeRead + "\t" + c.dataRead + "\r\n";
    }
    EXPECT_EQ(run(script), expected);
    n = 0;
    for (const Case &c : cases) {
        DWORD type;
        EXPECT_EQ(value("v" + std::to_string(n++), &type), c.stored) << c.data;
        EXPECT_EQ(type, c.storedType) << c.data;
    }
}

TEST_F(Registry, AddLeavesAnExistingValueAlone) {
    setString(HKEY_CURRENT_USER, key, "Version", "1");
    EXPECT_EQ(run("add\t" + full + "\tVersion\tstring\t2\n"), "add\t\texists\t" + full + "\tVersion\tstring\t2\r\n");
    EXPECT_EQ(value("Version"), std::string("1\0", 2));
}

TEST_F(Registry, AddWithEmptyValueName) {
    // An existing key counts as holding its default value.
    setString(HKEY_CURRENT_USER, key, "x", "1");
    std::string stats = run("add\t" + full + "\t\tstring\tdef\n");
    EXPECT_EQ(stats, "add\t\texists\t" + full + "\t\tstring\tdef\r\n");
    EXPECT_EQ(value(""), "<absent>");

    // A missing key is made; text sets its default value, a number only the key.
    DeleteFileA(at("regstats.txt").c_str());
    stats = run("add\t" + full + "\\A\t\tstring\tdef\nadd\t" + full + "\\B\t\tdword\t5\n");
    EXPECT_EQ(stats, "add\t\tok\t" + full + "\\A\t\tstring\tdef\r\nadd\t\tok\t" + full + "\\B\t\tdword\t5\r\n");
    EXPECT_EQ(value("", nullptr, "A"), std::string("def\0", 4));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key + "\\B"));
    EXPECT_EQ(value("", nullptr, "B"), "<absent>");
}

TEST_F(Registry, ReplaceTakesTheRestOfTheLineAsData) {
    setDword(HKEY_CURRENT_USER, key, "Path", 7);
    EXPECT_EQ(run("replace\t" + full + "\tPath\tstring\ta\tb\n"),
              "replace\t\tok\t" + full + "\tPath\tstring\ta\tb\r\n");
    DWORD type;
    EXPECT_EQ(value("Path", &type), std::string("a\tb\0", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Registry, AppendAndPrependJoinWithoutSeparatorByTheEntrysType) {
    setString(HKEY_CURRENT_USER, key, "Text", "mid");
    setString(HKEY_CURRENT_USER, key, "Empty", "");
    setDword(HKEY_CURRENT_USER, key, "Number", 12);
    setBinary(HKEY_CURRENT_USER, key, "Bytes", "\x01\x02");
    std::string script = "append\t" + full + "\tText\tstring\t;end\n"      //
                         "prepend\t" + full + "\tText\tstring\tstart;\n"  //
                         "prepend\t" + full + "\tEmpty\tstring\tonly\n"   //
                         "append\t" + full + "\tMissing\tstring\tnew\n"   //
                         "append\t" + full + "\tNumber\tdword\t3\n"       //
                         "append\t" + full + "\tBytes\tbinary\tff\n";
    std::string expected = "append\t\tok\t" + full + "\tText\tstring\tmid;end\r\n"            //
                           "prepend\t\tok\t" + full + "\tText\tstring\tstart;mid;end\r\n"     //
                           "prepend\t\tok\t" + full + "\tEmpty\tstring\tonly\r\n"             //
                           "append\t\tok\t" + full + "\tMissing\tstring\tnew\r\n"             //
                           "append\t\tok\t" + full + "\tNumber\tdword\t123\r\n"               //
                           "append\t\tok\t" + full + "\tBytes\tbinary\t0102ff\r\n";
    EXPECT_EQ(run(script), expected);
    EXPECT_EQ(value("Text"), std::string("start;mid;end\0", 14));
    EXPECT_EQ(value("Empty"), std::string("only\0", 5));
    EXPECT_EQ(value("Number"), std::string("\x7b\0\0\0", 4));
    EXPECT_EQ(value("Bytes"), "\x01\x02\xff");

    // Appending text to a number makes a text value of its text form.
    DeleteFileA(at("regstats.txt").c_str());
    run("append\t" + full + "\tNumber\tstring\t4\n");
    DWORD type;
    EXPECT_EQ(value("Number", &type), std::string("1234\0", 5));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Registry, ExistsTestsTheKeyOnly) {
    setString(HKEY_CURRENT_USER, key, "x", "1");
    EXPECT_EQ(run("exists\t" + full + "\tWhatever\tdword\t1\nexists\t" + full + "\\Missing\n"),
              "exists\t\tok\t" + full + "\t\t\t\r\nexists\t\terror\t" + full + "\\Missing\t\t\t\r\n");
}

TEST_F(Registry, QueryOfMultiStringsAndMissingValues) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr),
              0);
    RegSetValueExA(handle, "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>("a\0b\0\0"), 5);
    RegCloseKey(handle);
    EXPECT_EQ(run("query\t" + full + "\tMulti\nquery\t" + full + "\tMissing\tbinary\n"),
              "query\t\tok\t" + full + "\tMulti\tstring\ta\r\nb\r\n\r\n\r\n" +  //
                  "query\t\terror\t" + full + "\tMissing\t\t\r\n");
}

TEST_F(Registry, LargeValuesAreReadWhole) {
    std::string big(12000, 'x');
    setString(HKEY_CURRENT_USER, key, "Big", big);
    setBinary(HKEY_CURRENT_USER, key, "Bytes", std::string(6000, '\x5a'));
    std::string stats = run("add\t" + full + "\tBig\tstring\tsmall\n"   //
                            "append\t" + full + "\tBig\tstring\t!\n"    //
                            "query\t" + full + "\tBytes\n");
    EXPECT_EQ(stats, "add\t\texists\t" + full + "\tBig\tstring\tsmall\r\n"  //
                         "append\t\tok\t" + full + "\tBig\tstring\t" + big + "!\r\n" +
                         "query\t\tok\t" + full + "\tBytes\tbinary\t" + repeat("5a", 6000) +
                         "\r\n");
    EXPECT_EQ(value("Big"), big + "!" + std::string(1, '\0'));
}

TEST_F(Registry, DeleteRemovesOneKeyWithoutSubkeys) {
    setString(HKEY_CURRENT_USER, key + "\\Old", "x", "1");
    setString(HKEY_CURRENT_USER, key + "\\Tree\\Leaf", "x", "1");
    enableLog();
    EXPECT_EQ(run("delete\t" + full + "\tOld\ndelete\t" + full + "\tTree\n"),
              "delete\t\tok\t" + full + "\tOld\tstring\t\r\ndelete\t\terror\t" + full + "\tTree\tstring\t\r\n");
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key + "\\Old"));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key + "\\Tree\\Leaf"));
    std::vector<std::string> lines = log();
    EXPECT_EQ(lines[10], "successfully deleted key: 1");
    EXPECT_EQ(lines.back(), "successfully deleted key: 0");
}

TEST_F(Registry, KeywordSearchAndEntrySyntax) {
    setString(HKEY_CURRENT_USER, key, "Version", "3");
    std::string script =
        "; add\t" + full + "\tcomment\n"                          // comment: ignored
        " ;query\t" + full + "\tVersion\n"                        // not a comment
        "  query\t" + full + "\tVersion\n"                        // leading text dropped
        "Add\t" + full + "\tignored\n"                            // keyword case matters
        "add " + full + "\tignored\n"                             // so does the tab
        "\n"                                                      // empty line
        "add\tHKLM\\Software\\Example\tv\n"                      // unknown root
        "add\t\t" + full + "\tv\n"                                // second tab joins the root
        "query\t" + full + "\tpadd\tstring\n"                     // "add\t" comes first
        "exists\tHKEY_CURRENT_user\\" + key;                      // last line without a line end
    std::string expected = "query\t\tok\t" + full + "\tVersion\tstring\t3\r\n"
                           "query\t\tok\t" + full + "\tVersion\tstring\t3\r\n"
                           "add\t\terror\t\\\t\tstring\t\r\n"
                           "add\t\terror\t\\\t\tstring\t\r\n"
                           "add\t\terror\t\\\t\tstring\t\r\n"
                           "exists\t\tok\t" + full + "\t\t\t\r\n";
    EXPECT_EQ(run(script), expected);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key + "\\ignored"));
}

TEST_F(Registry, ResultsGoBesideTheScriptOrIntoTheCurrentDirectory) {
    std::string sub = at("scripts");
    CreateDirectoryA(sub.c_str(), nullptr);
    writeFile(sub + "\\regs.txt", "exists\t" + full + "\n");
    writeFile(at("bare.txt"), "exists\t" + full + "\n");
    runSetup({"registry", sub + "\\regs.txt"});
    runSetup({"registry", "bare.txt"});
    EXPECT_EQ(readFile(sub + "\\regstats.txt"), "exists\t\terror\t" + full + "\t\t\t\r\n");
    EXPECT_EQ(readFile(at("regstats.txt")), "exists\t\terror\t" + full + "\t\t\t\r\n");

    // Missing script or empty path: nothing written, nothing logged.
    enableLog();
    runSetup({"registry", at("missing.txt")});
    runSetup({"registry", ""});
    EXPECT_EQ(log().size(), 10u);
}

TEST_F(Registry, ScriptFolderTooLongForItsBufferIsRefused) {
    enableLog();
    std::string folder = "C:\\" + std::string(270, 's');
    runSetup({"registry", folder + "\\script.txt"});
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "script path too long: script not run");
    EXPECT_FALSE(exists(at("regstats.txt")));
}

TEST_F(Registry, LongLinesAreReadAndRunWhole) {
    // A 1 MB add stores every character and reports them.
    std::string big(1000000, 'v');
    std::string stats = run("add\t" + full + "\tbig\tstring\t" + big + "\n");
    EXPECT_EQ(stats, "add\t\tok\t" + full + "\tbig\tstring\t" + big + "\r\n");
    EXPECT_EQ(value("big"), big + '\0');
    // What lies beyond the old read limit is part of the line, never a line
    // of its own: the delete at its end does not run.
    setString(HKEY_CURRENT_USER, key + "\\Keep", "", "kept");
    std::string tail = std::string(12000, 'y') + "delete\t" + full + "\tKeep";
    DeleteFileA(at("regstats.txt").c_str());
    stats = run("replace\t" + full + "\tlong\tstring\t" + tail + "\n");
    EXPECT_EQ(stats, "replace\t\tok\t" + full + "\tlong\tstring\t" + tail + "\r\n");
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key + "\\Keep"));
    EXPECT_EQ(value("long"), tail + '\0');
}

TEST_F(Registry, LineBeyondWhatIsHeldIsRefusedAsOne) {
    // Over 16 MiB: refused whole with its results line; the next line runs.
    std::string huge(17u << 20, 'z');
    std::string stats = run("add\t" + full + "\thuge\tstring\t" + huge + "\nadd\t" + full + "\tnext\tstring\t1\n");
    EXPECT_EQ(stats, "add\t\terror\t" + full + "\thuge\tstring\t\r\nadd\t\tok\t" + full + "\tnext\tstring\t1\r\n");
    EXPECT_EQ(value("huge"), "<absent>");
}

// Append and prepend join texts in their wide form: characters outside the
// ANSI code page come back exactly.
TEST_F(Registry, JoiningKeepsCharactersOutsideTheCodePage) {
    const std::wstring omega = L"C:\\\u03A9mega\\bin";
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr), 0);
    for (const wchar_t *name : {L"A", L"P"})
        RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(omega.c_str()),
                       static_cast<DWORD>((omega.size() + 1) * 2));
    RegCloseKey(handle);
    std::string stats = run("append\t" + full + "\tA\tstring\t;C:\\x\nprepend\t" + full + "\tP\tstring\t%X%;\n");
    EXPECT_EQ(stats.substr(0, 10), "append\t\tok");
    EXPECT_NE(stats.find("prepend\t\tok\t"), std::string::npos);
    auto wide = [&](const wchar_t *name, DWORD *type) {
        wchar_t data[256] = {};
        DWORD size = sizeof data;
        RegGetValueW(HKEY_CURRENT_USER, std::wstring(key.begin(), key.end()).c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                     type, data, &size);
        return std::wstring(data);
    };
    DWORD type = 0;
    EXPECT_TRUE(wide(L"A", &type) == omega + L";C:\\x");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(wide(L"P", &type) == L"%X%;" + omega);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

// A results line that cannot be written is logged, and no piece of it
// stays; the lines already there are kept.
TEST_F(Registry, ResultsLineOnAFullDiskIsLoggedAndLeavesNothingTorn) {
    std::string folder = smallDiskFolder("registry");
    if (folder.empty()) GTEST_SKIP() << "no small disk could be mounted";
    std::string script = folder + "\\script.txt";
    writeFile(script, "add\t" + full + "\tv\tstring\t" + std::string(3000, 'd') + "\nenumkey\t" + full + "\n");
    // One whole page of earlier lines, so that any further byte needs a new one.
    std::string earlier = std::string(4094, 'e') + "\r\n";
    writeFile(folder + "\\regstats.txt", earlier);
    fillDisk(folder);
    enableLog();  // in the current directory, on a disk with room
    runSetup({"registry", script});
    EXPECT_EQ(readFile(folder + "\\regstats.txt"), earlier);
    EXPECT_EQ(value("v"), std::string(3000, 'd') + '\0');  // the registry work stands
    Lines lines = log();
    std::string message = "unable to write results line: " + folder + "\\regstats.txt";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), message), 2) << lines.size();
    removeTree(folder);
}

TEST_F(Registry, EnumerationListsNamesInOrder) {
    setString(HKEY_CURRENT_USER, key + "\\A", "", "default");
    setString(HKEY_CURRENT_USER, key + "\\A", "X", "1");
    setString(HKEY_CURRENT_USER, key + "\\A", "Y", "1");
    setString(HKEY_CURRENT_USER, key + "\\B", "Z", "1");
    setString(HKEY_CURRENT_USER, key + "\\B\\ACCESS_DENIED", "Z", "1");
    setString(HKEY_CURRENT_USER, key + "\\Empty\\Sub", "", "");
    enableLog();
    std::string script = "enumkey\t" + full + "\n"                // A, B, Empty
                         "enumvalue\tHKEY_CURRENT_USER\\Software\\TarvexTest\t" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\A\n"  // default, X, Y
                         "enumkey\t" + full + "\tB\n"              // ACCESS_DENIED
                         "enumvalue\t" + full + "\\Empty\n"        // none
                         "enumkey\t" + full + "\\Missing\n"        // cannot be opened
                         "enumvalue\tHKLM\\Software\n";           // no root
    std::string expected = "enumkey\t\tok\tA\tB\tEmpty\r\n"
                           "enumvalue\t\tok\tX\tY\r\n"
                           "enumkey\t\taccess_denied\t\r\n"
                           "enumvalue\t\tok\t\r\n"
                           "enumkey\t\terror\r\n"
                           "enumvalue\t\terror\r\n";
    EXPECT_EQ(run(script), expected);
    std::vector<std::string> lines = log();
    std::vector<std::string> messages;
    for (const std::string &line : lines)
        if (line.rfind("key ", 0) == 0 || line.rfind("value ", 0) == 0 || line.rfind("unable", 0) == 0 ||
            line.rfind("no ", 0) == 0 || line.rfind("found", 0) == 0 || line.find("Number") != std::string::npos)
            messages.push_back(line);
    EXPECT_EQ(messages, (std::vector<std::string>{"key 0: A", "key 1: B", "key 2: Empty", "found the keys",
                                                  "<no stamp>Number of values: 3", "value 0: ", "value 1: X",
                                                  "value 2: Y", "found the values", "key 0: ACCESS_DENIED",
                                                  "found the keys", "no values to enumerate",
                                                  "unable to enumerate key; result code: 2",
                                                  "unable to enumerate value; result code: 6"}));
}

}  // namespace

namespace {

std::string unhex(const std::string &digits) {
    std::string bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

std::vector<Lines> predictionRows(const std::string &output, const std::string &kind) {
    std::vector<Lines> rows;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        std::string line = output.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Lines fields;
        size_t from = 0;
        for (size_t tab = line.find('\t'); ; tab = line.find('\t', from)) {
            fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        if (fields[0] == kind) rows.push_back(fields);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return rows;
}

}  // namespace

// What the checker predicts for each line of a script holding every value
// pitfall is what setup.exe then stores, byte for byte, and every line it
// says is ignored leaves no results line.
TEST_F(Registry, CheckerPredictsWhatSetupStores) {
    std::string script = "add\t" + full + "\tplain\tstring\tC:\\Program Files\\Demo\n"
                         "add\t" + full + "\thexdword\tdword\t0x10\n"
                         "add\t" + full + "\tmixed\tDWORD\t12abc\n"
                         "add\t" + full + "\twrap\tdword\t4294967296\n"
                         "add\t" + full + "\tneg\tdword\t-1\n"
                         "replace\t" + full + "\todd\tbinary\tabc\n"
                         "replace\t" + full + "\tnothex\tbinary\tzz12\n"
                         "add\t" + full + "\texpand\tstring\t%PATH%;x\n"
                         "add\t" + full + "\tunknown\texpand\tdata\n"
                         "add\t" + full + "\\Sub\t\tdword\t5\n"
                         "xx add\t" + full + "\tmiddle\tstring\tm\n"
                         "  query\t" + full + "\tplain\n"
                         "Add\t" + full + "\tcase\tstring\tx\n"
                         "add " + full + "\tblank\tstring\tx\n"
                         "add\tHKLM\\Software\\X\tv\tstring\tx\n"
                         "query\t" + full + "\tpadd\tstring\n"
                         "; comment\n"
                         "add\t" + full + "\tPLAIN\tstring\tsecond\n";
    writeFile(at("script.txt"), script);
    DWORD code = 0;
    std::string predicted = runCapturing(checkerExe(), {"--predict", at("script.txt")}, &code);
    EXPECT_EQ(code, 2u);  // the unrecognised roots cannot run
    std::vector<Lines> rows = predictionRows(predicted, "registry");
    ASSERT_EQ(rows.size(), 15u) << predicted;
    runSetup({"registry", at("script.txt")});
    Lines results;
    for (const std::string &line : logMessages(readFile(at("regstats.txt")))) results.push_back(line);
    EXPECT_EQ(results.size(), rows.size());  // one results line per predicted operation, none for ignored lines

    static const struct { const char *name; DWORD type; } kinds[] = {
        {"REG_SZ", REG_SZ}, {"REG_EXPAND_SZ", REG_EXPAND_SZ}, {"REG_DWORD", REG_DWORD}, {"REG_BINARY", REG_BINARY}};
    for (const Lines &row : rows) {
        const std::string &keyPath = row[4], &name = row[5], &stored = row[6];
        std::string where = "line " + row[1] + " " + row[2] + " " + name;
        if (stored == "key") {
            EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, keyPath)) << where;
            DWORD type = 0;
            std::string data;
            EXPECT_FALSE(readValue(HKEY_CURRENT_USER, keyPath, name, &type, &data) && type == REG_DWORD) << where;
            continue;
        }
        if (stored == "unchanged") {
            EXPECT_NE(results[&row - &rows[0]].find("\texists\t"), std::string::npos) << where;
            continue;
        }
        if (stored == "none") {
            if (row[3].empty()) {
                EXPECT_NE(results[&row - &rows[0]].find("\terror\t"), std::string::npos) << where;
            }
            continue;
        }
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(readValue(HKEY_CURRENT_USER, keyPath, name, &type, &data)) << where;
        bool known = false;
        for (const auto &kind : kinds)
            if (stored == kind.name) {
                EXPECT_EQ(type, kind.type) << where;
                known = true;
            }
        EXPECT_TRUE(known) << where;
        EXPECT_EQ(data, unhex(row[7])) << where;
    }
}

// The example a page of the reference quotes gives the results file the page
// quotes, byte for byte.
TEST_F(Registry, ExampleScriptGivesItsDocumentedResults) {
    std::string script = sourceFile("examples/registry.txt");
    ASSERT_FALSE(script.empty()) << "TARVEX_SOURCE is not set";
    RegistrySandbox demo(HKEY_CURRENT_USER, "Software\\TarvexDemo");
    writeFile(at("registry.txt"), readFile(script));
    runSetup({"registry", at("registry.txt")});
    EXPECT_EQ(readFile(at("regstats.txt")), readFile(sourceFile("examples/registry.regstats.txt")));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\TarvexDemo"));
}
