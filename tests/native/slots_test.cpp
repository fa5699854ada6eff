#include "slots.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> image(int copies = 1) {
    std::string bytes = "MZ....";
    for (int i = 0; i < copies; ++i) {
        std::string first = "QzjQzjJavaAppPropertiesFilename", second = "QzyQzyJavaAppPropertiesAltDir";
        first.resize(300, ' ');
        second.resize(300, ' ');
        bytes += first + '\0' + "gap" + second + '\0';
    }
    bytes += std::string("QzjQzjJavaAppPropertiesFilename") + '\0' + "tail";
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::string text(const std::vector<uint8_t> &bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(FillSlots, WritesValuesPaddedWithBlanks) {
    std::vector<uint8_t> exe = image();
    std::string error;
    std::string alt = "C:\\alt";
    ASSERT_TRUE(fillSlots(exe, "app.properties", &alt, error)) << error;
    std::string bytes = text(exe);
    std::string first = "app.properties", second = alt;
    first.resize(300, ' ');
    second.resize(300, ' ');
    EXPECT_NE(bytes.find(first + '\0' + "gap" + second + '\0'), std::string::npos);
    EXPECT_NE(bytes.find(std::string("QzjQzjJavaAppPropertiesFilename") + '\0' + "tail"), std::string::npos);
    EXPECT_EQ(exe.size(), image().size());
}

TEST(FillSlots, Refusals) {
    std::string error;
    std::vector<uint8_t> exe = image(), before = exe;
    EXPECT_FALSE(fillSlots(exe, std::string(301, 'x'), nullptr, error));
    std::string longDir(259, 'd');  // the launcher enters it as its current directory
    EXPECT_FALSE(fillSlots(exe, "x", &longDir, error));
    EXPECT_EQ(error, "the alternate directory is longer than 258 characters");
    EXPECT_FALSE(fillSlots(exe, "x ", nullptr, error));
    EXPECT_EQ(exe, before);
    std::vector<uint8_t> twice = image(2);
    EXPECT_FALSE(fillSlots(twice, "x", nullptr, error));
    std::vector<uint8_t> none = {'M', 'Z'};
    EXPECT_FALSE(fillSlots(none, "x", nullptr, error));
    EXPECT_TRUE(fillSlots(exe, std::string(300, 'x'), nullptr, error));
    EXPECT_FALSE(fillSlots(exe, "again", nullptr, error));  // filled in already
}
