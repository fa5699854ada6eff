#include "checktext.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

Report check(ScriptKind kind, const std::string &content) {
    FILE *file = tmpfile();
    fwrite(content.data(), 1, content.size(), file);
    rewind(file);
    Report report = checkScript(kind, file);
    fclose(file);
    return report;
}

}  // namespace

// Each silent pitfall gets its finding, with the exit code it leads to.
TEST(Checker, EveryPitfallIsReported) {
    const std::string root = "HKEY_CURRENT_USER\\Software\\Demo";
    struct Case {
        ScriptKind kind;
        std::string content, finding;
        int exitCode;
    } cases[] = {
        {ScriptKind::Registry, "add\t" + root + "\tv\tdword\t0x10\n", "warning: dword data \"0x10\" is not a decimal number: read up to its first non-digit, stored as 0", 1},
        {ScriptKind::Registry, "add\t" + root + "\tv\tdword\t4294967296\n", "does not fit 32 bits: stored as 0", 1},
        {ScriptKind::Registry, "add\t" + root + "\tv\tbinary\tabc\n", "odd number of digits: the last digit is a byte of its own, stored as bytes ab 0c", 1},
        {ScriptKind::Registry, "add\t" + root + "\tv\tbinary\tzz\n", "not hex digits", 1},
        {ScriptKind::Registry, "add\t" + root + "\tv\texpandable\tx\n", "type \"expandable\" is not string, dword or binary", 1},
        {ScriptKind::Registry, "add\t" + root + "\t\tdword\t1\n", "with type dword only the key is made", 1},
        {ScriptKind::Registry, "add\t" + root + "\tv\tstring\t%PATH%\n", "note: the data holds %...%: stored as REG_EXPAND_SZ", 0},
        {ScriptKind::Registry, "add\t" + root + "\tv\tstring\tx\n", "note: add leaves a value that already exists unchanged", 0},
        {ScriptKind::Registry, "Add\t" + root + "\tv\n", "not an operation: keywords are lower case and end in a tab", 1},
        {ScriptKind::Registry, "replace\t" + root + "\tV\tstring\t1\nadd\t" + root + "\tv\tstring\t2\n",
         "warning: an earlier line of this script stores this value, so this add finds it and leaves it unchanged", 1},
        {ScriptKind::Registry, "add " + root + "\tv\n", "not an operation", 1},
        {ScriptKind::Registry, "addx\n", "no operation keyword", 1},
        {ScriptKind::Registry, "query\t" + root + "\tpadd\tstring\n", "found in the middle of the line", 2},
        {ScriptKind::Registry, "  query\t" + root + "\tv\n", "note: blanks before the keyword are dropped", 0},
        {ScriptKind::Registry, "add\tHKLM\\Software\\x\tv\n", "error: no root key recognised", 2},
        {ScriptKind::Registry, "add\t\t" + root + "\n", "error: no root key recognised", 2},
        {ScriptKind::Registry, "delete\t" + root + "\tOld\n", "never a value", 0},
        {ScriptKind::Registry, "add\t" + root + "\tv\tstring\t" + std::string(17u << 20, 'x') + "\n", "error: the line is longer than", 2},
        {ScriptKind::Shortcuts, "addDesktp\n", "warning: not a block keyword", 1},
        {ScriptKind::Shortcuts, " addDesktop\n", "has blanks before it", 1},
        {ScriptKind::Shortcuts, "addDesktop\nNULL\nApp\nC:\\a.exe\n\n\nnormal\n\neveryone\n", "holds neither \"min\" nor \"max\"", 1},
        {ScriptKind::Shortcuts, "addDesktop\nNULL\nApp\nC:\\a.exe\n\n\n\n\neveryone\n", "scope \"everyone\" is neither allUsers nor currentUser: it means the current user", 1},
        {ScriptKind::Shortcuts, "addDesktop\nNULL\nApp\nC:\\a.exe\n\n\n\nC:\\a.ico,x2\nallUsers\n", "icon index \"x2\" is not a plain number: read as 0", 1},
        {ScriptKind::Shortcuts, "addDesktop\nNULLX\nApp\nC:\\a.exe\nnull\n\n\n\nallUsers\n", "begins with NULL: it counts as absent", 1},
        {ScriptKind::Shortcuts, "addDesktop\nNULL\nApp\nC:\\a.exe\nnull\n\n\n\nallUsers\n", "\"null\" is a value", 1},
        {ScriptKind::Shortcuts, "addDesktop\nNULL\nApp\n", "cut short by the end of the file", 2},
        {ScriptKind::Shortcuts, "deleteDesktop\nNULL\n" + std::string(5000, 'n') + "\nallUsers\n", "line longer than 4999 bytes: skipped whole", 2},
        {ScriptKind::Shortcuts, "deleteDesktop\nNULL\n\nallUsers\n", "the name is empty: nothing is deleted", 1},
        {ScriptKind::Properties, "execFilename=C:\\\\java.exe\nargsFile=x\n", "a longer word beginning with the key \"args\" counts as that key", 1},
        {ScriptKind::Properties, "execFilename=C:\\\\java.exe\nargs=-x & y\n", "args go through cmd.exe", 1},
        {ScriptKind::Properties, "execFilename=C:\\\\java.exe\nargs=" + std::string(5001, 'a') + "\n", "error: args is longer than its setting holds (5000 characters)", 2},
        {ScriptKind::Properties, "execFilename=C:\\Java\\java.exe\n", "a backslash before 'J' is removed", 1},
        {ScriptKind::Properties, "execFilename=C:\\\\java.exe\n ExecFilename=x\n", "looks like a setting but is not one", 1},
        {ScriptKind::Properties, "execFilename=C:\\\\a.exe\nexecFilename=C:\\\\b.exe\n", "the first non-empty value counts", 1},
        {ScriptKind::Properties, "programName=x\n", "no execFilename", 1},
        {ScriptKind::Properties, "execFilename=" + std::string(12000, 'e') + "\n", "read as a line of its own", 2},
    };
    for (const Case &c : cases) {
        Report report = check(c.kind, c.content);
        std::string text = formatReport(report);
        EXPECT_NE(text.find(c.finding), std::string::npos) << c.finding << "\n" << text.substr(0, 2000);
        EXPECT_EQ(report.exitCode(), c.exitCode) << c.finding << "\n" << text.substr(0, 2000);
    }
}

TEST(Checker, CleanScriptsAndTheirReading) {
    Report report = check(ScriptKind::Registry, "; comment\n\nreplace\tHKEY_USERS\\S\tN\tdword\t-1\n");
    EXPECT_EQ(report.exitCode(), 0);
    EXPECT_EQ(formatReport(report),
              "line 1: comment\nline 2: empty line, ignored\n"
              "line 3: replace HKEY_USERS\\S  value \"N\"  type \"dword\"  data \"-1\" -> 4294967295\n"
              "registry script: 0 errors, 0 warnings\n");
    EXPECT_EQ(formatPredictions(report), "registry\t3\treplace\tHKEY_USERS\tS\tN\tREG_DWORD\tffffffff\n");
    report = check(ScriptKind::Properties, "programName=Demo\nexecFilename=C\\:\\\\j.exe\nargs=-jar \\\"a b.jar\\\"\n");
    EXPECT_EQ(report.exitCode(), 0);
    EXPECT_EQ(report.execFilename, "C:\\j.exe");
    EXPECT_EQ(report.args, "-jar \"a b.jar\"");
}

TEST(Checker, KindIsGuessedFromTheContent) {
    EXPECT_EQ(guessKind("; regs\r\nadd\tHKEY_USERS\\x\r\n"), ScriptKind::Registry);
    EXPECT_EQ(guessKind("\r\naddDesktop\r\nNULL\r\n"), ScriptKind::Shortcuts);
    EXPECT_EQ(guessKind("programName=x\nexecFilename=y\n"), ScriptKind::Properties);
    EXPECT_EQ(guessKind(";add\tHKEY_USERS\\x\n"), ScriptKind::Properties);
}
