#include "app/settings/default_settings.h"
#include "app/settings/settings_ini.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

#include "engine/settings/counters.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"
#include "tests/support/test_env.h"

namespace {

class SettingsIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths_ = app::MakeAppPaths(dir_.path().string(), "/opt/fw", "/opt/fw");
        app::SetAppPaths(paths_);
    }
    void TearDown() override { app::SetAppPaths(app::MakeAppPaths("", "", "")); }
    void WriteIni(const std::string& text) { fw_test::WriteFile(paths_.IniFileName, text); }

    fw_test::TempDir dir_;
    app::TAppPaths paths_;
};

// Every key set to something other than its default.
engine::TSettings NonDefaultSettings() {
    engine::TSettings s;
    s.LogDir = "/logs/";
    s.LogError = false;
    s.LogWarning = false;
    s.LogInfo = false;
    s.ShowLog = true;
    s.SnmpActive = true;
    s.Port = 8080;
    s.Ip = -1062731519;
    s.AutoStart = true;
    s.Root = "/srv/htdocs/";
    s.SegLen = 4;
    s.NumSeg = 9;
    s.CenterApp = false;
    s.NotifyIcon = false;
    s.FtpErrThr = 7;
    s.FtpDelay = 30;
    s.DirPrfxIdx = 2;
    s.HtmlDir = "/html/";
    s.ArchiveDir = "/archive/";
    s.ArchiveLimit = engine::kArchivePruneByCount;
    s.ArchiveFile = 250;
    s.ArchiveSize = 4000;
    s.VlcVer = "3.0.24";
    s.PngComp = 9;
    s.JpgComp = 70;
    s.BmpConvAct = false;
    s.Bmp2Jpg = true;
    s.Bmp2Png = false;
    s.Svg2Png = true;
    s.JavaDir = "/usr/lib/jvm/bin/";
    s.BatikDir = "/usr/share/java/batik.jar";
    s.DeactScreenSaver = true;
    s.DefFps = 5;
    s.MinDiskSpace = 10;
    s.AskForDownload = false;
    return s;
}

TEST_F(SettingsIniTest, NoFileGivesEveryDefaultAndTheFirstSaveWritesAllKeys) {
    app::LoadIniFile();
    const engine::TSettings& s = *engine::Settings();
    EXPECT_EQ(s, app::DefaultSettings(paths_));
    EXPECT_EQ(s.LogDir, dir_.path().string() + "/Log/");
    EXPECT_EQ(s.Root, dir_.path().string() + "/WebServer/htdocs/");
    EXPECT_EQ(s.Ip, 2130706433);
    EXPECT_EQ(s.VlcVer, engine::kDefaultVlcVer);

    ASSERT_TRUE(app::SaveIniFile());
    const std::string text = fw_test::ReadFile(paths_.IniFileName);
    int keyLines = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) keyLines += line.find('=') != std::string::npos;
    EXPECT_EQ(keyLines, 35);
    EXPECT_EQ(text.rfind("[General]\nLogDir=", 0), 0u) << text;
    for (const char* part : {"\n[Http]\nPort=80\nIp=2130706433\nAutoStart=0\nRoot=", "\n[Hls]\nSegLen=10\nNumSeg=5\n",
                             "\nSnmpActive=0\nCenterApp=1\nDirPrfxIdx=0\nNotifyIcon=1\nFtpErrThr=3\nFtpDelay=10\n",
                             "\nArchiveLimit=0\nArchiveFile=1000\nArchiveSize=1000\nVlcVer=3.0\nPngComp=6\nJpgComp=95\n",
                             "\nBmpConvAct=1\nBmp2Jpg=0\nBmp2Png=1\nSvg2Png=0\nJavaDir=\nBatikDir=\nDeactScreenSaver=0\n",
                             "\nDefFps=2\nMinDiskSpace=2\nAskForDownload=1\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin:\n" << text;
    int sections = 0;
    for (size_t at = text.find("\n["); at != std::string::npos; at = text.find("\n[", at + 1)) ++sections;
    EXPECT_EQ(sections + 1, 3);
}

TEST_F(SettingsIniTest, RoundTripOfEveryKey) {
    const engine::TSettings wanted = NonDefaultSettings();
    engine::PublishSettings(wanted);
    ASSERT_TRUE(app::SaveIniFile());
    engine::PublishSettings(app::DefaultSettings(paths_));
    app::LoadIniFile();
    EXPECT_EQ(*engine::Settings(), wanted);
    const std::string text = fw_test::ReadFile(paths_.IniFileName);
    EXPECT_NE(text.find("Ip=-1062731519\n"), std::string::npos);
    EXPECT_NE(text.find("ArchiveLimit=2\n"), std::string::npos);
}

TEST_F(SettingsIniTest, BadValuesReadTheirDefaultsAndGoodOnesStay) {
    WriteIni("[general]\nlogerror=0\nArchiveLimit=258\nVlcVer=\nPngComp=\nJpgComp=abc\nFtpDelay=0x1E\n"
             "DefFps=1.5\nMinDiskSpace=$10\nShowLog=7\n[HTTP]\nPort=eighty\nIp=-1062731519\nRoot=/r/\n[Hls]\nSegLen=\n"
             "NumSeg=99999999999\n");
    engine::TSettings s = app::ReadSettings(app::TIniFile(paths_.IniFileName), paths_);
    engine::TSettings d = app::DefaultSettings(paths_);
    EXPECT_FALSE(s.LogError);
    EXPECT_EQ(s.ArchiveLimit, 2);               // low byte of 258
    EXPECT_EQ(s.VlcVer, engine::kDefaultVlcVer);   // empty reads the default
    EXPECT_EQ(s.PngComp, d.PngComp);            // empty
    EXPECT_EQ(s.JpgComp, d.JpgComp);            // not a number
    EXPECT_EQ(s.FtpDelay, 30);
    EXPECT_EQ(s.DefFps, d.DefFps);              // not an integer
    EXPECT_EQ(s.MinDiskSpace, 16);              // hexadecimal
    EXPECT_TRUE(s.ShowLog);                     // any non-zero number is true
    EXPECT_EQ(s.Port, d.Port);
    EXPECT_EQ(static_cast<uint32_t>(s.Ip), 0xC0A80101u);  // 192.168.1.1
    EXPECT_EQ(s.Root, "/r/");
    EXPECT_EQ(s.SegLen, d.SegLen);
    EXPECT_EQ(s.NumSeg, d.NumSeg);              // beyond 32 bits: no valid integer
    EXPECT_EQ(s.LogDir, d.LogDir);              // missing key
}

// A number is read as it stands, wherever it lies; only a port, a segment length and a segment count
// that the web server or the HLS output cannot use read the default, with a log line.
TEST_F(SettingsIniTest, NumbersOutsideTheUsualRangesAreReadAsTheyStand) {
    const engine::TSettings d = app::DefaultSettings(paths_);
    const struct {
        const char* line;  // "[Section]\nKey=value"
        int32_t engine::TSettings::*field;
        int32_t expected;
        bool logged;
    } numbers[] = {
        {"[General]\nPngComp=12", &engine::TSettings::PngComp, 12, false},
        {"[General]\nJpgComp=0", &engine::TSettings::JpgComp, 0, false},
        {"[General]\nJpgComp=300", &engine::TSettings::JpgComp, 300, false},
        {"[General]\nDefFps=0", &engine::TSettings::DefFps, 0, false},
        {"[General]\nFtpErrThr=-1", &engine::TSettings::FtpErrThr, -1, false},
        {"[General]\nFtpDelay=-5", &engine::TSettings::FtpDelay, -5, false},
        {"[General]\nFtpDelay=100000", &engine::TSettings::FtpDelay, 100000, false},
        {"[General]\nMinDiskSpace=-3", &engine::TSettings::MinDiskSpace, -3, false},
        {"[General]\nArchiveFile=-1", &engine::TSettings::ArchiveFile, -1, false},
        {"[General]\nArchiveSize=-7", &engine::TSettings::ArchiveSize, -7, false},
        {"[Hls]\nSegLen=7200", &engine::TSettings::SegLen, 7200, false},
        {"[Hls]\nNumSeg=5000", &engine::TSettings::NumSeg, 5000, false},
        {"[Http]\nPort=65535", &engine::TSettings::Port, 65535, false},
        {"[Http]\nPort=0", &engine::TSettings::Port, d.Port, true},
        {"[Http]\nPort=65536", &engine::TSettings::Port, d.Port, true},
        {"[Http]\nPort=-80", &engine::TSettings::Port, d.Port, true},
        {"[Hls]\nSegLen=0", &engine::TSettings::SegLen, d.SegLen, true},
        {"[Hls]\nSegLen=-10", &engine::TSettings::SegLen, d.SegLen, true},
        {"[Hls]\nNumSeg=0", &engine::TSettings::NumSeg, d.NumSeg, true},
    };
    for (const auto& n : numbers) {
        WriteIni(std::string(n.line) + "\n");
        engine::LogList()->TakeAll();
        const engine::TSettings s = app::ReadSettings(app::TIniFile(paths_.IniFileName), paths_);
        EXPECT_EQ(s.*n.field, n.expected) << n.line;
        const std::vector<engine::TLogListEntry> lines = engine::LogList()->TakeAll();
        if (!n.logged) {
            EXPECT_TRUE(lines.empty()) << n.line;
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << n.line;
        const std::string key = std::string(n.line).substr(std::string(n.line).find('\n') + 1);
        const std::string value = key.substr(key.find('=') + 1);
        EXPECT_NE(lines[0].Text.find("[framewick.ini]"), std::string::npos) << lines[0].Text;
        EXPECT_NE(lines[0].Text.find(key.substr(0, key.find('=')) + " " + value + " is "), std::string::npos)
            << lines[0].Text;
        EXPECT_NE(lines[0].Text.find(std::to_string(n.expected) + " is used"), std::string::npos) << lines[0].Text;
    }

    // Stored in one byte: a kind of pruning that no code knows is kept, and means no pruning.
    const std::pair<const char*, int> limits[] = {{"3", 3}, {"255", 255}, {"258", 2}, {"-1", 255}};
    for (const auto& [text, expected] : limits) {
        WriteIni(std::string("[General]\nArchiveLimit=") + text + "\n");
        EXPECT_EQ(app::ReadSettings(app::TIniFile(paths_.IniFileName), paths_).ArchiveLimit, expected) << text;
    }
}

TEST_F(SettingsIniTest, SaveKeepsUnknownKeysAndAFailedSaveKeepsTheOldFile) {
    WriteIni("[General]\nMyOwnKey=hello\nPort=1\n[Extra]\nA=b\n");
    app::LoadIniFile();
    ASSERT_TRUE(app::SaveIniFile());
    std::string text = fw_test::ReadFile(paths_.IniFileName);
    EXPECT_NE(text.find("MyOwnKey=hello\n"), std::string::npos);
    EXPECT_NE(text.find("[Extra]\nA=b\n"), std::string::npos);
    EXPECT_NE(text.find("Port=1\n"), std::string::npos);  // [General] Port is not a key of this file: left alone

    // A folder where the file should be makes the save fail; nothing half-written appears.
    app::TAppPaths broken = app::MakeAppPaths((dir_ / "missing").string(), "", "");
    app::SetAppPaths(broken);
    std::string error;
    EXPECT_FALSE(app::SaveIniFile(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
    EXPECT_EQ(fw_test::ReadFile(paths_.IniFileName), text);
}

// A framewick.ini the user made read-only keeps its bytes and its mode; the save says why it failed.
TEST_F(SettingsIniTest, AReadOnlyIniIsNotReplaced) {
    const std::string kept = "[General]\nLogDir=/mine/\n";
    WriteIni(kept);
    std::filesystem::permissions(paths_.IniFileName, std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
    engine::PublishSettings(NonDefaultSettings());
    std::string error;
    EXPECT_FALSE(app::SaveIniFile(&error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(fw_test::ReadFile(paths_.IniFileName), kept);
    EXPECT_EQ(std::filesystem::status(paths_.IniFileName).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                  std::filesystem::perms::others_read);
}

TEST_F(SettingsIniTest, LoadingRestartsTheInternalPorts) {
    engine::NextInternalPort();
    app::LoadIniFile();
    EXPECT_EQ(engine::NextInternalPort(), engine::kFirstInternalPort);
}

TEST_F(SettingsIniTest, ReadersOnOtherThreadsSeeWholeSnapshots) {
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            while (!stop) {
                std::shared_ptr<const engine::TSettings> s = engine::Settings();
                // Each published snapshot has matching JavaDir and BatikDir.
                if (s->JavaDir.size() != s->BatikDir.size()) ++torn;
            }
        });
    }
    for (int i = 0; i < 2000; ++i)
        engine::UpdateSettings([i](engine::TSettings& s) { s.JavaDir = s.BatikDir = std::string(static_cast<size_t>(i % 97), 'j'); });
    stop = true;
    for (auto& r : readers) r.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
