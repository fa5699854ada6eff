// The command tool's entry: start-up lines, dispatch, refusals, the log's places.
#include "harness.h"

namespace {

using Lines = std::vector<std::string>;

Lines startup(const std::string &program, const std::string &dir, const std::string &command,
              const std::string &arg1, const std::string &arg2) {
    return {"program: " + program, "program dir:  " + dir, "command: " + command, "arg1: " + arg1,
            "arg2: " + arg2};
}

class Dispatcher : public ToolTest {};

TEST_F(Dispatcher, NoCommandWordExitsWithOneAndLogsNothing) {
    enableLog();
    EXPECT_EQ(runSetup({}), 1u);
    EXPECT_EQ(readFile(at("tarvex2.log")), "");
}

TEST_F(Dispatcher, UnknownWordLogsExactlyTheFiveStartupLines) {
    enableLog();
    EXPECT_EQ(runSetup({"nosuchcommand", dir, "second"}), 1u);
    EXPECT_EQ(log(), startup(setupExe(), programsDir(), "nosuchcommand", dir, "second"));
    // Nothing but the log in the folder.
    EXPECT_FALSE(exists(at("windir.txt")));
    EXPECT_FALSE(exists(at("winpath.txt")));
}

TEST_F(Dispatcher, CommandWordMatchesInAnyCase) {
    for (const char *word : {"envvar", "ENVVAR", "EnvVar"}) {
        DeleteFileA(at("winenv.txt").c_str());
        EXPECT_EQ(runSetup({word, "SYSTEMROOT", dir}), 1u);
        EXPECT_TRUE(exists(at("winenv.txt"))) << word;
    }
    // Whole words only.
    DeleteFileA(at("winenv.txt").c_str());
    runSetup({"envvars", "SYSTEMROOT", dir});
    runSetup({"env", "SYSTEMROOT", dir});
    EXPECT_FALSE(exists(at("winenv.txt")));
}

TEST_F(Dispatcher, ThirdArgumentIsLoggedAndFourthIgnored) {
    enableLog();
    runSetup({"path", dir, "a", "b"});
    Lines lines = log();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5), startup(setupExe(), programsDir(), "path", dir, "a"));
    EXPECT_TRUE(exists(at("winpath.txt")));
}

TEST_F(Dispatcher, MessagesAreWrittenVerbatim) {
    enableLog();
    runSetup({"%s%d%n%%", "100%"});
    EXPECT_EQ(log(), startup(setupExe(), programsDir(), "%s%d%n%%", "100%", ""));
}

TEST_F(Dispatcher, BareProgramNameIsItsOwnProgramDir) {
    enableLog();
    // The parent's folder is searched first, and setup.exe lies there.
    runProcess("setup.exe whatever", dir);
    EXPECT_EQ(log(), startup("setup.exe", "setup.exe", "whatever", "", ""));
}

TEST_F(Dispatcher, WildcardsInArgumentsAreExpanded) {
    enableLog();
    writeFile(at("only1.txt"), "x");
    runSetup({"nosuchcommand", "only*.txt"});
    EXPECT_EQ(log()[3], "arg1: only1.txt");
}

TEST_F(Dispatcher, LogInCurrentDirectoryWinsOverProgramDirectory) {
    std::string programDir = at("prog");
    std::string work = at("work");
    CreateDirectoryA(programDir.c_str(), nullptr);
    CreateDirectoryA(work.c_str(), nullptr);
    std::string program = programDir + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(setupExe().c_str(), program.c_str(), FALSE));
    writeFile(programDir + "\\tarvex2.log", "");

    // Only in the program's folder: it gets the lines.
    runIn(work, program, {"nosuchcommand"});
    EXPECT_EQ(logMessages(readFile(programDir + "\\tarvex2.log")),
              startup(program, programDir, "nosuchcommand", "", ""));

    // In both places: only the current directory's.
    writeFile(programDir + "\\tarvex2.log", "");
    writeFile(work + "\\tarvex2.log", "");
    runIn(work, program, {"nosuchcommand"});
    EXPECT_EQ(readFile(programDir + "\\tarvex2.log"), "");
    EXPECT_EQ(logMessages(readFile(work + "\\tarvex2.log")).size(), 5u);

    // In neither: a whole run leaves no log behind.
    DeleteFileA((programDir + "\\tarvex2.log").c_str());
    DeleteFileA((work + "\\tarvex2.log").c_str());
    runIn(work, program, {"path", work});
    EXPECT_FALSE(exists(work + "\\tarvex2.log"));
    EXPECT_FALSE(exists(programDir + "\\tarvex2.log"));
    EXPECT_TRUE(exists(work + "\\winpath.txt"));
}

TEST_F(Dispatcher, ArgumentsAtTheLimitRunAndBeyondItAreRefused) {
    enableLog();
    std::string atLimit(10000, 'a'), beyond(10001, 'a');

    runSetup({"path", dir, atLimit});
    EXPECT_TRUE(exists(at("winpath.txt")));
    EXPECT_EQ(log()[4], "arg2: " + atLimit);

    DeleteFileA(at("winpath.txt").c_str());
    enableLog();
    runSetup({"path", dir, beyond});
    EXPECT_FALSE(exists(at("winpath.txt")));
    Lines lines = log();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "arg2: " + atLimit);  // logged cut to its buffer
    EXPECT_EQ(lines[5], "argument too long: command refused");

    enableLog();
    runSetup({"path" + std::string(9996, 'x'), dir});
    EXPECT_EQ(log().size(), 5u);  // a 10000-character word: only not recognised
    enableLog();
    runSetup({"path" + std::string(9997, 'x'), dir});
    EXPECT_EQ(log().back(), "argument too long: command refused");
}

TEST_F(Dispatcher, ProgramPathBeyondPathLimitStillLogsInCurrentDirectory) {
    enableLog();
    std::string longName = "C:\\" + std::string(300, 'd') + "\\setup.exe";
    std::string line = quote(longName) + " nosuchcommand";
    std::string program = setupExe();
    runProcess(line, dir, nullptr, program.c_str());
    EXPECT_EQ(log(), startup(longName, "", "nosuchcommand", "", ""));
}

}  // namespace

