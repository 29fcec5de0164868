#include <gtest/gtest.h>

#include <ctime>

#include "app/log/DailyLogFile.h"
#include "app/log/LogLine.h"

namespace {

std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

TEST(LogLineTest, LinesOfOneText) {
    const auto at = LocalTime(2026, 12, 9, 7, 5, 3);
    struct Case {
        const char* name;
        std::string text;
        uint8_t level;
        std::vector<std::pair<std::string, bool>> expected;  // line, shown in the window
    };
    const Case cases[] = {
        {"one line", "Framewick Start", 0, {{"07:05:03 [sys] Framewick Start", true}}},
        {"every tag", "w", 1, {{"07:05:03 [wrn] w", true}}},
        {"error", "e", 2, {{"07:05:03 [err] e", true}}},
        {"debug", "d", 3, {{"07:05:03 [dbg] d", true}}},
        {"info", "i", 4, {{"07:05:03 [inf] i", true}}},
        {"directx", "x", 5, {{"07:05:03 [dx ] x", true}}},
        {"unknown level has no tag", "u", 9, {{"07:05:03  u", true}}},
        {"two breaks", "a\r\nb\r\nc", 4, {{"07:05:03 [inf] a", true}, {"      b", true}, {"      c", true}}},
        {"empty continuation", "a\r\n\r\nc", 2, {{"07:05:03 [err] a", true}, {"      ", false}, {"      c", true}}},
        {"lone LF and CR", "a\nb\rc", 4, {{"07:05:03 [inf] a", true}, {"      b", true}, {"      c", true}}},
        {"break at the end", "a\r\n", 4, {{"07:05:03 [inf] a", true}}},
        {"only a break", "\r\n", 4, {{"07:05:03 [inf] ", false}}},
        {"empty text", "", 4, {}},
    };
    for (const Case& c : cases) {
        const auto lines = app::FormatLogLines(c.text, c.level, at);
        ASSERT_EQ(lines.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].Text, c.expected[i].first) << c.name << " line " << i;
            EXPECT_EQ(lines[i].ForWindow, c.expected[i].second) << c.name << " line " << i;
        }
    }
}

TEST(LogLineTest, SwitchesDropOnlyTheirOwnLevel) {
    struct Case {
        bool warning, error, info;
        std::vector<bool> passes;  // levels 0 .. 6
    };
    const Case cases[] = {
        {true, true, true, {true, true, true, true, true, true, true}},
        {false, true, true, {true, false, true, true, true, true, true}},
        {true, false, true, {true, true, false, true, true, true, true}},
        {true, true, false, {true, true, true, true, false, true, true}},
        {false, false, false, {true, false, false, true, false, true, true}},
    };
    for (const Case& c : cases) {
        engine::TSettings s;
        s.LogWarning = c.warning;
        s.LogError = c.error;
        s.LogInfo = c.info;
        for (uint8_t level = 0; level < c.passes.size(); ++level)
            EXPECT_EQ(app::LogLevelSwitchedOn(level, s), c.passes[level])
                << "level " << int(level) << " w" << c.warning << " e" << c.error << " i" << c.info;
    }
}

TEST(LogLineTest, DailyFileNames) {
    struct Case {
        std::chrono::system_clock::time_point time;
        const char* expected;
    };
    const Case cases[] = {
        {LocalTime(2026, 12, 9, 12, 0, 0), "Framewick_2026_12_09.log"},
        {LocalTime(2026, 1, 31, 23, 59, 59), "Framewick_2026_01_31.log"},
        {LocalTime(2026, 2, 1, 0, 0, 0), "Framewick_2026_02_01.log"},
        {LocalTime(2100, 3, 4, 12, 0, 0), "Framewick_2100_03_04.log"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::DailyLogFileName(c.time), c.expected);
}

}  // namespace
