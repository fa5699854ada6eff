#include "strutil.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(CopyText, FitsAtSizeMinusOneAndCutsBeyond) {
    char buffer[5];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(copyText(buffer, sizeof buffer, "abcd"));
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_FALSE(copyText(buffer, sizeof buffer, "abcde"));
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_FALSE(copyText(buffer, sizeof buffer, "abcdef"));
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_TRUE(copyText(buffer, sizeof buffer, ""));
    EXPECT_STREQ(buffer, "");
}

TEST(AppendText, StopsAtTheBufferEnd) {
    char buffer[6] = "ab";
    EXPECT_TRUE(appendText(buffer, sizeof buffer, "cde"));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_FALSE(appendText(buffer, sizeof buffer, "f"));
    EXPECT_STREQ(buffer, "abcde");
    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_FALSE(appendText(unterminated, sizeof unterminated, "d"));
}

TEST(FormatText, ReportsCutting) {
    char buffer[8];
    EXPECT_TRUE(formatText(buffer, sizeof buffer, "%s\\%s", "abc", "def"));
    EXPECT_STREQ(buffer, "abc\\def");
    EXPECT_FALSE(formatText(buffer, sizeof buffer, "%s\\%s", "abc", "defg"));
    EXPECT_STREQ(buffer, "abc\\def");
}

TEST(CompareNoCase, LikeTheRuntime) {
    EXPECT_EQ(compareNoCase("DesktopDir", "desktopdir"), 0);
    EXPECT_LT(compareNoCase("1.1", "1.5"), 0);
    EXPECT_LT(compareNoCase("1.6", "1.6.0"), 0);   // a proper prefix sorts first
    EXPECT_LT(compareNoCase("_", "A"), 0);          // letters compare as lower case
    EXPECT_EQ(compareNoCaseN("1.60", "1.6", 3), 0);
}

struct Row {
    const char *word;
    int id;
};
const Row table[] = {{"programsMenu", 1}, {"path", 2}, {"PATH", 3}};

TEST(FindRow, WholeWordFirstMatchInTableOrder) {
    ASSERT_NE(findRow(table, "PROGRAMSMENU"), nullptr);
    EXPECT_EQ(findRow(table, "Path")->id, 2);
    EXPECT_EQ(findRow(table, "pat"), nullptr);
    EXPECT_EQ(findRow(table, "paths"), nullptr);
    EXPECT_EQ(findRow(table, ""), nullptr);
}
