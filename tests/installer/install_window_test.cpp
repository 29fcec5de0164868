// The install window's road end to end, offscreen: "Get VLC" downloads a release archive made at test
// time from a loopback server, the extraction thread unpacks it and the install step fills the library
// folder; the version panel and the LED then show the loaded library. Also the archive of another
// platform (no release for this one: the folder stays as it was, and the message says so) and a
// download that fails.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "installer/CanvasPanelEx.h"
#include "installer/InstallForm.h"
#include "installer/InstallerHost.h"
#include "installer/InstallerLed.h"
#include "installer/InstallerRegistry.h"
#include "installer/InstallerVlcLib.h"
#include "installer/WaitForm.h"
#include "tests/components/widget_test_app.h"
#include "tests/installer/installer_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
namespace fs = std::filesystem;

constexpr const char* kVersion = "3.0";

class TFakeHost : public IInstallerHost {
public:
    bool admin = true;
    std::vector<QString> messages;
    int ends = 0;
    bool IsUserAdministrator(bool& isAdmin) override {
        isAdmin = admin;
        return true;
    }
    void ShowMessage(const QString&, const QString& text, TMessageIcon) override { messages.push_back(text); }
    void EndProcess() override { ++ends; }
};

struct TRoad {
    fw_test::TempDir work;
    fw_test::TempDir serverRoot;
    TFakeHost host;
    TWait_Form wait;
    TInstallerVlcLib binding{std::vector<std::string>{}};
    std::string libVlcDir = (work / "Framewick" / "LIB_VLC").string() + "/";
    std::unique_ptr<installer_test::TTestHttpServer> server;
    std::unique_ptr<TFaldrin_Install_Form> form;

    void Serve(const std::string& topFolder) {
        installer_test::FillFakeRelease(work / "release", topFolder, fw_test::FakeVlc::Full);
        ASSERT_TRUE(installer_test::ZipFolder(work / "release",
                                              serverRoot.path() / installer_test::ArchivePath(kVersion).substr(1)));
    }
    void Open() {
        server = std::make_unique<installer_test::TTestHttpServer>(serverRoot.path());
        ASSERT_TRUE(server->Running());
        fs::create_directories(work / "tmp");
        fs::create_directories(work / "bin");
        TInstallFormSetup setup;
        setup.CommandLine = ParseCommandLine({"-vv", kVersion, "-dd", libVlcDir});
        setup.DownloadServer = server->Server();
        setup.TempFolder = (work / "tmp").string();
        setup.ProgramFolder = (work / "bin").string();
        form = std::make_unique<TFaldrin_Install_Form>(setup, wait, host, binding);
        form->show();
    }
    bool RunGetVlc() {
        form->GetVlc_TBClick();
        return installer_test::SpinUntil([&] { return !form->Busy() && !wait.isVisible(); }, std::chrono::seconds(60));
    }
};

TEST(InstallWindow, GetVlcDownloadsExtractsAndInstallsTheRelease) {
    TRoad road;
    road.Serve(std::string("vlc-") + kVersion);
    road.Open();
    TFaldrin_Install_Form& form = *road.form;
    EXPECT_TRUE(fs::is_directory(road.libVlcDir)) << "the named folder is made";
    EXPECT_EQ(form.LibVlcDir(), road.libVlcDir);
    EXPECT_EQ(form.VersionPanelText(), QStringLiteral("n/a"));
    EXPECT_TRUE(form.GetVlcButton().isEnabled());
    EXPECT_FALSE(form.AdminLabelShown());
    EXPECT_TRUE(form.AdminLed().LedMainProp().lpOn());
    EXPECT_EQ(form.VlcLed().Led().llCustomColor().ccColor1On(), 0x0000EAu) << "red";
    EXPECT_TRUE(form.MemoText().contains(QStringLiteral("VLC V3.0 as player/decoder plug-in required !")));
    EXPECT_TRUE(fs::is_empty(road.work / "bin")) << "the write test leaves nothing";

    ASSERT_TRUE(road.RunGetVlc());
    EXPECT_TRUE(road.host.messages.empty()) << road.host.messages.front().toStdString();
    EXPECT_TRUE(form.VlcOk());
    EXPECT_EQ(form.VersionPanelText().toStdString(), form.VlcVersionText());
    EXPECT_EQ(form.VlcLed().Led().llCustomColor().ccColor1On(), 0x006600u) << "green";
    EXPECT_TRUE(fs::exists(road.libVlcDir + "plugins/codec/libfake_codec_plugin.so"));
    EXPECT_FALSE(fs::exists(road.libVlcDir + "plugins/liblua_plugin.so"));
    EXPECT_TRUE(form.isEnabled()) << "the wait window gave the window back";
    EXPECT_EQ(RegReadMonitorString(kZipFnValue, ""), (road.work / "tmp" / "vlc.zip").string());
    EXPECT_EQ(RegReadMonitorString(kZipDirValue, ""), (road.work / "tmp" / "vlc_zip").string());
}

TEST(InstallWindow, AnArchiveWithoutAReleaseForThisSystemLeavesTheFolderAndSaysSo) {
    TRoad road;
    // What the real server holds: the release of another platform, its libraries under other names.
    fs::create_directories(road.work / "release" / "vlc-3.0" / "plugins");
    fw_test::WriteFile(road.work / "release" / "vlc-3.0" / "libvlc.dll", "MZ");
    fw_test::WriteFile(road.work / "release" / "vlc-3.0" / "libvlccore.dll", "MZ");
    ASSERT_TRUE(installer_test::ZipFolder(road.work / "release",
                                          road.serverRoot.path() / installer_test::ArchivePath(kVersion).substr(1)));
    fs::create_directories(road.libVlcDir);
    fw_test::WriteFile(road.libVlcDir + "keep.txt", "mine");
    road.Open();
    ASSERT_TRUE(road.RunGetVlc());
    ASSERT_EQ(road.host.messages.size(), 1u);
    EXPECT_TRUE(road.host.messages[0].contains(QStringLiteral("holds no VLC 3.0 release for this system")))
        << road.host.messages[0].toStdString();
    EXPECT_TRUE(road.host.messages[0].contains(QStringLiteral("left as it was")));
    EXPECT_EQ(fw_test::ReadFile(road.libVlcDir + "keep.txt"), "mine");
    EXPECT_FALSE(road.form->VlcOk());
    EXPECT_EQ(road.form->VersionPanelText(), QStringLiteral("n/a"));
}

TEST(InstallWindow, AFailedDownloadShowsTheDownloadError) {
    TRoad road;  // the server holds no archive: 404
    road.Open();
    ASSERT_TRUE(road.RunGetVlc());
    ASSERT_EQ(road.host.messages.size(), 1u);
    EXPECT_TRUE(road.host.messages[0].startsWith(QStringLiteral("Download Error!\r\n\r\nReasons could be:")));
    EXPECT_TRUE(road.form->GetVlcButton().isEnabled());
    EXPECT_TRUE(road.form->isEnabled());
}

TEST(InstallWindow, NoAdministratorEndsTheProcessAndBreakEndsItWhileBusy) {
    TRoad road;
    road.host.admin = false;
    road.Open();
    ASSERT_EQ(road.host.messages.size(), 1u);
    EXPECT_EQ(road.host.messages[0], QStringLiteral("Run this application as administration !!!"));
    EXPECT_EQ(road.host.ends, 1);

    road.host.admin = true;
    road.wait.ShowWait(kWaitModeUnpacking, road.form.get());
    road.wait.OnBreak(kWaitModeUnpacking);
    EXPECT_EQ(road.host.ends, 2);
    road.wait.OnBreak(kWaitModeDownload);
    EXPECT_EQ(road.host.ends, 2) << "mode 0 does nothing";
    road.wait.EndWait();
}

}  // namespace
