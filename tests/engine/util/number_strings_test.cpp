#include "engine/util/number_strings.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    std::string Input;
    int Width;
    int Group;
    std::string Expected;
};

TEST(NumberStrings, FormatAndGroupCases) {
    const FormatCase cases[] = {
        {"1234567", 0, 3, "1.234.567"}, {"1000", 0, 3, "1.000"},  {"123", 0, 3, "123"},
        {"-123", 0, 3, "-.123"},        {"-1234", 0, 3, "-1.234"}, {"42", 6, 3, "000.042"},
        {"12", 0, 3, "12"},             {"123456", 0, 3, "123.456"}, {"1234", 0, 1, "1.2.3.4"},
        {"5", 3, 0, "005"},             {"1234", 2, 0, "1234"},    {"1", 0, 3, "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(engine::FormatNumStr(c.Input, c.Width, c.Group, '.'), c.Expected)
            << c.Input << " width " << c.Width << " group " << c.Group;
}

TEST(NumberStrings, EmptyTextsStayEmpty) {
    EXPECT_EQ(engine::GroupNumStr("", 3, '.'), "");
    EXPECT_EQ(engine::ZeroPadStr("", 4), "");
    EXPECT_EQ(engine::RemoveBlanks(""), "");
    // FormatNumStr itself pads an empty text: only the wrappers keep it empty.
    EXPECT_EQ(engine::FormatNumStr("", 3, 0, ' '), "000");
}

TEST(NumberStrings, GroupAndPadWrappers) {
    EXPECT_EQ(engine::GroupNumStr("1234567", 3, ','), "1,234,567");
    EXPECT_EQ(engine::GroupNumStr("-1234", 3, '.'), "-1.234");
    EXPECT_EQ(engine::ZeroPadStr("5", 3), "005");
    EXPECT_EQ(engine::ZeroPadStr("1234", 2), "1234");
    EXPECT_EQ(engine::ZeroPadStr("7", 6), "000007");
}

TEST(NumberStrings, RemoveBlanksKeepsEverythingElseInOrder) {
    EXPECT_EQ(engine::RemoveBlanks("  3.0.24\t Vetinari  "), "3.0.24\tVetinari");
    EXPECT_EQ(engine::RemoveBlanks("   "), "");
    EXPECT_EQ(engine::RemoveBlanks("a\tb\nc"), "a\tb\nc");
}

}  // namespace
