#include "launchtext.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(UnescapeLine, BackslashKeepsTheNextCharacter) {
    EXPECT_EQ(unescapeLine("C\\:\\\\dir\\\\x"), "C:\\dir\\x");
    EXPECT_EQ(unescapeLine("a\\nb"), "anb");
    EXPECT_EQ(unescapeLine("end\\"), "end");
    EXPECT_EQ(unescapeLine("\\\\\\"), "\\");
    EXPECT_EQ(unescapeLine(""), "");
}

TEST(TrimTrailingSpace, BlanksOnly) {
    char text[] = "name \t  ";
    EXPECT_EQ(trimTrailingSpace(text), 8u);
    EXPECT_STREQ(text, "name \t");
    char blanks[] = "   ";
    trimTrailingSpace(blanks);
    EXPECT_STREQ(blanks, "");
}

TEST(ApplyPropertyLine, KeysValuesAndOrder) {
    Settings s;
    Setting matched;
    struct Step {
        const char *line;
        LineOutcome outcome;
    } steps[] = {
        {"programName=", LineOutcome::Taken},           {"programName=Demo", LineOutcome::Taken},
        {"programName=Other", LineOutcome::Ignored},    {"execFilenameX/bin/java", LineOutcome::Taken},
        {"args", LineOutcome::Ignored},                 {" args=x", LineOutcome::Ignored},
        {"Args=x", LineOutcome::Ignored},               {"jvmMinVersion=1.4", LineOutcome::Taken},
        {"jvmMinVersion 1.5", LineOutcome::Taken},      {"jvmMaxVersion=1.6", LineOutcome::Taken},
        {"jvmMaxVersion=", LineOutcome::Taken},         {"jvmRequiredVersion=1.6 ", LineOutcome::Taken},
    };
    for (const Step &step : steps) EXPECT_EQ(applyPropertyLine(step.line, &s, &matched), step.outcome) << step.line;
    EXPECT_EQ(s.programName, "Demo");
    EXPECT_EQ(s.execFilename, "/bin/java");
    EXPECT_EQ(s.args, "");
    EXPECT_EQ(s.jvmMin, "1.5");
    EXPECT_EQ(s.jvmMax, "");
    EXPECT_EQ(s.jvmRequired, "1.6 ");
}

TEST(ApplyPropertyLine, ValuesBeyondCapacityAreRefused) {
    Settings s;
    Setting matched;
    EXPECT_EQ(applyPropertyLine("execFilename=" + std::string(260, 'e'), &s, &matched), LineOutcome::Taken);
    s = Settings();
    EXPECT_EQ(applyPropertyLine("execFilename=" + std::string(261, 'e'), &s, &matched), LineOutcome::TooLong);
    EXPECT_EQ(matched, Setting::ExecFilename);
    EXPECT_EQ(s.execFilename, "");
    EXPECT_EQ(applyPropertyLine("args=" + std::string(5000, 'a'), &s, &matched), LineOutcome::Taken);
    EXPECT_EQ(applyPropertyLine("jvmMinVersion=" + std::string(260, '1'), &s, &matched), LineOutcome::TooLong);
}

TEST(VerifyVersion, CuttingAndOrdering) {
    struct Case {
        const char *required, *min, *max, *version;
        bool accepted;
    } cases[] = {
        {"1.6", "", "", "1.6", true},          {"1.6", "", "", "1.6.0_17", true},  {"1.6", "", "", "1.60", true},
        {"1.6", "", "", "1.5.0", false},       {"1.6", "9", "0", "1.6.0", true},   {"", "1.5", "1.6", "1.5.0_22", true},
        {"", "1.5", "1.6", "1.6.0_17", true},  {"", "1.5", "1.6", "1.7.0", false}, {"", "1.5", "", "1.10", false},
        {"", "1.6.0", "", "1.6", false},       {"", "", "", "anything", true},     {"", "", "", "", true},
        {"", "1.5", "", "1.5", true},          {"abc", "", "", "ABC.1", true},     {"", "", "1.4", "1.5", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(verifyVersion(c.required, c.min, c.max, c.version), c.accepted)
            << c.required << "|" << c.min << "|" << c.max << "|" << c.version;
}

TEST(Parameters, TokensAndQuoting) {
    using V = std::vector<std::string>;
    struct Case {
        const char *text;
        V tokens;
    } cases[] = {
        {"", {}},
        {"a b", {"a", "b"}},
        {"a  b", {"a", "", "b"}},
        {" a", {"", "a"}},
        {"\"b c\" d", {"b c", "d"}},
        {"\"b c\"x d", {"b c", "d"}},
        {"\"b c\"", {"b c"}},
        {"\"open x", {"\"open", "x"}},
        {"a\tb", {"a\tb"}},
        {"a ", {"a"}},
    };
    for (const Case &c : cases) EXPECT_EQ(splitParameters(c.text), c.tokens) << c.text;
    EXPECT_EQ(quoteIfNeeded("b c"), "\"b c\"");
    EXPECT_EQ(quoteIfNeeded("\"b c\""), "\"b c\"");
    EXPECT_EQ(quoteIfNeeded("bc"), "bc");
    EXPECT_EQ(argsString({"-cp", "lib dir", "", "\"open"}), "-cp \"lib dir\"  \"open");
    EXPECT_EQ(argsString({}), "");
}

TEST(InterpreterText, OwnWordsAndExecutableQuoting) {
    struct Case {
        const char *word, *own, *exe;
    } cases[] = {
        {"plain", "plain", "plain"},
        {"a b", "\"a b\"", "\"a b\""},
        {"x&y", "\"x&y\"", "\"x&y\""},
        {"a^b", "\"a^b\"", "\"a^b\""},
        {"(x)", "\"(x)\"", "\"(x)\""},
        {"p|q<r>s", "\"p|q<r>s\"", "\"p|q<r>s\""},
        {"tab\there", "\"tab\there\"", "\"tab\there\""},
        {"C:\\a b\\", "\"C:\\a b\\\\\"", "\"C:\\a b\\\""},
        {"C:\\plain\\", "C:\\plain\\", "C:\\plain\\"},
        {"\"pre quoted\"", "\"\"pre quoted\"\"", "\"pre quoted\""},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(quoteOwnWord(c.word), c.own) << c.word;
        EXPECT_EQ(quoteExecutable(c.word), c.exe) << c.word;
    }
    EXPECT_TRUE(ownWordPassable("x&y"));
    EXPECT_FALSE(ownWordPassable("a\"b"));
    EXPECT_FALSE(ownWordPassable("a\nb"));
    EXPECT_FALSE(ownWordPassable("a\rb"));
    EXPECT_TRUE(quotesBalanced("-cp \"a b\""));
    EXPECT_FALSE(quotesBalanced("-D=\"x"));
}

TEST(InterpreterText, JoinAndTail) {
    EXPECT_EQ(joinArguments({"-cp", "lib dir"}, {"x&y", "", "z"}), "-cp \"lib dir\" \"x&y\"  z");
    EXPECT_EQ(joinArguments({}, {"a b"}), "\"a b\"");
    EXPECT_EQ(joinArguments({"-x"}, {}), "-x");
    EXPECT_EQ(interpreterTail("\"C:\\p b\\java.exe\"", "\"a b\""), "\"\"C:\\p b\\java.exe\" \"a b\"\"");
    EXPECT_EQ(interpreterTail("C:\\java.exe", ""), "C:\\java.exe ");
}

TEST(InterpreterText, OnlyAFullPathIsTakenFromComspec) {
    const std::string system = "C:\\windows\\system32";
    struct Case {
        const char *comspec;
        std::string chosen;
    } cases[] = {
        {nullptr, system + "\\cmd.exe"},
        {"", system + "\\cmd.exe"},
        {"CMD.EXE", system + "\\cmd.exe"},
        {".\\cmd.exe", system + "\\cmd.exe"},
        {"\\cmd.exe", system + "\\cmd.exe"},
        {"C:cmd.exe", system + "\\cmd.exe"},
        {"\"C:\\x\\cmd.exe\"", system + "\\cmd.exe"},
        {"D:\\tools\\cmd.exe", "D:\\tools\\cmd.exe"},
        {"\\\\server\\share\\cmd.exe", "\\\\server\\share\\cmd.exe"},
    };
    for (const Case &c : cases) EXPECT_EQ(chooseInterpreter(c.comspec, system), c.chosen) << (c.comspec ? c.comspec : "unset");
    EXPECT_EQ(chooseInterpreter(nullptr, ""), "");
    EXPECT_EQ(interpreterWord("C:\\Program Files\\cmd.exe"), "\"C:\\Program Files\\cmd.exe\"");
    EXPECT_EQ(interpreterWord("C:\\windows\\system32\\cmd.exe"), "C:\\windows\\system32\\cmd.exe");
}

TEST(Slots, TextMarkerAndAlternatePath) {
    char slot[301];
    std::string filled = std::string("app.properties") + std::string(286, ' ');
    memcpy(slot, filled.c_str(), 301);
    EXPECT_EQ(slotText(slot), "app.properties");
    memcpy(slot, "name\t  \0rest", 12);
    EXPECT_EQ(slotText(slot), "name\t");
    std::string full(300, 'n');
    memcpy(slot, full.c_str(), 300);
    slot[300] = '\0';
    EXPECT_EQ(slotText(slot), full);
    EXPECT_TRUE(slotUnconfigured("QzjQzjJavaAppPropertiesFilename"));
    EXPECT_TRUE(slotUnconfigured("QzjQzjJavaAppPropertiesFilenameX"));
    EXPECT_FALSE(slotUnconfigured("QzjQzjJavaAppPropertiesFilenam"));
    std::string path;
    EXPECT_TRUE(alternatePropertiesPath("C:\\App", "a.properties", &path));
    EXPECT_EQ(path, "C:\\App\\a.properties");
    EXPECT_TRUE(alternatePropertiesPath(std::string(258, 'd'), "a", &path));
    EXPECT_FALSE(alternatePropertiesPath(std::string(259, 'd'), "a", &path));
    EXPECT_EQ(launchCommand("C:\\w\\cmd.exe", "\"C:\\p b\\j.exe\"", "x"), "C:\\w\\cmd.exe /c \"\"C:\\p b\\j.exe\" x\"");
    EXPECT_EQ(launchTrace("\"C:\\p b\\j.exe\"", "x"), "\"\"C:\\p b\\j.exe\"\" x");
}

TEST(PropertiesAndRuntimes, LinesVersionsAndReplacements) {
    Settings settings;
    Setting matched;
    std::string original, unescaped;
    EXPECT_EQ(readPropertyLine("execFilename=C\\:\\\\j.exe\n", &original, &unescaped, &settings, &matched),
              LineOutcome::Taken);
    EXPECT_EQ(original, "execFilename=C\\:\\\\j.exe");
    EXPECT_EQ(unescaped, "execFilename=C:\\j.exe");
    EXPECT_EQ(settings.execFilename, "C:\\j.exe");
    EXPECT_EQ(runtimeVersion("1.6", "0"), "1.6.0");
    EXPECT_EQ(runtimeVersion("1.8", ""), "1.8");
    EXPECT_EQ(replacementPath("C:\\jre", "C:\\gone\\bin\\javaw"), "C:\\jre\\bin\\javaw");
    EXPECT_EQ(replacementPath("C:\\jre", "java.exe"), "C:\\jre\\bin\\java.exe");
    EXPECT_EQ(executableName("C:\\rt\\bin\\run.exe"), "run.exe");
}
