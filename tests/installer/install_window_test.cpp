// The install window end to end, offscreen: "Get VLC" downloads a release archive made at test
// time from a loopback server into a private working folder, the extraction thread unpacks it and the
// install step fills the library folder; the version panel and the LED then show the loaded library.
// Also what a shared machine and Linux bring: releases planted in the temporary folder, library
// folders that are someone's own, the archive of another platform, a server without the release,
// damaged and hostile archives, a disk that fills up, the progress messages and the failed write test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "installer/CanvasPanelEx.h"
#include "installer/DownloadNaming.h"
#include "installer/InstallForm.h"
#include "installer/InstallerHost.h"
#include "installer/InstallerLed.h"
#include "installer/InstallerMessages.h"
#include "installer/InstallerRegistry.h"
#include "installer/InstallerVlcLib.h"
#include "installer/RunFolder.h"
#include "installer/WaitForm.h"
#include "platform/ui/message_target.h"
#include "tests/common/dialog_test_support.h"
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

struct TInstallFixture {
    fw_test::TempDir work;
    fw_test::TempDir serverRoot;
    TFakeHost host;
    TWait_Form wait;
    TInstallerVlcLib binding{std::vector<std::string>{}};
    std::string libVlcDir = (work / "Framewick" / "LIB_VLC").string() + "/";
    fs::path tmp = work / "tmp";
    fs::path programFolder = work / "bin";
    std::unique_ptr<installer_test::TTestHttpServer> server;
    std::unique_ptr<TFaldrin_Install_Form> form;

    fs::path ServedArchive() const { return serverRoot.path() / installer_test::ArchivePath(kVersion).substr(1); }
    void Serve(const std::string& topFolder) {
        installer_test::FillFakeRelease(work / "release", topFolder, fw_test::FakeVlc::Full);
        ASSERT_TRUE(installer_test::ZipFolder(work / "release", ServedArchive()));
    }
    // The Windows release as the real server holds it: its libraries under other names.
    void ServeWindowsRelease() {
        fs::create_directories(work / "windows" / "vlc-3.0" / "plugins");
        fw_test::WriteFile(work / "windows" / "vlc-3.0" / "libvlc.dll", "MZ");
        fw_test::WriteFile(work / "windows" / "vlc-3.0" / "libvlccore.dll", "MZ");
        ASSERT_TRUE(installer_test::ZipFolder(work / "windows", ServedArchive()));
    }
    void Open(installer_test::TTestServerOptions options = {}, const std::string& dd = std::string()) {
        server = std::make_unique<installer_test::TTestHttpServer>(serverRoot.path(), options);
        ASSERT_TRUE(server->Running());
        fs::create_directories(tmp);
        fs::create_directories(work / "bin");
        TInstallFormSetup setup;
        setup.CommandLine = ParseCommandLine({"-vv", kVersion, "-dd", dd.empty() ? libVlcDir : dd});
        setup.DownloadServer = server->Server();
        setup.TempFolder = tmp.string();
        setup.ProgramFolder = programFolder.string();
        form = std::make_unique<TFaldrin_Install_Form>(setup, wait, host, binding);
        form->show();
    }
    bool RunGetVlc() {
        form->GetVlc_TBClick();
        return installer_test::SpinUntil([&] { return !form->Busy() && !wait.isVisible(); }, std::chrono::seconds(60));
    }
    // Working folders of downloads still in the temporary folder.
    std::vector<std::string> RunFoldersLeft() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(tmp))
            if (entry.path().filename().string().rfind(kRunFolderPrefix, 0) == 0)
                names.push_back(entry.path().string());
        return names;
    }
    // Every file below folder with its bytes, to prove a folder untouched.
    static std::vector<std::pair<std::string, std::string>> Contents(const fs::path& folder) {
        std::vector<std::pair<std::string, std::string>> contents;
        for (const std::string& name : installer_test::FilesBelow(folder))
            contents.emplace_back(name, fw_test::ReadFile(folder / name));
        return contents;
    }
    bool Said(const QString& text) const {
        for (const QString& message : host.messages)
            if (message.contains(text)) return true;
        return false;
    }
};

TEST(InstallWindow, GetVlcDownloadsExtractsAndInstallsTheRelease) {
    TInstallFixture fixture;
    fixture.Serve(std::string("vlc-") + kVersion);
    fixture.Open();
    TFaldrin_Install_Form& form = *fixture.form;
    EXPECT_TRUE(fs::is_directory(fixture.libVlcDir)) << "the named folder is made";
    EXPECT_EQ(form.LibVlcDir(), fixture.libVlcDir);
    EXPECT_EQ(form.VersionPanelText(), QStringLiteral("n/a"));
    EXPECT_TRUE(form.GetVlcButton().isEnabled());
    EXPECT_FALSE(form.AdminLabelShown());
    EXPECT_TRUE(form.AdminLed().LedMainProp().lpOn());
    EXPECT_EQ(form.VlcLed().Led().llCustomColor().ccColor1On(), 0x0000EAu) << "red";
    EXPECT_TRUE(form.MemoText().contains(QStringLiteral("VLC V3.0 as player/decoder plug-in required !")));
    EXPECT_TRUE(fs::is_empty(fixture.work / "bin")) << "the write test leaves nothing";

    ASSERT_TRUE(fixture.RunGetVlc());
    EXPECT_TRUE(fixture.host.messages.empty()) << fixture.host.messages.front().toStdString();
    EXPECT_TRUE(form.VlcOk());
    EXPECT_EQ(form.VersionPanelText().toStdString(), form.VlcVersionText());
    EXPECT_EQ(form.VlcLed().Led().llCustomColor().ccColor1On(), 0x006600u) << "green";
    EXPECT_TRUE(fs::exists(fixture.libVlcDir + "plugins/codec/libfake_codec_plugin.so"));
    EXPECT_FALSE(fs::exists(fixture.libVlcDir + "plugins/liblua_plugin.so"));
    EXPECT_TRUE(form.isEnabled()) << "the wait window gave the window back";
    // The registry names the run's own working folder, which is gone again.
    const fs::path zipFn(RegReadMonitorString(kZipFnValue, ""));
    EXPECT_EQ(zipFn.filename(), "vlc.zip");
    EXPECT_EQ(zipFn.parent_path().parent_path(), fixture.tmp);
    EXPECT_EQ(RegReadMonitorString(kZipDirValue, ""), (zipFn.parent_path() / "vlc_zip").string());
    EXPECT_TRUE(fs::is_empty(fixture.tmp)) << "nothing of the download is left";

    // The window's progress messages after the wait window has closed change nothing.
    const QString text = fixture.wait.InfoText();
    const int gaugeMax = fixture.wait.GaugeMax();
    const int gaugePosition = fixture.wait.GaugePosition();
    platform::PostMessage(form.MessageHandle(), kInstallerMessage, kDownloadSize, 5000000);
    platform::PostMessage(form.MessageHandle(), kInstallerMessage, kDownloadProgress, 1234);
    installer_test::SpinFor(std::chrono::milliseconds(100));
    EXPECT_FALSE(fixture.wait.isVisible());
    EXPECT_EQ(fixture.wait.InfoText(), text);
    EXPECT_EQ(fixture.wait.GaugeMax(), gaugeMax);
    EXPECT_EQ(fixture.wait.GaugePosition(), gaugePosition);
}

// While the download runs the wait window shows the archive's size, in kByte, and the bytes received
// on its gauge. The server sends the whole archive and then holds the connection open, so the
// download stays in that state until the test has looked.
TEST(InstallWindow, ProgressMessagesShowTheSizeAndTheBytesReceived) {
    TInstallFixture fixture;
    fixture.Serve(std::string("vlc-") + kVersion);
    const int64_t size = int64_t(fs::file_size(fixture.ServedArchive()));
    ASSERT_LT(size, 999500) << "below a thousand kByte the text needs no group separator";
    fixture.Open({nullptr, true});
    fixture.form->GetVlc_TBClick();
    ASSERT_TRUE(installer_test::SpinUntil([&] { return fixture.wait.GaugePosition() == size; }))
        << fixture.wait.GaugePosition() << " of " << size;
    EXPECT_TRUE(fixture.wait.isVisible());
    EXPECT_EQ(fixture.wait.Mode(), kWaitModeDownloading);
    EXPECT_EQ(fixture.wait.GaugeMax(), size);
    EXPECT_EQ(fixture.wait.InfoText().toStdString(), DownloadSizeText(size, '.'));
    EXPECT_TRUE(fixture.form->Busy());

    // The window goes while its download runs: the thread ends and takes the working folder with it.
    fixture.form.reset();
    EXPECT_TRUE(installer_test::SpinUntil([&] { return fixture.RunFoldersLeft().empty(); }, std::chrono::seconds(10)));
}

// What other users of the machine may have put into the shared temporary folder, under the names
// earlier versions used, is never installed: only what this download's archive held counts, and the
// archive of another platform holds nothing for this one.
TEST(InstallWindow, ReleasePlantedInTheTemporaryFolderIsNeverInstalled) {
    TInstallFixture fixture;
    fixture.ServeWindowsRelease();
    fs::create_directories(fixture.tmp);
    installer_test::FillFakeRelease(fixture.tmp / "vlc_zip", "vlc-3.0", fw_test::FakeVlc::Full);
    installer_test::FillFakeRelease(fixture.tmp, "vlc-3.0", fw_test::FakeVlc::Full);
    ASSERT_TRUE(installer_test::ZipFolder(fixture.tmp / "vlc_zip", fixture.work / "planted.zip"));
    fs::rename(fixture.work / "planted.zip", fixture.tmp / "vlc.zip");
    const auto planted = TInstallFixture::Contents(fixture.tmp);
    // The library folder holds an older install.
    fw_test::FillFakeVlcFolder(fixture.libVlcDir, fw_test::FakeVlc::WithoutPauseMedia);
    fw_test::WriteFile(fixture.libVlcDir + "README.txt", "older read me\n");
    const auto installed = TInstallFixture::Contents(fixture.libVlcDir);

    fixture.Open();
    EXPECT_FALSE(fixture.form->VlcOk());
    ASSERT_TRUE(fixture.RunGetVlc());
    ASSERT_EQ(fixture.host.messages.size(), 1u);
    EXPECT_TRUE(fixture.Said(QStringLiteral("holds no VLC 3.0 release for this system")))
        << fixture.host.messages[0].toStdString();
    EXPECT_TRUE(fixture.Said(QStringLiteral("install the system's libVLC")));
    EXPECT_FALSE(fixture.form->VlcOk());
    EXPECT_EQ(TInstallFixture::Contents(fixture.libVlcDir), installed) << "the library folder is untouched";
    EXPECT_FALSE(fs::exists(fixture.libVlcDir + "plugins"));
    EXPECT_EQ(TInstallFixture::Contents(fixture.tmp), planted) << "someone else's files are not ours to change";
    EXPECT_TRUE(fixture.RunFoldersLeft().empty());
}

// -dd naming a folder that is no install of the libraries (a user's folder, one holding only a
// "plugins" folder of the user's, the home folder, a link, a file, a pipe): "Get VLC" says why and
// downloads nothing; the user's files stay byte for byte.
TEST(InstallWindow, FolderThatIsNoInstallIsRefusedBeforeAnyDownload) {
    TInstallFixture fixture;
    fixture.Serve(std::string("vlc-") + kVersion);
    const fs::path home = fixture.work / "home";
    fs::create_directories(home);
    fw_test::WriteFile(home / ".profile", "export MINE=1\n");
    const fs::path own = fixture.work / "own";
    fw_test::FillFakeVlcFolder(own, fw_test::FakeVlc::WithoutPauseMedia);
    fw_test::WriteFile(own / "thesis.txt", "chapter one\n");
    const fs::path link = fixture.work / "link";
    fs::create_directory_symlink(own, link);
    const fs::path file = fixture.work / "file";
    fw_test::WriteFile(file, "a file\n");
    const fs::path fifo = fixture.work / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // A folder of the user's own that happens to be called "plugins".
    const fs::path ownPlugins = fixture.work / "own_plugins";
    fs::create_directories(ownPlugins / "plugins");
    fw_test::WriteFile(ownPlugins / "plugins" / "sketch.txt", "my own plug-in ideas\n");
    const auto homeBefore = TInstallFixture::Contents(home);
    const auto ownBefore = TInstallFixture::Contents(own);
    const auto ownPluginsBefore = TInstallFixture::Contents(ownPlugins);

    const char* savedHome = std::getenv("HOME");
    const std::string savedHomeValue = savedHome ? savedHome : "";
    ::setenv("HOME", home.c_str(), 1);
    const struct {
        fs::path dd;
        const char* reason;
    } cases[] = {
        {own, "it holds \"thesis.txt\""}, {home, "it is the home folder"}, {link, "it is a link"},
        {file, "it is no folder"},         {fifo, "it is no folder"},
        {ownPlugins, "its \"plugins\" folder holds more than libVLC's plug-ins"},
    };
    for (const auto& c : cases) {
        fixture.form.reset();
        fixture.host.messages.clear();
        fixture.Open({}, c.dd.string() + (fs::is_directory(c.dd) ? "/" : ""));
        fixture.form->GetVlc_TBClick();
        EXPECT_FALSE(fixture.form->Busy()) << c.dd;
        ASSERT_EQ(fixture.host.messages.size(), 1u) << c.dd;
        EXPECT_TRUE(fixture.Said(QStringLiteral("cannot be installed into the library folder: ") + c.reason))
            << fixture.host.messages[0].toStdString();
        EXPECT_TRUE(fixture.Said(QStringLiteral("Nothing was downloaded or changed")));
        EXPECT_TRUE(fs::is_empty(fixture.tmp)) << c.dd << ": nothing downloaded";
    }
    if (savedHome) ::setenv("HOME", savedHomeValue.c_str(), 1);
    else ::unsetenv("HOME");
    EXPECT_EQ(TInstallFixture::Contents(home), homeBefore);
    EXPECT_EQ(TInstallFixture::Contents(own), ownBefore);
    EXPECT_EQ(TInstallFixture::Contents(ownPlugins), ownPluginsBefore);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fw_test::ReadFile(file), "a file\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// A download that cannot be made: the server has no release for this system (what the real server
// answers for a Linux version), or no server answers at all.
TEST(InstallWindow, FailedDownloadsSayWhatHappened) {
    {
        TInstallFixture fixture;  // the server holds no archive: 404
        fixture.Open();
        ASSERT_TRUE(fixture.RunGetVlc());
        ASSERT_EQ(fixture.host.messages.size(), 1u);
        EXPECT_TRUE(fixture.Said(QStringLiteral("The download server offers no VLC 3.0 release for this system")))
            << fixture.host.messages[0].toStdString();
        EXPECT_TRUE(fixture.Said(QStringLiteral("install the system's libVLC")));
        EXPECT_TRUE(fixture.form->GetVlcButton().isEnabled());
        EXPECT_TRUE(fixture.form->isEnabled());
        EXPECT_TRUE(fs::is_empty(fixture.tmp));
    }
    {
        TInstallFixture fixture;
        fixture.Open();
        fixture.server.reset();  // nothing answers any more
        ASSERT_TRUE(fixture.RunGetVlc());
        ASSERT_EQ(fixture.host.messages.size(), 1u);
        EXPECT_TRUE(fixture.host.messages[0].startsWith(QStringLiteral("Download Error!\r\n\r\nReasons could be:")));
        EXPECT_TRUE(fixture.form->isEnabled());
        EXPECT_TRUE(fs::is_empty(fixture.tmp));
    }
}

// Archives that cannot be unpacked, and a disk that fills up while unpacking: a message that says so,
// the old libraries untouched, no working folder left behind.
TEST(InstallWindow, ArchiveThatCannotBeUnpackedLeavesTheOldLibraries) {
    TInstallFixture fixture;
    fixture.Serve(std::string("vlc-") + kVersion);
    const std::string release = fw_test::ReadFile(fixture.ServedArchive());
    fw_test::FillFakeVlcFolder(fixture.libVlcDir, fw_test::FakeVlc::WithoutPauseMedia);
    const auto installed = TInstallFixture::Contents(fixture.libVlcDir);
    fixture.Open();

    // Far more bytes unpacked than the process may write to one file.
    constexpr rlim_t kFileSizeLimitBytes = 1 << 20;
    fs::create_directories(fixture.work / "big" / "vlc-3.0");
    fw_test::WriteFile(fixture.work / "big" / "vlc-3.0" / "libvlccore.so.9",
                       std::string(4 * kFileSizeLimitBytes, '\0'));
    const fs::path bigZip = fixture.work / "big.zip";
    ASSERT_TRUE(installer_test::ZipFolder(fixture.work / "big", bigZip));
    const fs::path hostileZip = fixture.work / "hostile.zip";
    ASSERT_TRUE(installer_test::ZipEntries(hostileZip,
                                           {{"vlc-3.0/libvlc.so.5", "lib"}, {"vlc-3.0/../../../escaped.txt", "x"}}));

    const struct {
        const char* what;
        std::string archive;
        bool fileSizeLimited;
        const char* message;
    } cases[] = {
        {"truncated", release.substr(0, release.size() / 2), false, "no zip archive that can be read"},
        {"not an archive", "<html>moved</html>", false, "no zip archive that can be read"},
        {"hostile name", fw_test::ReadFile(hostileZip), false, "leads out of its folder"},
        {"disk full", fw_test::ReadFile(bigZip), true, "is the disk full?"},
    };
    for (const auto& c : cases) {
        fw_test::WriteFile(fixture.ServedArchive(), c.archive);
        fixture.host.messages.clear();
        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        if (c.fileSizeLimited) {
            // Writes past the limit fail (EFBIG) as they do on a full disk; the signal would end the process.
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limited = saved;
            limited.rlim_cur = kFileSizeLimitBytes;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        }
        const bool ended = fixture.RunGetVlc();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ASSERT_TRUE(ended) << c.what;
        ASSERT_EQ(fixture.host.messages.size(), 1u) << c.what;
        EXPECT_TRUE(fixture.Said(QString::fromLatin1(c.message)))
            << c.what << ": " << fixture.host.messages[0].toStdString();
        EXPECT_TRUE(fixture.Said(QStringLiteral("the library folder was left as it was"))) << c.what;
        EXPECT_EQ(TInstallFixture::Contents(fixture.libVlcDir), installed) << c.what;
        EXPECT_FALSE(fixture.form->VlcOk()) << c.what;
        EXPECT_TRUE(fs::is_empty(fixture.tmp)) << c.what << ": no working folder left";
    }
    EXPECT_FALSE(fs::exists(fixture.work / "escaped.txt"));
    EXPECT_FALSE(fs::exists(fixture.tmp.parent_path().parent_path() / "escaped.txt"));
}

// The program folder cannot be written: the window says administrator rights are needed, and so does
// "Get VLC", which then downloads nothing.
TEST(InstallWindow, FailedWriteTestAsksForAdministratorRights) {
    TInstallFixture fixture;
    fixture.Serve(std::string("vlc-") + kVersion);
    fw_test::WriteFile(fixture.work / "blocked", "a file where the program folder's parent should be");
    fixture.programFolder = fixture.work / "blocked" / "bin";
    fixture.Open();
    EXPECT_FALSE(fixture.form->Rights());
    EXPECT_TRUE(fixture.form->AdminLabelShown());
    EXPECT_TRUE(fixture.form->AdminLed().LedMainProp().lpOn()) << "the administrator test itself passed";
    fixture.form->GetVlc_TBClick();
    ASSERT_EQ(fixture.host.messages.size(), 1u);
    EXPECT_EQ(fixture.host.messages[0], QStringLiteral("Administrator rights required !"));
    EXPECT_FALSE(fixture.form->Busy());
    EXPECT_FALSE(fixture.wait.isVisible());
    EXPECT_TRUE(fs::is_empty(fixture.tmp));
}

// Centred on the screen; the help button is laid out but not shown, and the window's help is
// "Morvalt.chm" in the help folder at context 2.
TEST(InstallWindow, CentredOnTheScreenWithItsHelpButtonHidden) {
    TInstallFixture fixture;
    fixture.Open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(fixture.form->frameGeometry().center(), screen.center());
    EXPECT_EQ(fixture.form->size(), QSize(kInstallWindowWidth, kInstallWindowHeight));
    TCanvasPanelEx& help = fixture.form->HelpButton();
    EXPECT_EQ(help.Caption(), QStringLiteral("Help"));
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(fixture.form->GetVlcButton().isVisible());
    EXPECT_EQ(fixture.form->HelpFile(), QString::fromStdString(HelpDir()) + QStringLiteral("Morvalt.chm"));
    EXPECT_EQ(fixture.form->HelpContext(), 2);
    // Without the help file the help launcher says so.
    fw_test::ScopedMsgDlgAnswers boxes;
    fixture.form->Help_TBClick();
    EXPECT_EQ(boxes.Texts(), (std::vector<QString>{"Helpfile not found !"}));
}

TEST(InstallWindow, NoAdministratorEndsTheProcessAndBreakEndsItWhileBusy) {
    TInstallFixture fixture;
    fixture.host.admin = false;
    fixture.Open();
    ASSERT_EQ(fixture.host.messages.size(), 1u);
    EXPECT_EQ(fixture.host.messages[0], QStringLiteral("Run this application as administration !!!"));
    EXPECT_EQ(fixture.host.ends, 1);

    fixture.host.admin = true;
    fixture.wait.ShowWait(kWaitModeUnpacking, fixture.form.get());
    fixture.wait.OnBreak(kWaitModeUnpacking);
    EXPECT_EQ(fixture.host.ends, 2);
    fixture.wait.OnBreak(kWaitModeDownload);
    EXPECT_EQ(fixture.host.ends, 2) << "mode 0 does nothing";
    fixture.wait.EndWait();
}

}  // namespace
