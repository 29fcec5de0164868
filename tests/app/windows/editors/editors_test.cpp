// The capture-service editor and the share editor driven as a user would: fields set, OK pressed, the
// job's settings and share records checked; refused OKs with their messages; the FTP check against a
// real FTP server on loopback.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <filesystem>
#include <vector>

#include "app/lists/http_server_list.h"
#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/CaptureSourcePage.h"
#include "app/windows/editors/FtpCheck.h"
#include "app/windows/editors/FtpLog_Form.h"
#include "app/windows/base/IpAddrPortFrame.h"
#include "common/MsgDlgWrappers.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/ShareEditRules.h"
#include "app/windows/editors/ShareFtpGroup.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "app/windows/editors/TimeDisplayPage.h"
#include "app/windows/editors/VideoSettingsPage.h"
#include "app/windows/pickers/WndArea_Form.h"
#include "app/windows/pickers/WndList_Form.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/editors/NumberFieldText.h"
#include "app/windows/base/EditorControls.h"
#include "engine/ftp/curl_ftp_session.h"
#include "platform/display/fake_display.h"
#include "tests/app/windows/editors/capture_entry_fixture.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"
#include "tests/engine/ftp/ftp_test_server.h"
#include "tests/support/test_env.h"

namespace {

using namespace app;

// Answers every message box with its first button; the texts it showed.
struct MessageRecorder {
    fw_test::ScopedMsgDlgAnswers boxes;
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        for (const QString& text : boxes.Texts()) shown.push_back(text.toStdString());
        return shown;
    }
};

TShareEditorContext ShareContext(THttpServerList& servers, TCaptureList& captures) {
    TShareEditorContext context;
    context.HttpServers = &servers;
    context.CaptureList = &captures;
    return context;
}

class ShareEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto server = std::make_unique<engine::TCaptureHttpServer>(0, "", nullptr);
        server->Root = (dir.path() / "root").string() + "/";
        servers.Append(std::make_shared<THttpServerEntry>(std::move(server)));
        share = std::make_shared<engine::TCaptureStreamer>();
        share->Protocol = engine::kShareProtocolHttp;
        share->SubDir = "cam";
    }

    // Presses OK; true when the dialog accepted.
    bool PressOk() {
        editor.setResult(0);
        editor.OK_BitBtnClick();
        return editor.result() == QDialog::Accepted;
    }

    fw_test::TempDir dir;
    THttpServerList servers;
    TCaptureList captures;
    TScreenCapture_StreameSet_Form editor{ShareContext(servers, captures)};
    engine::PCaptureStreamer share;
};

TEST_F(ShareEditorTest, RefusedOksShowTheirMessageAndKeepTheDialogOpen) {
    // The web server the share editor offers.
    enum class TServer { Usual, None, RootIsAFile, NoRoot };
    struct Case {
        const char* name;
        uint8_t protocol;
        std::string subDir, ip;
        int port;
        bool ftp;
        std::string user, password;
        const char* message;  // nullptr: accepted
        TServer server = TServer::Usual;
    };
    const std::vector<Case> cases = {
        {"no web server", 0, "cam", "", 0, false, "", "", "No Web-Server selected!", TServer::None},
        {"empty sub-folder", 0, "  ", "", 0, false, "", "", "Sub-Directory must not be empty!"},
        {"sub-folder climbing out", 0, "../../etc", "", 0, false, "", "", "Sub-Directory must lie inside the Root-Path!"},
        {"root that is a file", 0, "cam", "", 0, false, "", "", "Local Dir could not be created!", TServer::RootIsAFile},
        {"web server without root", 0, "cam", "", 0, false, "", "", "Local Dir could not be created!", TServer::NoRoot},
        {"ftp without user", 0, "cam", "", 0, true, "", "pw", "No FTP-User defined!"},
        {"ftp without password", 0, "cam", "", 0, true, "u", "", "No FTP-Password defined!"},
        {"good http share", 0, "cam", "", 0, true, "u", "pw", nullptr},
        // The fields keep leading zeros (and make an empty part "0"): four digits are one too many.
        {"address part of four digits", 1, "", "10.0.0001.1", 5000, false, "", "", "Invalid IP-Address!"},
        {"port 65535", 1, "", "10.0.0.1", 65535, false, "", "", "Invalid IP-Port!"},
        {"port 0", 1, "", "10.0.0.1", 0, false, "", "", "Invalid IP-Port!"},
        {"port 65534", 1, "", "10.0.0.1", 65534, false, "", "", nullptr},
    };
    const std::shared_ptr<THttpServerEntry> usual = servers.Items()[0];
    const std::string usualRoot = usual->Server->Root;
    const std::filesystem::path file = dir.path() / "a-file";
    fw_test::WriteFile(file, "not a folder");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        servers.Clear();
        share->HttpServer = nullptr;
        if (c.server != TServer::None) servers.Append(usual);
        usual->Server->Root = c.server == TServer::RootIsAFile ? file.string() + "/"
                              : c.server == TServer::NoRoot    ? std::string()
                                                               : usualRoot;
        share->Protocol = c.protocol;
        editor.LoadShare(share, engine::kCapKindMonitor);
        editor.Active_CB->setChecked(true);
        editor.WebServerPage->LocalDir_Edit->setText(QString::fromStdString(c.subDir));
        editor.FtpGroup->Ftp_CB->setChecked(c.ftp);
        editor.FtpGroup->User_Edit->setText(QString::fromStdString(c.user));
        editor.FtpGroup->Pw_Edit->setText(QString::fromStdString(c.password));
        if (c.protocol == 1) {
            editor.IpAddr_Frame->SetIpText(c.ip);
            editor.IpAddr_Frame->SetPort(c.port);
        }
        const bool accepted = PressOk();
        if (c.message) {
            EXPECT_FALSE(accepted);
            EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
            EXPECT_TRUE(editor.OkFailed());
        } else {
            EXPECT_TRUE(accepted);
            EXPECT_TRUE(messages.texts().empty());
        }
    }
}

TEST_F(ShareEditorTest, HttpShareRoundTripTidiesSubFolderAndHostFolder) {
    MessageRecorder messages;
    editor.LoadShare(share, engine::kCapKindMonitor);
    EXPECT_EQ(share->HttpServer.get(), servers.Items()[0].get());  // the first server is bound at once
    editor.Active_CB->setChecked(true);
    editor.WebServerPage->LocalDir_Edit->setText(" my dir");
    editor.FtpGroup->HostDir_Edit->setText("\\Live\\\\Cam1\\");
    editor.Img_CB->setChecked(true);
    editor.Video_CB->setChecked(false);
    ASSERT_TRUE(PressOk());
    editor.StoreShare(*share);
    EXPECT_EQ(share->SubDir, "my_dir");
    EXPECT_EQ(share->FtpHostDir, "live/cam1");
    EXPECT_TRUE(share->ImageActive);
    EXPECT_FALSE(share->VideoActive);
    EXPECT_FALSE(share->FileActive);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "root" / "my_dir"));
}

TEST_F(ShareEditorTest, UdpShareKeepsVideoAndCancelAfterRefusalDeactivates) {
    MessageRecorder messages;
    share->Protocol = engine::kShareProtocolUdp;
    share->VideoActive = false;
    editor.LoadShare(share, engine::kCapKindMonitor);
    EXPECT_TRUE(editor.Video_CB->isChecked());
    editor.Video_CB->setChecked(false);
    EXPECT_TRUE(editor.Video_CB->isChecked());  // a UDP share always sends video

    share->Protocol = engine::kShareProtocolHttp;
    editor.LoadShare(share, engine::kCapKindMonitor);
    editor.Active_CB->setChecked(true);
    editor.WebServerPage->LocalDir_Edit->clear();
    EXPECT_FALSE(PressOk());
    editor.Cancel_BitBtnClick();
    EXPECT_FALSE(editor.Active_CB->isChecked());
}

// A share whose OK was refused ends inactive however its editor is then cancelled; the capture
// editor's Edit copies that into the share. The share editor runs its own modal loop.
TEST_F(ShareEditorTest, EveryCancelAfterARefusedOkLeavesTheShareInactive) {
    struct Case {
        const char* name;
        std::function<void(TScreenCapture_StreameSet_Form&)> cancel;
    };
    const std::vector<Case> cases = {
        {"Escape", [](TScreenCapture_StreameSet_Form& e) { fw_test::UserKey(e, Qt::Key_Escape); }},
        {"close box", [](TScreenCapture_StreameSet_Form& e) { fw_test::WindowManagerClose(e); }},
        {"Cancel", [](TScreenCapture_StreameSet_Form& e) { fw_test::UserClick(*e.Cancel_BitBtn); }},
    };
    TCaptureList captureList;
    TCaptureListEntry& owner = captureList.Append(fw_test::EntryWithJob(3, dir));
    TCaptureWorkingCopy copy;
    copy.Take(owner.Capture);
    TCaptureEditorContext context;
    fw_test::EditThrough(context, copy);
    context.CaptureList = &captureList;
    context.ShareEditor = &editor;
    TCaptureSettings_Form captureEditor(context);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        captureEditor.Setup_ScreenCapture_Frame1->InitEditor(&owner);
        const engine::PCaptureStreamer edited = owner.Capture->Streamers->AddStreamer();
        edited->Active = true;
        edited->Protocol = engine::kShareProtocolHttp;
        edited->SubDir = "cam";
        edited->HttpServer = servers.Items()[0];
        captureEditor.Setup_ScreenCapture_Frame1->LoadCapture(owner.Idx);
        captureEditor.Setup_ScreenCapture_Frame1->Streamer_VST->setCurrentItem(
            captureEditor.Setup_ScreenCapture_Frame1->Streamer_VST->topLevelItem(0));
        fw_test::ScopedMsgDlgAnswers boxes;
        fw_test::ModalDriver modal;
        modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& e) {
            e.WebServerPage->LocalDir_Edit->clear();
            fw_test::UserClick(*e.OK_BitBtn);  // refused: the dialog stays
        });
        modal.On<TScreenCapture_StreameSet_Form>(c.cancel);
        captureEditor.Setup_ScreenCapture_Frame1->EditPort_BitBtnClick();
        EXPECT_TRUE(modal.Done());
        EXPECT_EQ(boxes.Texts(), std::vector<QString>{"Sub-Directory must not be empty!"});
        EXPECT_FALSE(editor.isVisible());
        EXPECT_FALSE(edited->Active);
        owner.Capture->Streamers->DeleteStreamer(edited.get());
    }
}

TEST_F(ShareEditorTest, FilesBoxFollowsTheCaptureOfEachShare) {
    editor.LoadShare(share, engine::kCapKindFiles);
    editor.Files_CB->setChecked(false);
    EXPECT_TRUE(editor.Files_CB->isChecked());
    editor.StoreShare(*share);
    EXPECT_TRUE(share->FileActive);
    auto other = std::make_shared<engine::TCaptureStreamer>();
    other->Protocol = engine::kShareProtocolHttp;
    editor.LoadShare(other, engine::kCapKindMonitor);
    editor.StoreShare(*other);
    EXPECT_FALSE(other->FileActive);
}

// The web-server choice takes no typed keys (a character would pick a server by its first letter, an
// arrow step through them); the keys that move the focus, cancel and press the default button work
// there as in every other field. The editor runs its own modal loop.
TEST_F(ShareEditorTest, WebServerChoicePassesOnlyFocusAndDialogKeys) {
    auto second = std::make_unique<engine::TCaptureHttpServer>(1, "", nullptr);
    second->Root = (dir.path() / "root2").string() + "/";
    servers.Append(std::make_shared<THttpServerEntry>(std::move(second)));
    constexpr int kStaysOpen = 0;
    const struct {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int closedWith;  // the modal result the key gives, kStaysOpen: the dialog stays
        bool focusLeaves;
        int choiceAfter;
    } cases[] = {
        {"Tab", Qt::Key_Tab, Qt::NoModifier, kStaysOpen, true, 0},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, kStaysOpen, true, 0},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, kModalCancel, true, 0},
        {"Enter", Qt::Key_Return, Qt::NoModifier, kModalOk, true, 0},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, kModalOk, true, 0},
        {"typed character (each server's first)", Qt::Key_BracketLeft, Qt::NoModifier, kStaysOpen, false, 0},
        {"Down", Qt::Key_Down, Qt::NoModifier, kStaysOpen, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        share->Active = false;  // OK takes it without checks
        share->HttpServer = servers.Items()[0];
        editor.LoadShare(share, engine::kCapKindMonitor);
        bool focusLeft = false, stillOpen = false;
        int choice = -1;
        fw_test::ModalDriver modal;
        modal.On<TScreenCapture_StreameSet_Form>([&](TScreenCapture_StreameSet_Form& e) {
            e.WebServerPage->WebServer_ComboBox->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(QApplication::focusWidget(), e.WebServerPage->WebServer_ComboBox);
            fw_test::UserKey(*e.WebServerPage->WebServer_ComboBox, c.key, c.modifiers);
            focusLeft = QApplication::focusWidget() != e.WebServerPage->WebServer_ComboBox;
            choice = e.WebServerPage->WebServer_ComboBox->currentIndex();
            stillOpen = e.isVisible() && e.result() == 0;
            if (stillOpen) fw_test::UserClick(*e.Cancel_BitBtn);
        });
        const int result = RunModal(editor);
        EXPECT_TRUE(modal.Done());
        EXPECT_EQ(stillOpen, c.closedWith == kStaysOpen);
        if (c.closedWith != kStaysOpen) EXPECT_EQ(result, c.closedWith);
        EXPECT_EQ(focusLeft, c.focusLeaves);
        EXPECT_EQ(choice, c.choiceAfter);
    }
}

TEST(ShareEditRules, TextRules) {
    EXPECT_EQ(NormalizeHostDir("\\Live\\\\Cam1\\"), "live/cam1");
    EXPECT_EQ(NormalizeHostDir(""), "");
    EXPECT_EQ(CleanSubDir("  my dir x"), "my_dir_x");
    EXPECT_FALSE(IsSubDirInsideRoot("/abs"));
    EXPECT_FALSE(IsSubDirInsideRoot("a/../../b"));
    EXPECT_TRUE(IsSubDirInsideRoot("a/b"));
}

TEST(NumberFieldText, ReadingAndPidToggle) {
    EXPECT_EQ(ReadNumberField("  42abc"), 42);
    EXPECT_EQ(ReadNumberField("$1F"), 31);
    EXPECT_EQ(ReadNumberField("0x0065"), 101);
    EXPECT_EQ(ReadNumberField("-7"), -7);
    EXPECT_EQ(ReadNumberField(""), 0);
    EXPECT_EQ(ReadNumberField("99999999999"), 2147483647);
    EXPECT_EQ(TogglePidText("101"), "0x0065");
    EXPECT_EQ(TogglePidText("0x0065"), "101");
    EXPECT_EQ(TogglePidText("zz"), "zz");
    EXPECT_FALSE(ParseIntegerText("12a").has_value());
}

class FtpCheckTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Start()); }

    std::vector<std::string> Run(const std::string& password, const std::string& hostDir, bool create) {
        std::vector<std::string> lines;
        engine::CurlFtpSession session({server.host(), fw_test::FtpTestServer::kUser, password});
        TFtpCheckIo io{[&](const std::string& line) { lines.push_back(line); },
                       [&](const std::string&) { return create; }};
        RunFtpCheck(session, server.host(), hostDir, io);
        return lines;
    }

    // A share of this test's server with the right user and password.
    std::shared_ptr<engine::TCaptureStreamer> ServerShare() const {
        auto share = std::make_shared<engine::TCaptureStreamer>();
        share->FtpHost = server.host();
        share->FtpUser = fw_test::FtpTestServer::kUser;
        share->FtpPassword = fw_test::FtpTestServer::kPassword;
        return share;
    }

    fw_test::FtpTestServer server;
};

TEST_F(FtpCheckTest, RightPasswordWithExistingFolderPasses) {
    std::filesystem::create_directories(server.root() / "live" / "cam1");
    const std::vector<std::string> lines = Run(fw_test::FtpTestServer::kPassword, "live/cam1", false);
    const std::vector<std::string> expected = {"connect FTP : " + server.host(), "FTP connect OK", "ftp-root directory set",
                                               "check ftp-directory : live/cam1", "ftp-host-directory ok",
                                               "FTP disconnect OK"};
    EXPECT_EQ(lines, expected);
}

TEST_F(FtpCheckTest, WrongPasswordReportsConnectFailure) {
    const std::vector<std::string> lines = Run("wrong", "live", false);
    const std::vector<std::string> expected = {"connect FTP : " + server.host(), "FTP connect failed"};
    EXPECT_EQ(lines, expected);
}

TEST_F(FtpCheckTest, MissingFolderIsReportedAndMadeOnRequest) {
    std::vector<std::string> lines = Run(fw_test::FtpTestServer::kPassword, "new/dir", false);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ftp-directory does not exist"), lines.end());
    EXPECT_FALSE(std::filesystem::exists(server.root() / "new" / "dir"));
    lines = Run(fw_test::FtpTestServer::kPassword, "new/dir", true);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "create ftp-host-directory ok"), lines.end());
    EXPECT_TRUE(std::filesystem::is_directory(server.root() / "new" / "dir"));
}

// The server stops answering while the user is asked about the missing folder: the check's end
// does not wait for the server's goodbye.
TEST_F(FtpCheckTest, AServerThatFallsSilentDoesNotHoldUpTheEnd) {
    std::vector<std::string> lines;
    engine::CurlFtpSession session({server.host(), fw_test::FtpTestServer::kUser, fw_test::FtpTestServer::kPassword});
    std::chrono::steady_clock::time_point silentFrom;
    TFtpCheckIo io{[&](const std::string& line) { lines.push_back(line); },
                   [&](const std::string&) {
                       ::kill(server.pid(), SIGSTOP);
                       silentFrom = std::chrono::steady_clock::now();
                       return false;
                   }};
    RunFtpCheck(session, server.host(), "missing", io);
    const auto took = std::chrono::steady_clock::now() - silentFrom;
    ::kill(server.pid(), SIGCONT);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "FTP disconnect OK");
    EXPECT_LT(took, std::chrono::seconds(1));
}

TEST_F(FtpCheckTest, EditorShowsTheLogAndStaysDisabledUntilItCloses) {
    fw_test::TempDir dir;
    TScreenCapture_StreameSet_Form editor{TShareEditorContext{}};
    auto share = ServerShare();
    editor.LoadShare(share, std::nullopt);
    editor.FtpGroup->CheckFtp_TBClick();
    EXPECT_FALSE(editor.isEnabled());
    EXPECT_TRUE(editor.FtpLog().Log_Memo->toPlainText().contains("FTP connect OK"));
    editor.FtpLog().BitBtn1->click();
    EXPECT_TRUE(editor.isEnabled());
}

// The log window is modal over the editor, which runs its own modal loop: the user's click on the
// log's OK reaches it, and the editor comes back enabled.
TEST_F(FtpCheckTest, LogWindowTakesItsOkOverTheRunningEditor) {
    TScreenCapture_StreameSet_Form editor{TShareEditorContext{}};
    auto share = ServerShare();
    share->Protocol = engine::kShareProtocolHttp;  // the FTP settings are on its page
    editor.LoadShare(share, engine::kCapKindMonitor);
    fw_test::ModalDriver modal;
    modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& e) { fw_test::UserClick(*e.FtpGroup->CheckFtp_TB); });
    modal.On<TFtpLog_Form>([&editor](TFtpLog_Form& log) {
        EXPECT_FALSE(editor.isEnabled());
        EXPECT_TRUE(log.isEnabled());
        EXPECT_TRUE(log.Log_Memo->toPlainText().contains("FTP connect OK"));
        fw_test::UserClick(*log.BitBtn1);
    });
    modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& e) {
        EXPECT_TRUE(e.isEnabled());
        e.Active_CB->setChecked(false);  // an inactive share passes OK unchecked
        fw_test::UserClick(*e.OK_BitBtn);
    });
    EXPECT_EQ(RunModal(editor), kModalOk);
    EXPECT_TRUE(modal.Done());
    EXPECT_FALSE(editor.FtpLog().isVisible());
}

// The editor closed by the window manager while its FTP log is up: both go, nothing stays disabled,
// and the next check runs as the first did.
TEST_F(FtpCheckTest, EditorClosedWhileItsLogIsUpLeavesNothingDisabled) {
    TScreenCapture_StreameSet_Form editor{TShareEditorContext{}};
    auto share = ServerShare();
    share->Protocol = engine::kShareProtocolHttp;  // the FTP settings are on its page
    editor.LoadShare(share, engine::kCapKindMonitor);
    fw_test::ModalDriver modal;
    modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& e) { fw_test::UserClick(*e.FtpGroup->CheckFtp_TB); });
    modal.On<TFtpLog_Form>([&editor](TFtpLog_Form&) { fw_test::WindowManagerClose(editor); });
    EXPECT_EQ(RunModal(editor), kModalCancel);
    EXPECT_TRUE(modal.Done());
    EXPECT_FALSE(editor.FtpLog().isVisible());
    EXPECT_TRUE(editor.isEnabled());

    editor.LoadShare(share, engine::kCapKindMonitor);
    modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& e) { fw_test::UserClick(*e.FtpGroup->CheckFtp_TB); });
    modal.On<TFtpLog_Form>([](TFtpLog_Form& log) { fw_test::WindowManagerClose(log); });
    modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& e) {
        EXPECT_TRUE(e.isEnabled());
        fw_test::UserKey(e, Qt::Key_Escape);
    });
    EXPECT_EQ(RunModal(editor), kModalCancel);
    EXPECT_TRUE(modal.Done());
}

class CaptureEditorTest : public ::testing::Test {
protected:
    CaptureEditorTest() {
        captures.Append(fw_test::EntryWithJob(7, dir));
        copy.Take(Entry().Capture);
        fw_test::EditThrough(context, copy);
        context.CaptureList = &captures;
        context.ShareEditor = &shareEditor;
    }
    TCaptureListEntry& Entry() { return *captures.Items()[0]; }
    // What the editor wrote: its working copy of the job's settings.
    const engine::TScreenCaptureParams& Edited() { return *copy.ViewOf(Entry()).Params; }

    fw_test::TempDir dir;
    TCaptureList captures;
    TCaptureWorkingCopy copy;
    TScreenCapture_StreameSet_Form shareEditor{TShareEditorContext{}};
    TCaptureEditorContext context;
};

// Every spin field of the capture editor and the share editor takes typed text the same way.
TEST_F(CaptureEditorTest, EverySpinFieldClampsWhatIsTypedWhenItIsLeft) {
    TCaptureSettings_Form form(context);
    form.Setup_ScreenCapture_Frame1->InitEditor(&Entry());
    form.show();
    shareEditor.show();
    QList<QSpinBox*> spins = form.findChildren<QSpinBox*>();
    for (QSpinBox* spin : shareEditor.findChildren<QSpinBox*>()) spins.push_back(spin);
    ASSERT_GE(spins.size(), 9);  // eight in the capture editor, one in the share editor
    for (QSpinBox* spin : spins) {
        fw_test::OpenPagesOf(*spin);
        const std::string name = spin->objectName().toStdString();
        EXPECT_EQ(fw_test::TypeAndLeave(*spin, QStringLiteral("99999999")), spin->maximum()) << name;
        EXPECT_EQ(fw_test::TypeAndLeave(*spin, QStringLiteral("12-3")), spin->minimum()) << name;
    }
}

TEST_F(CaptureEditorTest, OkWithoutShareIsRefusedAndCancelledAddLeavesNoShare) {
    TCaptureSettings_Form form(context);
    MessageRecorder messages;
    form.Setup_ScreenCapture_Frame1->InitEditor(&Entry());
    form.setResult(0);
    form.OK_BitBtnClick();
    EXPECT_NE(form.result(), QDialog::Accepted);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "No Share defined!");

    fw_test::ModalDriver modal;
    modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& editor) { editor.Cancel_BitBtn->click(); });
    form.Setup_ScreenCapture_Frame1->AddPort_BitBtnClick();
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(Entry().Capture->Streamers->Count(), 0u);
    EXPECT_TRUE(form.Setup_ScreenCapture_Frame1->ShareRows().empty());
}

TEST_F(CaptureEditorTest, LoadStoreRoundTripWithAShare) {
    TCaptureSettings_Form form(context);
    TSetup_ScreenCapture_Frame& f = *form.Setup_ScreenCapture_Frame1;
    MessageRecorder messages;
    f.InitEditor(&Entry());
    EXPECT_EQ(f.CapturePage->Idx_Edit->text(), "01");
    EXPECT_EQ(f.CapturePage->Name_Edit->text(), "capture_service_01");
    {
        fw_test::ModalDriver modal;
        modal.On<TScreenCapture_StreameSet_Form>([](TScreenCapture_StreameSet_Form& editor) {
            editor.Protocol_ComboBox->setCurrentIndex(1);  // UDP
            editor.ArrangeProtocol();
            editor.IpAddr_Frame->SetIpText("192.168.1.20");
            editor.IpAddr_Frame->SetPort(6000);
            editor.OK_BitBtn->click();
        });
        f.AddPort_BitBtnClick();
    }
    ASSERT_EQ(Entry().Capture->Streamers->Count(), 1u);
    EXPECT_EQ(Entry().Capture->Streamers->Items()[0]->Port, 6000);
    EXPECT_EQ(f.Streamer_VST->topLevelItem(0)->text(3), "192.168.1.20:6000");

    SelectChoice(*f.CapturePage->CaptureSrc_ComboBox, engine::kCapKindArea);
    f.ShowSourceGroup();
    f.CapturePage->Left_Edit->setText("10");
    f.CapturePage->Top_Edit->setText("20");
    f.CapturePage->Width_Edit->setText("300");
    f.CapturePage->Height_Edit->setText("200");
    f.VideoPage->VidPid_Edit->setText("0x0065");
    SelectChoice(*f.VideoPage->Scale_ComboBox, 6);
    f.VideoPage->BitRate_SpinEdit->setValue(20000);  // clamped to the maximum
    f.TimePage->FontName_ComboBox->setCurrentText("Tahoma");
    form.setResult(0);
    form.OK_BitBtnClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    f.StoreCapture(&Entry());
    const engine::TScreenCaptureParams& p = Edited();
    EXPECT_EQ(p.capEncoder, engine::kCapEncoderDirectX);
    EXPECT_EQ(p.capKind, engine::kCapKindArea);
    EXPECT_EQ(p.iLeft, 10);
    EXPECT_EQ(p.iTop, 20);
    EXPECT_EQ(p.iWidth, 300);
    EXPECT_EQ(p.iHeight, 200);
    EXPECT_EQ(p.capVidPid, 101);
    EXPECT_EQ(p.vidScale, 6);
    EXPECT_EQ(p.vidBitrate, engine::kMaxVideoBitrate);
    EXPECT_EQ(p.vidFrameRate, 25);
    EXPECT_EQ(p.capTimeDisplaysFont, "Tahoma");

    // Loading again shows what was stored.
    f.LoadCapture(7);
    EXPECT_EQ(ChoiceNumber(*f.CapturePage->CaptureSrc_ComboBox, -1), engine::kCapKindArea);
    EXPECT_EQ(f.CapturePage->Width_Edit->text(), "300");
    EXPECT_EQ(f.VideoPage->Scale_ComboBox->currentText(), "0.5");
    EXPECT_EQ(f.ShareRows().size(), 1u);
}

// The area picker runs over the capture editor's own modal loop, which goes on while the editor is
// hidden; however the picker is closed, the editor gets its rectangle and its OK stores it.
TEST_F(CaptureEditorTest, AreaPickerReturnsIntoTheRunningEditorWhoseOkStoresTheArea) {
    struct Case {
        const char* name;
        std::function<void(TWndArea_Form&)> close;
    };
    const std::vector<Case> cases = {
        {"Escape", [](TWndArea_Form& area) { fw_test::UserKey(area, Qt::Key_Escape); }},
        {"double click", [](TWndArea_Form& area) {
             QTest::mouseDClick(area.windowHandle(), Qt::LeftButton, {}, area.L_Label->mapTo(&area, QPoint(2, 2)));
         }},
        {"close box", [](TWndArea_Form& area) { fw_test::WindowManagerClose(area); }},
    };
    TWndArea_Form picker;
    context.WndArea = &picker;
    TCaptureSettings_Form form(context);
    TSetup_ScreenCapture_Frame& f = *form.Setup_ScreenCapture_Frame1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.InitEditor(&Entry());
        const engine::PCaptureStreamer share = Entry().Capture->Streamers->AddStreamer();  // OK wants a share
        bool hiddenUnderPicker = false;
        int pickersShown = 0;
        fw_test::ModalDriver modal;
        modal.On<TCaptureSettings_Form>([&f](TCaptureSettings_Form&) {
            SelectChoice(*f.CapturePage->CaptureSrc_ComboBox, engine::kCapKindArea);
            f.ShowSourceGroup();
            f.CapturePage->Left_Edit->setText("10");
            f.CapturePage->Top_Edit->setText("20");
            f.CapturePage->Width_Edit->setText("300");
            f.CapturePage->Height_Edit->setText("200");
            fw_test::UserClick(*f.CapturePage->WndArea_TB);
        });
        modal.On<TWndArea_Form>([&](TWndArea_Form& area) {
            ++pickersShown;
            hiddenUnderPicker = !form.isVisible();
            EXPECT_EQ(area.geometry(), QRect(10, 20, 300, 200));
            f.CapturePage->WndArea_TBClick();  // a second click while the picker is up opens nothing
            for (int i = 0; i < 5; ++i) fw_test::UserKey(area, Qt::Key_Right, Qt::ControlModifier);
            fw_test::UserKey(area, Qt::Key_Down);
            c.close(area);
        });
        modal.On<TCaptureSettings_Form>([&f](TCaptureSettings_Form& editor) {
            EXPECT_TRUE(editor.isVisible());
            EXPECT_EQ(f.CapturePage->Left_Edit->text(), "10");
            EXPECT_EQ(f.CapturePage->Top_Edit->text(), "21");
            EXPECT_EQ(f.CapturePage->Width_Edit->text(), "305");
            EXPECT_EQ(f.CapturePage->Height_Edit->text(), "200");
            fw_test::UserClick(*editor.OK_BitBtn);
        });
        ASSERT_EQ(RunModal(form), kModalOk);
        EXPECT_TRUE(modal.Done());
        EXPECT_TRUE(hiddenUnderPicker);
        EXPECT_EQ(pickersShown, 1);
        f.StoreCapture(&Entry());
        const engine::TScreenCaptureParams& p = Edited();
        EXPECT_EQ(p.capKind, engine::kCapKindArea);
        EXPECT_EQ(QRect(p.iLeft, p.iTop, p.iWidth, p.iHeight), QRect(10, 21, 305, 200));
        Entry().Capture->Streamers->DeleteStreamer(share.get());
    }
}

// The window picker runs over the running capture editor; the editor's OK stores the picked window.
TEST_F(CaptureEditorTest, WindowPickerReturnsIntoTheRunningEditorWhoseOkStoresTheWindow) {
    auto display = std::make_shared<platform::TFakeDisplay>();
    platform::TFakeWindow window;
    window.ClassName = "Editor";
    window.Caption = "notes.txt";
    window.Rect = platform::MakeRect(5, 5, 200, 100);
    const platform::WindowId picked = display->AddWindow(window);
    platform::SetCurrentDisplay(display);
    TWndList_Form picker;
    context.WndList = &picker;
    TCaptureSettings_Form form(context);
    TSetup_ScreenCapture_Frame& f = *form.Setup_ScreenCapture_Frame1;
    f.InitEditor(&Entry());
    Entry().Capture->Streamers->AddStreamer();
    int pickersShown = 0;
    fw_test::ModalDriver modal;
    modal.On<TCaptureSettings_Form>([&f](TCaptureSettings_Form&) {
        SelectChoice(*f.CapturePage->CaptureSrc_ComboBox, engine::kCapKindWindow);
        f.ShowSourceGroup();
        fw_test::UserClick(*f.CapturePage->Windows_TB);
    });
    modal.On<TWndList_Form>([&](TWndList_Form& list) {
        ++pickersShown;
        EXPECT_TRUE(form.isVisible());
        f.CapturePage->Windows_TBClick();  // a second click while the picker is up opens nothing
        ASSERT_EQ(list.Wnd_VST->topLevelItemCount(), 1);
        list.Wnd_VST->setCurrentItem(list.Wnd_VST->topLevelItem(0));
        fw_test::UserClick(*list.OK_Btn);
    });
    modal.On<TCaptureSettings_Form>([&f](TCaptureSettings_Form& editor) {
        EXPECT_EQ(f.CapturePage->WinClass_Edit->text(), "Editor");
        EXPECT_EQ(f.CapturePage->WinCaption_Edit->text(), "notes.txt");
        fw_test::UserClick(*editor.OK_BitBtn);
    });
    EXPECT_EQ(RunModal(form), kModalOk);
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(pickersShown, 1);
    f.StoreCapture(&Entry());
    EXPECT_EQ(Edited().capKind, engine::kCapKindWindow);
    EXPECT_EQ(Edited().Window.sClass, "Editor");
    EXPECT_EQ(Edited().Window.sCaption, "notes.txt");
    EXPECT_EQ(Entry().Capture->Geometry().Window.Handle, platform::kNoWindow);
    copy.WriteBack();  // the job follows the window its new class and caption name
    EXPECT_EQ(Entry().Capture->Params.Window.sCaption, "notes.txt");
    EXPECT_EQ(Entry().Capture->Geometry().Window.Handle, picked);
    platform::SetCurrentDisplay(nullptr);
}

// The colour fields take their colour from a colour dialog that runs its own modal loop.
TEST_F(CaptureEditorTest, ColourFieldTakesTheColourChosenInItsDialog) {
    TCaptureSettings_Form form(context);
    TSetup_ScreenCapture_Frame& f = *form.Setup_ScreenCapture_Frame1;
    f.InitEditor(&Entry());
    fw_test::ModalDriver modal;
    modal.On<QColorDialog>([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog.accept();
    });
    f.TimePage->Font_ColorPicker->click();
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(ColorOf(*f.TimePage->Font_ColorPicker), 0x00563412u);
    modal.On<QColorDialog>([](QColorDialog& dialog) {
        dialog.setCurrentColor(Qt::white);
        fw_test::UserKey(dialog, Qt::Key_Escape);
    });
    f.TimePage->Font_ColorPicker->click();
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(ColorOf(*f.TimePage->Font_ColorPicker), 0x00563412u) << "a cancelled dialog changed the colour";
}

TEST_F(CaptureEditorTest, SystemMethodOffersFilesAndSetsTheKindAtOnce) {
    TCaptureSettings_Form form(context);
    TSetup_ScreenCapture_Frame& f = *form.Setup_ScreenCapture_Frame1;
    f.InitEditor(&Entry());
    EXPECT_EQ(f.VideoPage->Scale_ComboBox->itemText(0), "2.0");
    SelectChoice(*f.CapturePage->Encoder_ComboBox, engine::kCapEncoderSystem);
    f.ApplyMethod();
    EXPECT_EQ(f.CapturePage->CaptureSrc_ComboBox->count(), 1);
    EXPECT_EQ(f.CapturePage->CaptureSrc_ComboBox->currentText(), "Files");
    EXPECT_EQ(f.VideoPage->Scale_ComboBox->itemText(0), "1.0");
    EXPECT_TRUE(f.CapturePage->Port_Panel->isHidden());
    EXPECT_EQ(Edited().capKind, engine::kCapKindFiles);
}

TEST_F(CaptureEditorTest, ColumnWidthSurvivesReopening) {
    TCaptureSettings_Form form(context);
    form.LoadColumnWidths();
    EXPECT_EQ(form.Setup_ScreenCapture_Frame1->Streamer_VST->columnWidth(2), kShareListDefaultWidthPx);
    form.Setup_ScreenCapture_Frame1->Streamer_VST->setColumnWidth(2, 177);
    form.FormClose();
    TCaptureSettings_Form again(context);
    again.LoadColumnWidths();
    EXPECT_EQ(again.Setup_ScreenCapture_Frame1->Streamer_VST->columnWidth(2), 177);
}

}  // namespace
