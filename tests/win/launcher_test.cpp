// The launcher update.exe: configured with update-config.exe, started as a
// child process, launching the stand-in runtime registered under HKLM.
// These tests replace the Java runtime registrations of the machine they run
// on (a throwaway Wine prefix).
#include "harness.h"

namespace {

using Lines = std::vector<std::string>;
const char kJavaKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";

// A path as a properties file writes it: each backslash escaped.
std::string escaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

class Launcher : public ToolTest {
protected:
    std::unique_ptr<RegistrySandbox> runtimes;
    std::string launcher;

    void SetUp() override {
        ToolTest::SetUp();
        runtimes.reset(new RegistrySandbox(HKEY_LOCAL_MACHINE, kJavaKey));
        launcher = at("update.exe");
    }
    void TearDown() override {
        runtimes.reset();
        ToolTest::TearDown();
    }
    DWORD configure(const std::vector<std::string> &values, const std::string &target = "") {
        std::vector<std::string> args = {updateExe(), target.empty() ? launcher : target};
        args.insert(args.end(), values.begin(), values.end());
        return runIn(dir, updateConfigExe(), args);
    }
    // A runtime home with the stand-in as bin\<name>.
    std::string runtime(const std::string &folder, const std::string &name = "java.exe") {
        std::string home = at(folder);
        CreateDirectoryA(home.c_str(), nullptr);
        CreateDirectoryA((home + "\\bin").c_str(), nullptr);
        EXPECT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), (home + "\\bin\\" + name).c_str(), FALSE));
        return home;
    }
    void registerRuntime(const std::string &version, const std::string &home, const char *valueName = "JavaHome",
                         const char *micro = nullptr) {
        std::string key = std::string(kJavaKey) + "\\" + version;
        setString(HKEY_LOCAL_MACHINE, key, valueName, home);
        if (micro) setString(HKEY_LOCAL_MACHINE, key, "MicroVersion", micro);
    }
    DWORD launch(const std::string &cwd, const std::string &commandTail, const std::vector<std::string> &extraEnv = {}) {
        std::vector<std::string> variables = environmentWithout({"STANDIN_RECORD", "STANDIN_EXIT", "CLASSPATH"});
        variables.push_back("STANDIN_RECORD=" + at("record.txt"));
        variables.push_back("CLASSPATH=C:\\should\\not\\pass");
        variables.insert(variables.end(), extraEnv.begin(), extraEnv.end());
        std::string block = environmentBlock(variables);
        std::string line = quote(launcher) + (commandTail.empty() ? "" : " " + commandTail);
        return runProcess(line, cwd, block.c_str());
    }
    // The words the program received, in order.
    Lines words() {
        Lines found;
        std::string text = readFile(at("record.txt"));
        for (size_t at = text.find("\narg="); at != std::string::npos; at = text.find("\narg=", at + 1))
            found.push_back(text.substr(at + 5, text.find('\n', at + 1) - at - 5));
        return found;
    }
    std::string record(const std::string &field) {
        std::string text = readFile(at("record.txt"));
        size_t at = text.find(field + "=");
        if (at == std::string::npos) return "<no record>";
        size_t end = text.find('\n', at);
        return text.substr(at + field.size() + 1, end - at - field.size() - 1);
    }
};

TEST_F(Launcher, UnconfiguredLauncherRefusesWithExitCodeZero) {
    enableLog("pellix.log");
    launcher = updateExe();
    EXPECT_EQ(launch(dir, ""), 0u);
    EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{"The program has not been properly configured."});
    EXPECT_EQ(log("pellix.log"), (Lines{"", "Starting app", "Getting command line settings",
                                        "The program has not been properly configured."}));
}

TEST_F(Launcher, MissingPropertiesFileIsLoggedAlways) {
    ASSERT_EQ(configure({"demo.properties", at("nowhere")}), 0u);
    EXPECT_EQ(launch(dir, ""), 0u);
    EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{"Unable to open file demo.properties"});
    EXPECT_FALSE(exists(at("pellix.log")));  // never created
}

TEST_F(Launcher, RunsTheProgramWithItsArgumentsInTheStartDirectory) {
    std::string home = runtime("Java Home");
    std::string exe = home + "\\bin\\java.exe";
    writeFile(at("demo.properties"), "# demo\r\nprogramName=Demo\r\nexecFilename=" + escaped(exe) +
                                         "\r\nargs=-cp \"lib dir\" Main\r\nargs=ignored\r\n");
    ASSERT_EQ(configure({"demo.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, "a  \"b c\"", {"STANDIN_EXIT=3"}), 1u);

    EXPECT_EQ(record("cwd"), dir);
    EXPECT_EQ(record("classpath"), "unset");
    std::string cmdline = record("cmdline");
    EXPECT_NE(cmdline.find("-cp \"lib dir\" Main a  \"b c\""), std::string::npos) << cmdline;

    std::string quotedExe = "\"" + exe + "\"";
    std::string joined = "-cp \"lib dir\" Main a  \"b c\"";
    const char *comspec = getenv("COMSPEC");
    Lines expected = {"",
                      "Starting app",
                      "Getting command line settings",
                      "original line # demo",
                      "unescaped line # demo",
                      "original line programName=Demo",
                      "unescaped line programName=Demo",
                      "original line execFilename=" + escaped(exe),
                      "unescaped line execFilename=" + exe,
                      "original line args=-cp \"lib dir\" Main",
                      "unescaped line args=-cp \"lib dir\" Main",
                      "original line args=ignored",
                      "unescaped line args=ignored",
                      "Program name Demo",
                      "Executable " + exe,
                      "Arguments -cp \"lib dir\" Main",
                      "Start dir " + dir,
                      "Setting up command line",
                      "Next argument: -cp",
                      "Next argument: lib dir",
                      "Next argument: Main",
                      "Next argument: a",
                      "Next argument: ",
                      "Next argument: b c",
                      "launch command: \"" + quotedExe + "\" " + joined,
                      "launch command: " + std::string(comspec ? comspec : "CMD.EXE") + " /c \"" + quotedExe + " " +
                          joined + "\"",
                      "started app silently 3",
                      "app launched: true"};
    EXPECT_EQ(log("pellix.log"), expected);
    EXPECT_FALSE(exists(at("errors.log")));
}

TEST_F(Launcher, PlainCommandAndEmptyArgumentsWithoutComspec) {
    std::string home = runtime("rt");
    writeFile(at("p.properties"), "execFilename=" + escaped(home) + "\\\\bin\\\\java.exe\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    // A CMD.EXE in the start directory and beside the launcher: neither may run.
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), at("CMD.EXE").c_str(), FALSE));
    std::string besides = at("beside");
    CreateDirectoryA(besides.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(launcher.c_str(), (besides + "\\update.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), (besides + "\\CMD.EXE").c_str(), FALSE));
    launcher = besides + "\\update.exe";
    enableLog("pellix.log");
    char systemDir[MAX_PATH + 1];
    ASSERT_GT(GetSystemDirectoryA(systemDir, MAX_PATH), 0u);
    std::string interpreter = std::string(systemDir) + "\\cmd.exe";
    for (const char *comspec : {(const char *)nullptr, "CMD.EXE", ".\\CMD.EXE", ""}) {
        std::vector<std::string> variables = environmentWithout({"COMSPEC", "STANDIN_RECORD"});
        variables.push_back("STANDIN_RECORD=" + at("record.txt"));
        if (comspec) variables.push_back(std::string("COMSPEC=") + comspec);
        std::string block = environmentBlock(variables);
        DeleteFileA(at("record.txt").c_str());
        DeleteFileA(at("pellix.log").c_str());
        enableLog("pellix.log");
        EXPECT_EQ(runProcess(quote(launcher), dir, block.c_str()), 1u);
        Lines lines = log("pellix.log");
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[lines.size() - 4], "launch command: \"" + home + "\\bin\\java.exe\" ");
        EXPECT_EQ(lines[lines.size() - 3], "launch command: " + interpreter + " /c " + home + "\\bin\\java.exe ");
        EXPECT_EQ(lines[lines.size() - 2], "started app silently 0");
        // The record is the program's, not a planted interpreter's.
        EXPECT_EQ(record("cmdline").rfind(home + "\\bin\\java.exe", 0), 0u) << record("cmdline");
    }
}

TEST_F(Launcher, VanishedExecutableIsReplacedFromARegisteredRuntime) {
    std::string old = runtime("old"), found = runtime("found", "javaw.exe");
    registerRuntime("1.5.0", old);
    registerRuntime("1.6", found, "Home", "0");
    registerRuntime("1.7", "");  // no home directory
    writeFile(at("p.properties"), "execFilename=C:\\\\gone\\\\bin\\\\javaw\njvmMinVersion=1.4\njvmMinVersion=1.6\n"
                                  "jvmMaxVersion=1.6\nargs=x\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    std::string replacement = found + "\\bin\\javaw.exe";
    EXPECT_NE(record("cmdline").find("x"), std::string::npos);
    Lines lines = log("pellix.log");
    Lines discovery(lines.begin() + 13, lines.begin() + 22);
    EXPECT_EQ(discovery, (Lines{"exec doesn\xb4t exist: C:\\gone\\bin\\javaw",
                                "searching registry entry SOFTWARE\\JavaSoft\\Java Runtime Environment",
                                "                 version 1.5.0", "found jvm version: 1.5.0",
                                "                 version 1.6", "found jvm version: 1.6.0",
                                "JRE registry entry had correct jvm info: true", "new exec: " + replacement,
                                "Program name "}));
}

TEST_F(Launcher, NothingQualifiesAndTheFileNameIsNotHereShowsTheErrorBox) {
    registerRuntime("1.4", runtime("old"));
    writeFile(at("p.properties"), "programName=Demo\nexecFilename=C:\\\\rt\\\\bin\\\\run.exe\njvmRequiredVersion=1.6\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    Lines lines = log("pellix.log");
    ASSERT_GE(lines.size(), 8u);
    Lines tail(lines.end() - 8, lines.end());
    // The error text, one entry over several lines.
    EXPECT_EQ(tail, (Lines{"original executable not found", "Unable to start Demo", "<no stamp>",
                           "<no stamp>run.exe", "<no stamp>is no longer on your system", "<no stamp>",
                           "<no stamp>Change the execFilename property in", "<no stamp>" + dir + "\\p.properties"}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "unable to find a compatible Jvm"), lines.end());

    // With a file of that name in the current directory, that one runs.
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), at("run.exe").c_str(), FALSE));
    EXPECT_EQ(launch(dir, ""), 1u);
    EXPECT_NE(record("cmdline").find("run.exe"), std::string::npos);
}

TEST_F(Launcher, PropertiesFromTheAlternateDirectory) {
    std::string alt = at("alt dir"), work = at("work");
    CreateDirectoryA(alt.c_str(), nullptr);
    CreateDirectoryA(work.c_str(), nullptr);
    std::string home = runtime("rt");
    writeFile(alt + "\\app.properties", "execFilename=" + escaped(home) + "\\\\bin\\\\java.exe\n");
    ASSERT_EQ(configure({"app.properties", alt}), 0u);
    writeFile(alt + "\\pellix.log", "");
    EXPECT_EQ(launch(work, "arg"), 1u);
    EXPECT_EQ(record("cwd"), alt);
    Lines lines = logMessages(readFile(alt + "\\pellix.log"));
    // Only what is written while the program runs in the start directory.
    EXPECT_EQ(lines.front().rfind("launch command: ", 0), 0u);
    EXPECT_EQ(lines.back(), "app launched: true");
}

TEST_F(Launcher, PropertiesLineRules) {
    std::string home = runtime("rt");
    std::string exe = escaped(home) + "\\\\bin\\\\java.exe";
    writeFile(at("p.properties"),
              "programName=\n"                 // empty: the next one counts
              "programName = spaced \n"        // separator is the blank; the rest stays
              " execFilename=indented\n"       // ignored
              "EXECFILENAME=case\n"            // ignored
              "execFilenameX" + exe + "\n"     // a longer word is the key's line
              "args\n"                         // ends right after the key: no value
              "args:one\\ two\\\n");           // escapes; trailing backslash vanishes
    ASSERT_EQ(configure({"p.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    Lines lines = log("pellix.log");
    auto find = [&](const std::string &prefix) {
        for (const std::string &line : lines)
            if (line.rfind(prefix, 0) == 0) return line;
        return std::string("<none>");
    };
    EXPECT_EQ(find("Program name"), "Program name = spaced ");
    EXPECT_EQ(find("Executable"), "Executable " + home + "\\bin\\java.exe");
    EXPECT_EQ(find("Arguments"), "Arguments one two");
}

// The settings the checker predicts for a properties file holding the
// pitfalls (a longer word starting with a key, keys in another case or
// indented, repeated keys, escapes, interpreter characters) are the ones the
// launcher then uses.
TEST_F(Launcher, CheckerPredictsTheSettingsTheLauncherUses) {
    std::string exe = runtime("rt") + "\\bin\\java.exe";
    writeFile(at("p.properties"), "argsFile=extra.txt\r\n"
                                  "args=ignored, argsFile came first\r\n"
                                  "Args=case\r\n"
                                  " programName=indented\r\n"
                                  "programName:Demo \\\\ App\r\n"
                                  "execFilename=" + escaped(exe) + "\r\n"
                                  "jvmMinVersion=1.4\r\njvmMinVersion=1.6\r\njvmMaxVersion 1.8\r\n");
    DWORD code = 0;
    std::string predicted = runCapturing(checkerExe(), {"--predict", "--properties", at("p.properties")}, &code);
    EXPECT_EQ(code, 1u);
    ASSERT_EQ(predicted.rfind("settings\t", 0), 0u) << predicted;
    Lines fields;
    std::string line = predicted.substr(0, predicted.find_first_of("\r\n"));
    for (size_t from = 0, tab = 0; tab != std::string::npos; from = tab + 1) {
        tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
    }
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[3], "ile=extra.txt");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    Lines log = this->log("pellix.log");
    auto find = [&](const std::string &prefix) {
        for (const std::string &entry : log)
            if (entry.rfind(prefix, 0) == 0) return entry.substr(prefix.size());
        return std::string("<none>");
    };
    EXPECT_EQ(find("Program name "), fields[1]);
    EXPECT_EQ(find("Executable "), fields[2]);
    EXPECT_EQ(find("Arguments "), fields[3]);
    EXPECT_EQ(words(), Lines{fields[3]});
}

// The example properties file of the reference starts the program it names
// with the words the page lists (examples/app.words.txt).
TEST_F(Launcher, ExamplePropertiesStartTheDocumentedCommand) {
    std::string properties = sourceFile("examples/app.properties");
    ASSERT_FALSE(properties.empty()) << "TARVEX_SOURCE is not set";
    std::string home = "C:\\Program Files\\Demo App";
    for (const char *level : {"", "\\jre", "\\jre\\bin"}) CreateDirectoryA((home + level).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), (home + "\\jre\\bin\\java.exe").c_str(), FALSE));
    writeFile(at("app.properties"), readFile(properties));
    ASSERT_EQ(configure({"app.properties"}), 0u);
    EXPECT_EQ(launch(dir, "--verbose \"my file.txt\""), 1u);
    Lines expected;
    std::string words = readFile(sourceFile("examples/app.words.txt"));
    for (size_t start = 0, end; start < words.size(); start = end + 1) {
        end = words.find('\n', start);
        expected.push_back(words.substr(start, end - start));
    }
    EXPECT_EQ(this->words(), expected);
    EXPECT_EQ(record("cwd"), dir);
    removeTree(home);
}

// A value longer than its setting holds would start the program without its
// arguments or from another executable: the launch is refused instead.
TEST_F(Launcher, ValueTooLongForItsSettingRefusesTheLaunch) {
    std::string exe = escaped(runtime("rt") + "\\bin\\java.exe");
    struct Case {
        std::string line, key;
    } cases[] = {
        {"args=" + std::string(5001, 'a'), "args"},
        {"execFilename=" + std::string(261, 'e'), "execFilename"},
        {"programName=" + std::string(261, 'p'), "programName"},
        {"jvmMinVersion=" + std::string(260, '1'), "jvmMinVersion"},
        {"jvmMaxVersion=" + std::string(260, '1'), "jvmMaxVersion"},
        {"jvmRequiredVersion=" + std::string(260, '1'), "jvmRequiredVersion"},
    };
    for (const Case &c : cases) {
        writeFile(at("p.properties"), c.line + "\nexecFilename=" + exe + "\nargs=x\n");
        ASSERT_EQ(configure({"p.properties"}), 0u);
        DeleteFileA(at("errors.log").c_str());
        DeleteFileA(at("record.txt").c_str());
        EXPECT_EQ(launch(dir, ""), 0u) << c.key;
        EXPECT_FALSE(exists(at("record.txt"))) << c.key;
        EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{"Value too long: " + c.key});
    }
    // At their capacity they are taken.
    writeFile(at("p.properties"), "execFilename=" + exe + "\nargs=" + std::string(5000, 'a') +
                                      "\njvmMinVersion=" + std::string(259, '0') + "\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    EXPECT_EQ(launch(dir, ""), 1u);
    EXPECT_EQ(words(), Lines{std::string(5000, 'a')}) << readFile(at("record.txt")).substr(0, 300);
}

// The launcher's own words come from whoever starts it: they reach the
// program as the same words, and nothing of them runs as a command.
TEST_F(Launcher, OwnWordsReachTheProgramUnchangedThroughTheInterpreter) {
    std::string folder = at("R&D");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + "\\java.exe";
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), exe.c_str(), FALSE));
    // What the interpreter would run if R&D were split at its "&".
    CreateDirectoryA(at("D").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), at("D\\java.exe").c_str(), FALSE));
    writeFile(at("p.properties"), "execFilename=" + escaped(exe) + "\nargs=-cp \"lib dir\" Main\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    Lines own = {"x&echo.INJECTED>inj.txt", "a^b", "(x)", "Tom&Jerry.txt", "p|q", "with blank"};
    std::string quoted, bare;
    for (const std::string &word : own) quoted += (quoted.empty() ? "" : " ") + quote(word);
    for (size_t i = 0; i < 5; ++i) bare += (bare.empty() ? "" : " ") + own[i];  // as typed, without quotes
    struct Case {
        std::string tail;
        Lines words;
    } cases[] = {
        {quoted, own},
        {bare, Lines(own.begin(), own.begin() + 5)},
        // A quoted word ending in a backslash keeps it.
        {"\"C:\\with blank\\\" plain", {"C:\\with blank\\", "plain"}},
    };
    for (const Case &c : cases) {
        DeleteFileA(at("record.txt").c_str());
        EXPECT_EQ(launch(dir, c.tail), 1u) << c.tail;
        Lines expected = {"-cp", "lib dir", "Main"};
        expected.insert(expected.end(), c.words.begin(), c.words.end());
        EXPECT_EQ(words(), expected) << c.tail;
        EXPECT_EQ(record("cmdline").rfind("\"" + exe + "\"", 0), 0u) << record("cmdline");
    }
    // No file appeared but what the test made and the program's record.
    Lines files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(at("*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.cFileName[0] != '.') files.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Lines{"D", "R&D", "p.properties", "record.txt", "update.exe"}));
}

// A word holding a double quote, or an args setting that leaves a quote open,
// would change where the interpreter's quoting ends: the launch is refused.
TEST_F(Launcher, WordsThatCannotPassUnchangedAreRefused) {
    std::string exe = escaped(runtime("rt") + "\\bin\\java.exe");
    struct Case {
        std::string args, tail, error;
    } cases[] = {
        {"", "ok a\"b&echo.X>x.txt", "Argument refused: a\"b&echo.X>x.txt"},
        {"", "\"open&echo.X>x.txt", "Argument refused: \"open&echo.X>x.txt"},
        {"-Dx=\"y", "a&echo.X>x.txt", "Quote left open in args: -Dx=\"y"},
    };
    for (const Case &c : cases) {
        writeFile(at("p.properties"), "execFilename=" + exe + "\nargs=" + c.args + "\n");
        ASSERT_EQ(configure({"p.properties"}), 0u);
        DeleteFileA(at("errors.log").c_str());
        EXPECT_EQ(launch(dir, c.tail), 0u) << c.tail;
        EXPECT_FALSE(exists(at("record.txt"))) << c.tail;
        EXPECT_FALSE(exists(at("x.txt"))) << c.tail;
        EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{c.error});
    }
    // The same open quote with no words of the launcher's own is the author's
    // business: the launch goes ahead.
    writeFile(at("p.properties"), "execFilename=" + exe + "\nargs=-Dx=\"y\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    DeleteFileA(at("errors.log").c_str());
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    EXPECT_FALSE(exists(at("errors.log")));
    EXPECT_EQ(log("pellix.log").back(), "app launched: true");
}

TEST_F(Launcher, ArgumentsBeyondTheirRoomAreRefused) {
    std::string home = runtime("rt");
    writeFile(at("p.properties"), "execFilename=" + escaped(home) + "\\\\bin\\\\java.exe\nargs=" +
                                      std::string(4990, 'a') + "\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    EXPECT_EQ(launch(dir, "123456789"), 1u);  // 4990 + 1 + 9 = 5000: fits
    EXPECT_NE(record("cmdline").find(std::string(4990, 'a') + " 123456789"), std::string::npos);
    DeleteFileA(at("record.txt").c_str());
    EXPECT_EQ(launch(dir, "1234567890"), 0u);
    EXPECT_FALSE(exists(at("record.txt")));
    EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{"Arguments too long: 1234567890"});
}

TEST_F(Launcher, ConfigurationToolRefusesWhatWouldNotWork) {
    EXPECT_EQ(configure({std::string(301, 'n')}), 1u);
    // The launcher enters its alternate directory as its current directory,
    // which holds 258 characters at most.
    EXPECT_EQ(configure({"ok.properties", std::string(259, 'd')}), 1u);
    EXPECT_EQ(configure({"trailing "}), 1u);
    EXPECT_FALSE(exists(launcher));
    // A target that cannot be written leaves nothing behind.
    EXPECT_EQ(configure({"ok.properties"}, "Z:\\proc\\update.exe"), 1u);
    EXPECT_EQ(configure({std::string(300, 'n'), std::string(258, 'd')}), 0u);
    Lines left;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(at("*").c_str(), &found);
    do {
        if (found.cFileName[0] != '.') left.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(left, Lines{"update.exe"});  // no temporary file stays
    // An alternate directory of 258 characters reaches the launcher whole
    // and the program runs there.
    std::string alt = at(std::string(258 - dir.size() - 1, 'd'));
    ASSERT_EQ(alt.size(), 258u);
    ASSERT_TRUE(CreateDirectoryA(alt.c_str(), nullptr));
    std::string home = runtime("rt");
    writeFile(alt + "\\a.properties", "execFilename=" + escaped(home) + "\\\\bin\\\\java.exe\n");
    ASSERT_EQ(configure({"a.properties", alt}, at("alt.exe")), 0u);
    launcher = at("alt.exe");
    EXPECT_EQ(launch(dir, ""), 1u);
    EXPECT_EQ(record("cwd"), alt);
    launcher = at("update.exe");
    // Already filled in: the slots are not found any more.
    EXPECT_EQ(runIn(dir, updateConfigExe(), {launcher, at("again.exe"), "x"}), 1u);
    EXPECT_EQ(runIn(dir, updateConfigExe(), {setupExe(), at("again.exe"), "x"}), 1u);
    // The full 300 characters reach the launcher.
    EXPECT_EQ(launch(dir, ""), 0u);
    EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{"Unable to open file " + std::string(300, 'n')});
}

}  // namespace

namespace {

TEST_F(Launcher, LongExecutablePathWithABlankIsQuotedWhole) {
    // A path of 259 characters with a blank: quoted, it needs 261.
    std::string folder = at("with blank");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + "\\" + std::string(259 - folder.size() - 5, 'x') + ".exe";
    ASSERT_EQ(exe.size(), 259u);
    ASSERT_TRUE(CopyFileA((exeDir() + "\\standin.exe").c_str(), exe.c_str(), FALSE));
    writeFile(at("p.properties"), "execFilename=" + escaped(exe) + "\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    Lines lines = log("pellix.log");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "launch command: \"\"" + exe + "\"\" ");
}

}  // namespace

namespace {

// Writes value and then filler bytes over a slot of the launcher copy.
void patchSlot(const std::string &exe, const std::string &marker, const std::string &value, char filler) {
    std::string bytes = readFile(exe);
    std::string slot = marker;
    slot.resize(300, ' ');
    slot += '\0';
    size_t at = bytes.find(slot);
    ASSERT_NE(at, std::string::npos);
    std::string filled = value;
    filled.resize(300, filler);
    bytes.replace(at, 300, filled);
    writeFile(exe, bytes);
}

void patchFirstSlot(const std::string &exe, const std::string &value, char filler) {
    patchSlot(exe, "QzjQzjJavaAppPropertiesFilename", value, filler);
}

TEST_F(Launcher, SlotTextEndsAtItsNulAndLosesOnlyTrailingBlanks) {
    struct Case {
        std::string value;
        char filler;
        DWORD exitCode;
        std::string error;
    } cases[] = {
        {"name.properties", '\0', 0, "Unable to open file name.properties"},
        {"name.properties\t", ' ', 0, "Unable to open file name.properties\t"},
        {"QzjQzjJavaAppPropertiesFilenameX", ' ', 0, "The program has not been properly configured."},
        {"p.properties", '\0', 1, ""},
    };
    std::string home = runtime("rt");
    writeFile(at("p.properties"), "execFilename=" + escaped(home) + "\\\\bin\\\\java.exe\n");
    for (const Case &c : cases) {
        ASSERT_TRUE(CopyFileA(updateExe().c_str(), launcher.c_str(), FALSE));
        patchFirstSlot(launcher, c.value, c.filler);
        DeleteFileA(at("errors.log").c_str());
        EXPECT_EQ(launch(dir, ""), c.exitCode) << c.value;
        if (c.error.empty())
            EXPECT_FALSE(exists(at("errors.log")));
        else
            EXPECT_EQ(logMessages(readFile(at("errors.log"))), Lines{c.error}) << c.value;
    }
}

// An alternate directory the launcher could not enter as its current
// directory (over 258 characters), written into the slot by hand, is not
// used: the properties file is not opened there.
TEST_F(Launcher, AlternateDirectoryTooLongToEnterIsNotUsed) {
    std::string home = runtime("rt");
    for (size_t length : {258u, 259u}) {
        std::string alt = at(std::string(length - dir.size() - 1, static_cast<char>('a' + length % 26)));
        ASSERT_EQ(alt.size(), length);
        CreateDirectoryA(alt.c_str(), nullptr);
        writeFile(alt + "\\a.properties", "execFilename=" + escaped(home + "\\bin\\java.exe") + "\n");
        ASSERT_TRUE(CopyFileA(updateExe().c_str(), launcher.c_str(), FALSE));
        patchFirstSlot(launcher, "a.properties", ' ');
        patchSlot(launcher, "QzyQzyJavaAppPropertiesAltDir", alt, ' ');
        DeleteFileA(at("errors.log").c_str());
        DeleteFileA(at("record.txt").c_str());
        std::string work = at("work");
        CreateDirectoryA(work.c_str(), nullptr);
        if (length == 258) {
            EXPECT_EQ(launch(work, ""), 1u);
            EXPECT_EQ(record("cwd"), alt);
        } else {
            EXPECT_EQ(launch(work, ""), 0u);
            EXPECT_FALSE(exists(at("record.txt")));
            EXPECT_EQ(logMessages(readFile(work + "\\errors.log")), Lines{"Unable to open file a.properties"});
        }
    }
}

TEST_F(Launcher, FirstRuntimeWithAHomeQualifiesWithoutBounds) {
    std::string viaHome = runtime("via home"), other = runtime("other");
    registerRuntime("1.8", "");                 // empty JavaHome ...
    registerRuntime("1.8", viaHome, "Home");    // ... so Home is read
    registerRuntime("1.9", other);
    writeFile(at("p.properties"), "execFilename=missing\\\\java\n");
    ASSERT_EQ(configure({"p.properties"}), 0u);
    enableLog("pellix.log");
    EXPECT_EQ(launch(dir, ""), 1u);
    Lines lines = log("pellix.log");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "new exec: " + viaHome + "\\bin\\java.exe"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "                 version 1.9"), lines.end());
}

}  // namespace
