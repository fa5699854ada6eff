#include "regtext.h"
#include "strutil.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(FindOperation, EarlierKeywordWinsAnywhereInTheLine) {
    struct Case {
        const char *line;
        const char *keyword;  // null: no operation
        const char *entry;
    } cases[] = {
        {"add\tHKEY_CURRENT_USER\\x", "add\t", "HKEY_CURRENT_USER\\x"},
        {"  query\tHKEY_USERS\\x\tv", "query\t", "HKEY_USERS\\x\tv"},
        {"query\tK\\x\tpadd\tstring", "add\t", "string"},
        {"enumvalue\tK\\x", "enumvalue\t", "K\\x"},
        {"Add\tK\\x", nullptr, nullptr},
        {"add K\\x", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const Case &c : cases) {
        const char *entry = nullptr;
        const OperationKeyword *found = findOperation(c.line, &entry);
        if (!c.keyword) {
            EXPECT_EQ(found, nullptr) << c.line;
            continue;
        }
        ASSERT_NE(found, nullptr) << c.line;
        EXPECT_STREQ(found->keyword, c.keyword);
        EXPECT_STREQ(entry, c.entry);
    }
}

TEST(ParseRegistryEntry, FieldsAndDefaults) {
    RegEntry e = parseRegistryEntry("HKEY_local_machine\\Software\\A\\B\tName\tdword\tdata\twith tab");
    EXPECT_EQ(e.root, 2);
    EXPECT_EQ(e.keyPath, "Software\\A\\B");
    EXPECT_EQ(e.valueName, "Name");
    EXPECT_EQ(e.valueType, "dword");
    EXPECT_EQ(e.valueData, "data\twith tab");

    e = parseRegistryEntry("HKEY_CURRENT_USER\\Software\\Example\tInstallDir");
    EXPECT_EQ(e.keyPath, "Software\\Example");
    EXPECT_EQ(e.valueName, "InstallDir");
    EXPECT_EQ(e.valueType, "string");
    EXPECT_EQ(e.valueData, "");

    e = parseRegistryEntry("HKEY_USERS\\\t\tbinary");
    EXPECT_EQ(e.root, 3);
    EXPECT_EQ(e.keyPath, "");
    EXPECT_EQ(e.valueType, "binary");

    for (const char *bad : {"HKLM\\Software\tx\tdword\t1", "\tHKEY_USERS\\x", "HKEY_USERS", ""}) {
        e = parseRegistryEntry(bad);
        EXPECT_EQ(e.root, -1) << bad;
        EXPECT_EQ(e.keyPath, "");
        EXPECT_EQ(e.valueName, "");
        EXPECT_EQ(e.valueType, "string");
    }
    e = parseRegEntry("HKEY_DYN_DATA\\a\\b\tignored\tx");
    EXPECT_EQ(e.root, 5);
    EXPECT_EQ(e.keyPath, "a\\b");
    EXPECT_EQ(e.valueName, "");
}

TEST(DwordFromText, DecimalWithSignAndStop) {
    struct Case {
        const char *text;
        uint32_t value;
    } cases[] = {{"-1", 0xFFFFFFFFu}, {"0x10", 0}, {"12abc", 12}, {" \t+7", 7},     {"", 0},
                 {"-", 0},            {"4294967295", 0xFFFFFFFFu}, {"4294967296", 0}, {"--1", 0}};
    for (const Case &c : cases) EXPECT_EQ(dwordFromText(c.text), c.value) << c.text;
}

TEST(BytesFromHex, PairsAndOddDigit) {
    struct Case {
        const char *text;
        std::vector<uint8_t> bytes;
    } cases[] = {{"0aFF", {0x0a, 0xff}}, {"abc", {0xab, 0x0c}}, {"", {}},           {"zz", {0}},
                 {"-1", {0xff}},          {" f", {0x0f}},        {"1g2", {0x01, 0x02}}};
    for (const Case &c : cases) EXPECT_EQ(bytesFromHex(c.text), c.bytes) << c.text;
}

TEST(IsExpandText, NeedsTwoPercentSigns) {
    EXPECT_TRUE(isExpandText("%PATH%"));
    EXPECT_TRUE(isExpandText("a%b%"));
    EXPECT_FALSE(isExpandText("50%"));
    EXPECT_FALSE(isExpandText(""));
}

TEST(ValueText, FormsByType) {
    std::string type, text;
    const uint8_t dword[] = {0xff, 0xff, 0xff, 0xff};
    valueText(kRegDword, dword, 4, &type, &text);
    EXPECT_EQ(type, "dword");
    EXPECT_EQ(text, "4294967295");
    const uint8_t bytes[] = {0x0a, 0xff};
    valueText(kRegBinary, bytes, 2, &type, &text);
    EXPECT_EQ(type + "/" + text, "binary/0aff");
    const uint8_t multi[] = {'a', 0, 'b', 0, 0};
    valueText(kRegMultiSz, multi, 5, &type, &text);
    EXPECT_EQ(type + "/" + text, "string/a\nb\n\n");
    const uint8_t sz[] = {'a', 'b', 0, 'c'};
    valueText(1, sz, 4, &type, &text);
    EXPECT_EQ(type + "/" + text, "string/ab");
    valueText(2, sz, 2, &type, &text);  // no terminator stored
    EXPECT_EQ(text, "ab");
    std::vector<uint8_t> big(6000, 0x5a);
    valueText(kRegBinary, big.data(), big.size(), &type, &text);
    EXPECT_EQ(text.size(), 12000u);
}

TEST(ReadScriptLine, ReadsEveryLineWhole) {
    std::string content = std::string(1000000, 'x') + "\nshort\nlast";
    FILE *file = tmpfile();
    fwrite(content.data(), 1, content.size(), file);
    rewind(file);
    std::string line;
    bool cut = true;
    ASSERT_TRUE(readScriptLine(file, &line, &cut));
    EXPECT_EQ(line, std::string(1000000, 'x') + "\n");
    EXPECT_FALSE(cut);
    ASSERT_TRUE(readScriptLine(file, &line, &cut));
    EXPECT_EQ(line, "short\n");
    ASSERT_TRUE(readScriptLine(file, &line, &cut));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readScriptLine(file, &line, &cut));
    fclose(file);
}

TEST(ReadPhysicalLine, KeepsAtMostTheLimitAndConsumesTheRest) {
    // size-1, size and size+1 of the limit, each followed by a short line.
    for (size_t length : {9u, 10u, 11u, 5000u}) {
        std::string content = std::string(length, 'y') + "\nnext\n";
        FILE *file = tmpfile();
        fwrite(content.data(), 1, content.size(), file);
        rewind(file);
        std::string line;
        bool cut = false;
        ASSERT_TRUE(readPhysicalLine(file, &line, 11, &cut));
        EXPECT_EQ(cut, length + 1 > 11) << length;
        EXPECT_EQ(line, length + 1 > 11 ? std::string(11, 'y') + "\n" : std::string(length, 'y') + "\n");
        ASSERT_TRUE(readPhysicalLine(file, &line, 11, &cut));
        EXPECT_EQ(line, "next\n") << length;
        EXPECT_FALSE(cut);
        fclose(file);
    }
}

TEST(WideText, JoinKeepsEveryCharacter) {
    std::u16string current = u"C:\\\u03A9mega\\bin";
    EXPECT_EQ(joinText(current, u";C:\\x", false), u"C:\\\u03A9mega\\bin;C:\\x");
    EXPECT_EQ(joinText(current, u"D;", true), u"D;C:\\\u03A9mega\\bin");
    EXPECT_EQ(joinText(u"", u"new", false), u"new");
    const char16_t multi[] = {u'a', 0, u'b', 0, 0};
    EXPECT_EQ(wideValueText(kRegMultiSz, multi, 5), u"a\nb\n\n");
    EXPECT_EQ(wideValueText(kRegSz, multi, 5), u"a");
    EXPECT_EQ(wideValueText(kRegSz, multi, 0), u"");
    EXPECT_TRUE(isExpandText(std::u16string(u"%A%\u03A9")));
    EXPECT_FALSE(isExpandText(std::u16string(u"100%")));
    EXPECT_TRUE(isTextType(kRegExpandSz));
    EXPECT_FALSE(isTextType(kRegDword));
    EXPECT_EQ(valueKind("DWord"), ValueKind::Dword);
    EXPECT_EQ(valueKind("BINARY"), ValueKind::Binary);
    EXPECT_EQ(valueKind("expand"), ValueKind::Text);
}

TEST(ScriptLines, CommentsKeywordsAndEntries) {
    struct Case {
        const char *line;
        LineKind kind;
        RegOperation operation;
        const char *entry;
    } cases[] = {
        {";add\tHKEY_USERS\\x\n", LineKind::Comment, RegOperation::Add, ""},
        {" ;query\tHKEY_USERS\\x\n", LineKind::Operation, RegOperation::Query, "HKEY_USERS\\x"},
        {"  query\tHKEY_USERS\\x\tv", LineKind::Operation, RegOperation::Query, "HKEY_USERS\\x\tv"},
        {"Add\tHKEY_USERS\\x\n", LineKind::NoOperation, RegOperation::Add, ""},
        {"add HKEY_USERS\\x\n", LineKind::NoOperation, RegOperation::Add, ""},
        {"\n", LineKind::NoOperation, RegOperation::Add, ""},
        {"query\tHKEY_USERS\\x\tpadd\tstring\n", LineKind::Operation, RegOperation::Add, "string"},
        {"enumvalue\tHKEY_USERS\\x\nadd\tignored", LineKind::Operation, RegOperation::EnumValue, "HKEY_USERS\\x"},
    };
    for (const Case &c : cases) {
        ScriptLine parsed = classifyScriptLine(c.line);
        EXPECT_EQ(parsed.kind, c.kind) << c.line;
        if (parsed.kind != LineKind::Operation) continue;
        EXPECT_EQ(parsed.keyword->operation, c.operation) << c.line;
        EXPECT_EQ(parsed.entry, c.entry) << c.line;
    }
}

TEST(ResultsLines, FieldsAndListings) {
    RegEntry entry = parseRegistryEntry("HKEY_current_user\\Software\\Example\tInstallDir\tstring\tD:\\Install");
    EXPECT_EQ(resultsLine("add\t", "ok", entry, entry.valueName, entry.valueType, entry.valueData),
              "add\t\tok\tHKEY_CURRENT_USER\\Software\\Example\tInstallDir\tstring\tD:\\Install\n");
    RegEntry none = parseRegistryEntry("HKLM\\Software");
    EXPECT_EQ(resultsLine("query\t", "error", none, "", "", ""), "query\t\terror\t\\\t\t\t\n");
    std::string list = "A\tB";
    EXPECT_STREQ(listingStatus(true, &list), "ok");
    EXPECT_EQ(listingResultsLine("enumkey\t", "ok", true, list), "enumkey\t\tok\tA\tB\n");
    list = "X\tmy ACCESS_DENIED key";
    EXPECT_STREQ(listingStatus(true, &list), "access_denied");
    EXPECT_EQ(list, "");
    EXPECT_EQ(listingResultsLine("enumkey\t", "access_denied", true, list), "enumkey\t\taccess_denied\t\n");
    list = "ACCESS_DENIED";
    EXPECT_STREQ(listingStatus(false, &list), "error");
    EXPECT_EQ(listingResultsLine("enumvalue\t", "error", false, list), "enumvalue\t\terror\n");
    std::string names;
    for (const char *name : {"", "X", "", "Y"}) addListedName(&names, name);
    EXPECT_EQ(names, "X\t\tY");
}

TEST(OperationPaths, ListedDeletedAndResults) {
    RegEntry entry = parseRegistryEntry("HKEY_USERS\\Software\tSub");
    EXPECT_EQ(listedKeyPath(entry), "Software\\Sub");
    EXPECT_EQ(deletedKeyPath(entry), "Software\\Sub");
    entry = parseRegistryEntry("HKEY_USERS\\Software");
    EXPECT_EQ(listedKeyPath(entry), "Software");
    EXPECT_EQ(deletedKeyPath(entry), "Software\\");
    EXPECT_EQ(joinText("12", "3", false), "123");
    EXPECT_EQ(joinText("12", "3", true), "312");
    EXPECT_EQ(joinText("", "3", true), "3");
    EXPECT_EQ(resultsFilePath("D:\\Install"), "D:\\Install\\regstats.txt");
    EXPECT_EQ(resultsFilePath(""), "regstats.txt");
    std::string folder;
    EXPECT_EQ(scriptFolder("D:\\Install\\regs.txt", 261, &folder), ScriptFolder::Folder);
    EXPECT_EQ(folder, "D:\\Install");
    EXPECT_EQ(scriptFolder("regs.txt", 261, &folder), ScriptFolder::CurrentDirectory);
    EXPECT_EQ(scriptFolder("D:/Install/regs.txt", 261, &folder), ScriptFolder::CurrentDirectory);
    std::string longPath = std::string(261, 'f') + "\\regs.txt";
    EXPECT_EQ(scriptFolder(longPath.c_str(), 261, &folder), ScriptFolder::TooLong);
    longPath = std::string(260, 'f') + "\\regs.txt";
    EXPECT_EQ(scriptFolder(longPath.c_str(), 261, &folder), ScriptFolder::Folder);
}
