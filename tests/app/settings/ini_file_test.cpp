#include "app/settings/ini_file.h"

#include <gtest/gtest.h>

#include "tests/support/test_env.h"

namespace {

TEST(IniFile, IntegerParsingCases) {
    struct Case {
        std::string Text;
        std::optional<int32_t> Expected;
    } cases[] = {
        {"42", 42},       {"-1062731519", -1062731519}, {"0x1F", 31},           {"$ff", 255},
        {"0xFFFFFFFF", -1}, {"  7 ", 7},                {"", std::nullopt},      {"abc", std::nullopt},
        {"12abc", std::nullopt}, {"2147483648", std::nullopt}, {"-2147483648", INT32_MIN}, {"0x", std::nullopt},
        {"0x100000000", std::nullopt}, {"+5", 5},
    };
    for (const auto& c : cases) EXPECT_EQ(app::TIniFile::ParseInteger(c.Text), c.Expected) << '"' << c.Text << '"';
}

TEST(IniFile, LooksUpWithoutCaseAndKeepsWhatItDoesNotKnow) {
    fw_test::TempDir dir;
    const std::string file = (dir / "framewick.ini").string();
    fw_test::WriteFile(file, "; written by hand\r\n[general]\r\nlogdir = /var/log/fw/ \r\nLogDir=second\r\n"
                             "Custom=kept\r\ngarbage line\r\n\r\n[Other]\r\nX=1\r\n");
    app::TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("GENERAL", "LOGDIR", "def"), "/var/log/fw/");  // the first duplicate wins
    EXPECT_TRUE(ini.SectionExists("other"));
    EXPECT_FALSE(ini.ValueExists("General", "garbage line"));
    EXPECT_EQ(ini.ReadInteger("Other", "missing", 9), 9);
    EXPECT_TRUE(ini.ReadBool("Other", "X", false));

    ini.WriteString("General", "LogDir", "/new/");
    ini.WriteInteger("General", "NewKey", 5);
    ini.WriteBool("Hls", "Flag", true);
    ini.WriteString("General", "Multi", "a\nb");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(fw_test::ReadFile(file),
              "; written by hand\n[general]\nlogdir=/new/\nLogDir=second\nCustom=kept\ngarbage line\nNewKey=5\nMulti=a b\n\n"
              "[Other]\nX=1\n[Hls]\nFlag=1\n");
}

TEST(IniFile, LongValuesAreCutAndDamagedFilesReadWhatTheyCan) {
    fw_test::TempDir dir;
    const std::string file = (dir / "damaged.ini").string();
    std::string text = "[General]\nLong=" + std::string(5000, 'x') + "\n";
    text += std::string("\x01\xff\x00[[\n=novalue\n[General\nPort=8080\n", 34);
    text += "[Http]\nPort=80";  // truncated: no final line break
    fw_test::WriteFile(file, text);
    app::TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("General", "Long", "").size(), app::kMaxIniValueLength);
    EXPECT_EQ(ini.ReadInteger("Http", "Port", 0), 80);
    EXPECT_FALSE(app::TIniFile((dir / "missing.ini").string()).SectionExists("General"));
}

TEST(IniFile, SaveFailureLeavesNothingBehind) {
    fw_test::TempDir dir;
    app::TIniFile ini;
    ini.WriteInteger("General", "A", 1);
    std::string error;
    EXPECT_FALSE(ini.Save((dir / "no/such/folder/x.ini").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ini.Save("", &error));  // a profile without a file name
}

}  // namespace
