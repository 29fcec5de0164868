#include "engine/util/xml_value_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(XmlValueText, IntegerCases) {
    struct Case {
        std::string Text;
        std::optional<int64_t> Expected;
    } cases[] = {
        {"42", 42},
        {" -7\n", -7},
        {"+5", 5},
        {"$ff", 255},
        {"0x1F", 31},
        {"-0x10", -16},
        {"4294967295", 4294967295LL},
        {"9223372036854775807", std::numeric_limits<int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
        {"9223372036854775808", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(engine::ParseXmlInteger(c.Text), c.Expected) << '"' << c.Text << '"';
}

TEST(XmlValueText, BoolCases) {
    struct Case {
        std::string Text;
        std::optional<bool> Expected;
    } cases[] = {
        {"True", true},  {"false", false}, {" TRUE ", true}, {"1", true},           {"0", false},
        {"-1", true},    {"$0", false},     {"yes", std::nullopt}, {"", std::nullopt}, {"Tru", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(engine::ParseXmlBool(c.Text), c.Expected) << '"' << c.Text << '"';
}

}  // namespace
