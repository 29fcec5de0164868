// The main window built with the real windows, offscreen: one panel per capture service, the bars, the
// log window, the share tabs' LEDs driven by the engine's notifications, the panel's Delete, the
// settings sequence through its dialogs' modal loops, and the end of the session while a dialog is open.
#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <map>

#include "app/mainform/MainForm.h"
#include "app/mainform/QtStartupUi.h"
#include "app/parts/MainTrayIcon.h"
#include "app/parts/MainWindowParts.h"
#include "app/parts/UserManual.h"
#include "app/settings/app_paths.h"
#include "app/windows/capture_panel/CaptureFrame.h"
#include "app/windows/capture_panel/ShareStatusTab.h"
#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/CaptureSourcePage.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/editors/Setup_ScreenCapture_Frame.h"
#include "app/windows/editors/VideoSettingsPage.h"
#include "app/windows/log_windows/LogListDelegate.h"
#include "app/windows/log_windows/MainLog_Form.h"
#include "app/windows/settings_dialog/CaptureServicePage.h"
#include "app/windows/settings_dialog/GeneralSettingsPage.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/toolbar/BottomFrame.h"
#include "app/windows/toolbar/TopFrame.h"
#include "common/MsgDlgWrappers.h"
#include "components/LedLabel.h"
#include "engine/settings/program_state.h"
#include "platform/ui/message_target.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/app/parts/main_window_fixture.h"
#include "tests/app/parts/test_startup_ui.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

using fw_test::ChildOf;
using fw_test::ChildrenOf;

class MainWindowPartsTest : public fw_test::MainWindowFixture {};

TEST_F(MainWindowPartsTest, ShowsOnePanelPerCaptureServiceBetweenTheBars) {
    ASSERT_EQ(form->CaptureList().Count(), 2u);
    EXPECT_EQ(ChildrenOf<app::TCapture_Frame>(*form).size(), 2u);
    for (const auto& entry : form->CaptureList().Items()) {
        app::TCapture_Frame* panel = PanelOf(*entry);
        ASSERT_NE(panel, nullptr) << entry->Name;
        EXPECT_TRUE(panel->isVisibleTo(form.get())) << entry->Name;
        EXPECT_TRUE(panel->Controls().On_Led->LedOn())
            << entry->Name << ": an auto-start service's running lamp is off";
        EXPECT_EQ(panel->StreamerFrames().size(), 1u) << entry->Name;
    }
    const auto* toolBar = ChildOf<app::TTop_Frame>(*form);
    const auto* statusBar = ChildOf<app::TBottom_Frame>(*form);
    ASSERT_NE(toolBar, nullptr);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_TRUE(toolBar->isVisibleTo(form.get()));
    EXPECT_TRUE(statusBar->isVisibleTo(form.get()));
    int panelsHeight = 0;
    for (const auto& entry : form->CaptureList().Items()) {
        const int top = PanelOf(*entry)->mapTo(form.get(), QPoint(0, 0)).y();
        EXPECT_GE(top, toolBar->geometry().bottom()) << entry->Name << ": the panel is not below the tool bar";
        EXPECT_LT(top, statusBar->geometry().top()) << entry->Name << ": the panel is not above the status bar";
        panelsHeight += PanelOf(*entry)->height();
    }
    EXPECT_GE(form->height(), toolBar->height() + statusBar->height() + panelsHeight)
        << "the window's height does not follow its panels";

    const QImage shot = form->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_EQ(shot.width(), app::kMainWindowWidthPx);
}

TEST_F(MainWindowPartsTest, LogWindowShowsTheMainWindowsLog) {
    const QListWidget* lines = windows.LogWindow().LogLB();
    ASSERT_TRUE(fw_test::PumpUntil(
        [&] { return !lines->findItems("Framewick Start [", Qt::MatchContains).isEmpty(); }, 3s));
    form->WriteLog("a line from the main window", engine::kLogSystem);
    EXPECT_FALSE(lines->findItems("a line from the main window", Qt::MatchContains).isEmpty());
}

// The tool bar's Help without a help file tells the user so; with one, the manual opens at the tool
// bar's anchor.
TEST_F(MainWindowPartsTest, HelpButtonTellsOfAMissingHelpFile) {
    ASSERT_FALSE(std::filesystem::exists(app::AppPaths()->HelpIndexFile));
    {
        fw_test::ScopedMsgDlgAnswers boxes;
        fw_test::UserClick(*ChildOf<app::TTop_Frame>(*form)->Buttons()[6]);
        ASSERT_TRUE(fw_test::PumpUntil([&] { return !boxes.requests.empty(); }, 5s)) << "no message";
        EXPECT_EQ(boxes.requests[0].Caption + ": " + boxes.requests[0].Text, "Error: Helpfile not found !");
    }
    app::TAppPaths paths = *app::AppPaths();
    const app::TAppPaths before = paths;
    paths.HelpIndexFile = (dir / "Help" / "index.html").string();
    std::filesystem::create_directories(dir / "Help");
    fw_test::WriteFile(paths.HelpIndexFile, "<html></html>");
    app::SetAppPaths(paths);
    fw_test::ScopedMsgDlgAnswers boxes;
    QUrl opened;
    app::ShowUserManual("#1 Introduction", [&](const QUrl& url) { opened = url; });
    app::SetAppPaths(before);
    EXPECT_TRUE(boxes.requests.empty());
    EXPECT_EQ(opened, app::UserManualUrl(paths.HelpIndexFile, "#1 Introduction"));
}

// Each notification lights its LED on the share tab of its own capture service only.
TEST_F(MainWindowPartsTest, HttpNotificationsLightTheShareTabOfTheirShare) {
    struct TCase {
        intptr_t Kind;
        components::TLedLabel* app::TStreamer_Frame::TControls::*Led;
    };
    const TCase cases[] = {{engine::kCnHttpRequest, &app::TStreamer_Frame::TControls::HttpData_Led},
                           {engine::kCnHttpSend, &app::TStreamer_Frame::TControls::HttpSend_Led}};
    app::TCaptureListEntry& second = *form->CaptureList().Items()[1];
    app::TCaptureListEntry& first = *form->CaptureList().Items()[0];
    const auto share = second.Capture->Streamers->Items()[0];
    app::TStreamer_Frame* tab = PanelOf(second)->FindStreamerFrame(share->Index);
    app::TStreamer_Frame* otherTab = PanelOf(first)->StreamerFrames()[0];
    ASSERT_NE(tab, nullptr);
    for (const TCase& c : cases) {
        components::TLedLabel* led = tab->Controls().*c.Led;
        led->SetLedOn(false);
        platform::PostMessage(form->WindowHandle(), engine::kWmCaptureNotify, c.Kind, share->Index);
        EXPECT_TRUE(fw_test::PumpUntil([&] { return led->LedOn(); }, 2s)) << "kind " << c.Kind;
        EXPECT_FALSE((otherTab->Controls().*c.Led)->LedOn()) << "kind " << c.Kind << " lit another service's tab";
    }
}

TEST_F(MainWindowPartsTest, DataNotificationsLightTheStatusBarLeds) {
    struct TCase {
        intptr_t Kind;
        components::TLedLabel* app::TBottom_Frame::TControls::*Led;
    };
    const TCase cases[] = {{engine::kCnImageData, &app::TBottom_Frame::TControls::ImgData_Led},
                           {engine::kCnVideoData, &app::TBottom_Frame::TControls::VidData_Led},
                           {engine::kCnFileData, &app::TBottom_Frame::TControls::FileData_Led}};
    const auto* statusBar = ChildOf<app::TBottom_Frame>(*form);
    ASSERT_NE(statusBar, nullptr);
    for (const TCase& c : cases) {
        platform::PostMessage(form->WindowHandle(), engine::kWmCaptureNotify, c.Kind, 0);
        EXPECT_TRUE(fw_test::PumpUntil([&] { return (statusBar->Controls().*c.Led)->LedOn(); }, 2s)) << "kind " << c.Kind;
    }
}

// "prevent Screensaver (KSA)" ticked and cleared in the settings dialog: the keep-awake timer and the
// status bar's KSA lamp follow each OK.
TEST_F(MainWindowPartsTest, SettingsDialogSwitchesTheKeepAwakeTimerAndItsLamp) {
    const auto* statusBar = ChildOf<app::TBottom_Frame>(*form);
    ASSERT_NE(statusBar, nullptr);
    ASSERT_FALSE(form->KsaTimerOn());
    for (const bool keepAwake : {true, false}) {
        SCOPED_TRACE(keepAwake ? "ticked" : "cleared");
        fw_test::ModalDriver modal;
        modal.On<app::TSettings_Form>([keepAwake](app::TSettings_Form& settings) {
            settings.TabSheet_General->Screensaver_CB->setChecked(keepAwake);
            fw_test::UserClick(*settings.OK_BitBtn);
        });
        fw_test::UserClick(*ChildOf<app::TTop_Frame>(*form)->Buttons()[5]);  // "Configuration"
        EXPECT_TRUE(modal.Done());
        EXPECT_EQ(form->KsaTimerOn(), keepAwake);
        EXPECT_TRUE(fw_test::PumpUntil([&] { return statusBar->Controls().Screesaver_LED->LedOn() == keepAwake; }, 5s));
    }
}

TEST_F(MainWindowPartsTest, PanelsDeleteButtonRemovesItsServiceAndItsPanel) {
    fw_test::ScopedMsgDlgAnswers boxes;  // "Yes"
    app::TCaptureListEntry& first = *form->CaptureList().Items()[0];
    const int32_t idx = first.Idx;
    const int heightBefore = form->height();
    PanelOf(first)->Delete_TBClick();
    ASSERT_TRUE(fw_test::PumpUntil([&] { return form->CaptureList().Count() == 1; }, 5s));
    EXPECT_EQ(form->Captures().FindByIdx(idx), nullptr);
    EXPECT_EQ(ChildrenOf<app::TCapture_Frame>(*form).size(), 1u);
    EXPECT_LT(form->height(), heightBefore);
    const std::string saved = fw_test::ReadFile(dir / "capture.xml");
    EXPECT_EQ(saved.find("First job"), std::string::npos);
    EXPECT_NE(saved.find("Second job"), std::string::npos);
}

// The start asks the tray icon whether to show the main window: it stays hidden only while the icon
// keeps the program off the task bar and holds it in a tray. Offscreen there is no tray, so the window
// shows either way (the docked case runs under a real tray host in the tray-hiding test), and its
// first showing runs.
TEST(MainWindowStartTest, StartShowsTheWindowUnlessATrayHoldsIt) {
    for (const bool offTaskBar : {false, true}) {
        SCOPED_TRACE(offTaskBar ? "off the task bar" : "on the task bar");
        fw_test::TempDir dir;
        fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
        fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
        fw_test::WriteFolderCaptureList(dir / "capture.xml", {{"First job", dir / "drop", "cam"}});
        fw_test::TTestStartupUi start([&](app::TLumora_MainForm&) {
            if (offTaskBar) start.Windows().TrayIcon()->SetShown(true);
        });
        app::TQtStartupUi& ui = start.Ui();
        ui.CreateForms();
        ASSERT_NE(ui.MainForm(), nullptr);
        ASSERT_TRUE(fw_test::PumpUntil([&] { return ui.MainForm()->StartUpDone(); }, 10s)) << "the first showing never ran";
        EXPECT_TRUE(ui.MainForm()->isVisible());
        ui.MainForm()->close();
    }
}

// The settings sequence with every dialog in its real modal loop: Add Capture opens the capture editor,
// that one the share editor. What the editors wrote into the new job is in capture.xml on disk and in
// the list as soon as the editor closes, before the settings dialog does (and even when it is then
// cancelled).
TEST_F(MainWindowPartsTest, SettingsAddCaptureWritesTheJobsShareAndFrameRateAtOnce) {
    const std::string captureXml = app::AppPaths()->CaptureListFile;
    fw_test::ModalDriver modal;
    modal.On<app::TSettings_Form>([](app::TSettings_Form& settings) {
        settings.SelectPage(app::TSettings_Form::kPageCaptureService);
        fw_test::UserClick(*settings.TabSheet2->AddCapture_TB);
    });
    modal.On<app::TCaptureSettings_Form>([](app::TCaptureSettings_Form& editor) {
        // Without libVLC (as in this folder) the video page is hidden; its frame rate is kept all the same.
        editor.Setup_ScreenCapture_Frame1->VideoPage->Frame_SpinEdit->setValue(13);
        fw_test::UserClick(*editor.Setup_ScreenCapture_Frame1->AddPort_BitBtn);
    });
    modal.On<app::TScreenCapture_StreameSet_Form>([](app::TScreenCapture_StreameSet_Form& share) {
        share.Active_CB->setChecked(true);
        share.WebServerPage->LocalDir_Edit->setText("newcam");
        fw_test::UserClick(*share.OK_BitBtn);
    });
    modal.On<app::TCaptureSettings_Form>([](app::TCaptureSettings_Form& editor) { fw_test::UserClick(*editor.OK_BitBtn); });
    std::string savedBeforeClosing;
    QString listedShares;
    modal.On<app::TSettings_Form>(
        [&](app::TSettings_Form& settings) {
            savedBeforeClosing = fw_test::ReadFile(captureXml);
            const QAbstractItemModel* rows = settings.TabSheet2->Capture_VST->model();
            listedShares = rows->index(rows->rowCount() - 1, 2).data().toString();
            fw_test::UserClick(*settings.Cancel_BitBtn);  // the list's Add has saved already
        },
        // Add ends with the save, after a wait in which the dialog is up again already.
        [&](app::TSettings_Form&) { return fw_test::ReadFile(captureXml).find("capture_service_") != std::string::npos; });
    form->OpenSettings();
    EXPECT_TRUE(modal.Done());

    ASSERT_EQ(form->CaptureList().Count(), 3u);
    EXPECT_EQ(listedShares, "1");
    const size_t added = savedBeforeClosing.rfind("<CAPTURE_LIST_ENTRY>");
    ASSERT_NE(added, std::string::npos);
    const std::string entry = savedBeforeClosing.substr(added);
    EXPECT_NE(entry.find("<vidFrameRate>13</vidFrameRate>"), std::string::npos) << entry;
    EXPECT_NE(entry.find("<strLocalDir>newcam</strLocalDir>"), std::string::npos) << entry;
    EXPECT_EQ(fw_test::ReadFile(captureXml), savedBeforeClosing) << "Cancel changed capture.xml";
}

// The panel's Settings on a running capture: the editor works on a copy of the job's settings. While
// it is open the job keeps its own (here the folder it watches, which the browse button changes);
// Cancel drops the choice, OK writes it into the job once. capture.xml, saved after either, and the
// job started again follow the job.
TEST_F(MainWindowPartsTest, PanelSettingsEditACopyThatOnlyOkWritesIntoTheJob) {
    app::TCaptureListEntry& entry = *form->CaptureList().Items()[0];
    const std::shared_ptr<engine::TScreenCapture> job = entry.Capture;
    app::TCapture_Frame* panel = PanelOf(entry);
    ASSERT_TRUE(job->Started());
    const struct {
        const char* what;
        bool ok;
    } cases[] = {{"Cancel", false}, {"OK", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = job->Params.Files.capFilesDir;
        const std::filesystem::path chosen = dir / (std::string("drop-") + c.what);
        std::filesystem::create_directories(chosen);
        const std::string chosenDir = QDir::cleanPath(QString::fromStdString(chosen.string())).toStdString() + "/";
        std::string whileOpen;
        bool stoppedWhileOpen = false;
        fw_test::ModalDriver modal;
        modal.On<app::TCaptureSettings_Form>([&](app::TCaptureSettings_Form& editor) {
            app::TSetup_ScreenCapture_Frame& frame = *editor.Setup_ScreenCapture_Frame1;
            fw_test::UserClick(*frame.CapturePage->SpeedButton1);  // the folder dialog, the next step, runs inside the click
            EXPECT_TRUE(frame.CapturePage->FileDir_Label->text().contains(QString::fromStdString(chosen.filename().string())));
            whileOpen = job->Params.Files.capFilesDir;
            stoppedWhileOpen = !job->Started();
            fw_test::UserClick(c.ok ? *editor.OK_BitBtn : *editor.Cancel_BitBtn);
        });
        modal.On<QFileDialog>([&](QFileDialog& dialog) {
            dialog.setDirectory(QString::fromStdString(chosen.string()));
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->clear();
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        fw_test::UserClick(*panel->Controls().Settings_TB);
        EXPECT_TRUE(modal.Done());
        EXPECT_TRUE(stoppedWhileOpen) << "the job ran under its open editor";
        EXPECT_EQ(whileOpen, before) << "the open editor changed the job";
        const std::string expected = c.ok ? chosenDir : before;
        EXPECT_EQ(job->Params.Files.capFilesDir, expected);
        EXPECT_NE(fw_test::ReadFile(dir / "capture.xml").find("<capFilesDir>" + expected + "</capFilesDir>"), std::string::npos);
        EXPECT_TRUE(fw_test::PumpUntil([&] { return job->Started(); }, 5s)) << "the job did not run again";
    }
}

// The area button of a new screen-area capture with an empty field opens no picker; the program's
// catch-all error handler writes its "General error" line into the log window, and the editor goes on.
TEST_F(MainWindowPartsTest, AreaButtonWithAnEmptyFieldLogsAGeneralError) {
    const QListWidget* lines = windows.LogWindow().LogLB();
    const struct {
        const char* field;
        QLineEdit* app::TCaptureSourcePage::*edit;
    } cases[] = {{"Left", &app::TCaptureSourcePage::Left_Edit},
                 {"Height", &app::TCaptureSourcePage::Height_Edit}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        bool pickerShown = false, editorStays = false;
        fw_test::ModalDriver modal;
        modal.On<app::TCaptureSettings_Form>([&](app::TCaptureSettings_Form& editor) {
            app::TSetup_ScreenCapture_Frame& frame = *editor.Setup_ScreenCapture_Frame1;
            // The user's choice of "Screen Area" as the source.
            ASSERT_TRUE(app::SelectChoice(*frame.CapturePage->CaptureSrc_ComboBox, engine::kCapKindArea));
            emit frame.CapturePage->CaptureSrc_ComboBox->activated(frame.CapturePage->CaptureSrc_ComboBox->currentIndex());
            (frame.CapturePage->*c.edit)->clear();
            fw_test::UserClick(*frame.CapturePage->WndArea_TB);
            pickerShown = QApplication::activeModalWidget() != &editor;
            editorStays = editor.isVisible();
            fw_test::UserClick(*editor.Cancel_BitBtn);
        });
        fw_test::UserClick(*ChildOf<app::TTop_Frame>(*form)->Buttons()[2]);  // "Add"
        EXPECT_TRUE(modal.Done());
        EXPECT_FALSE(pickerShown);
        EXPECT_TRUE(editorStays);
        const QString expected = QString("General error : '' is not a valid integer value (screen area field %1)").arg(c.field);
        const QList<QListWidgetItem*> logged = lines->findItems(expected, Qt::MatchContains);
        ASSERT_EQ(logged.size(), 1) << "no \"" << expected.toStdString() << "\" line";
        EXPECT_EQ(logged[0]->data(app::kLogValueRole).toInt(), engine::kLogError);
    }
    EXPECT_EQ(form->CaptureList().Count(), 2u) << "the cancelled editor left a capture behind";
}

// A framewick.ini that cannot be written after the settings dialog's OK is reported; the list files
// are written all the same and what ran before runs again.
TEST_F(MainWindowPartsTest, UnwritableIniStillSavesTheListsAndRestartsWhatRan) {
    const std::shared_ptr<const app::TAppPaths> paths = app::AppPaths();
    std::filesystem::remove(paths->IniFileName);
    std::filesystem::create_directories(std::filesystem::path(paths->IniFileName) / "in-the-way");
    for (const std::string& file : {paths->CaptureListFile, paths->HttpServerListFile, paths->WebSocketListFile})
        std::filesystem::remove(file);
    fw_test::ModalDriver modal;
    modal.On<app::TSettings_Form>([](app::TSettings_Form& settings) { fw_test::UserClick(*settings.OK_BitBtn); });
    form->OpenSettings();
    EXPECT_TRUE(modal.Done());

    for (const std::string& file : {paths->CaptureListFile, paths->HttpServerListFile, paths->WebSocketListFile})
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file << " was not saved";
    EXPECT_NE(fw_test::ReadFile(paths->CaptureListFile).find("Second job"), std::string::npos);
    for (const auto& entry : form->CaptureList().Items())
        EXPECT_TRUE(PanelOf(*entry)->Controls().On_Led->LedOn()) << entry->Name;
    EXPECT_TRUE(form->HttpServerList().Items()[0]->Server->Listening());
    EXPECT_FALSE(windows.LogWindow().LogLB()->findItems("General error : framewick.ini cannot be written",
                                                       Qt::MatchContains).isEmpty());
}

// After the settings dialog's OK, a read-only framewick.ini and a disk that fills during the saves are
// reported in the log window; whatever cannot be written keeps its old bytes, the rest is saved, and
// what ran before runs again.
TEST_F(MainWindowPartsTest, AReadOnlyIniOrAFullDiskIsReportedAndWhatRanRunsAgain) {
    constexpr rlim_t kFileSizeLimitBytes = 16;  // smaller than any of the files written
    const std::shared_ptr<const app::TAppPaths> paths = app::AppPaths();
    const std::vector<std::string> lists = {paths->CaptureListFile, paths->HttpServerListFile,
                                            paths->WebSocketListFile};
    const std::string oldIni = "[General]\nLogDir=" + (dir / "Log").string() + "/\n";
    const struct {
        const char* what;
        bool iniReadOnly;
        bool diskFull;
    } cases[] = {{"read-only framewick.ini", true, false}, {"full disk", false, true}};
    for (const auto& c : cases) {
        fw_test::WriteFile(paths->IniFileName, oldIni);
        std::map<std::string, std::string> oldLists;
        for (const std::string& file : lists) {
            if (c.diskFull) oldLists[file] = fw_test::ReadFile(file);
            else std::filesystem::remove(file);
        }
        ::chmod(paths->IniFileName.c_str(), c.iniReadOnly ? 0444 : 0644);
        windows.LogWindow().LogLB()->clear();

        fw_test::ModalDriver modal;
        modal.On<app::TSettings_Form>([](app::TSettings_Form& settings) { fw_test::UserClick(*settings.OK_BitBtn); });
        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        if (c.diskFull) {
            std::signal(SIGXFSZ, SIG_IGN);  // writes past the limit fail as on a full disk
            struct rlimit limited = saved;
            limited.rlim_cur = kFileSizeLimitBytes;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        }
        form->OpenSettings();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_TRUE(modal.Done()) << c.what;

        EXPECT_EQ(fw_test::ReadFile(paths->IniFileName), oldIni) << c.what;
        const auto logged = [&](const char* part) {
            return !windows.LogWindow().LogLB()->findItems(part, Qt::MatchContains).isEmpty();
        };
        EXPECT_TRUE(logged("General error : framewick.ini cannot be written")) << c.what;
        if (c.iniReadOnly) {
            EXPECT_TRUE(logged("the file is read-only")) << c.what;
            for (const std::string& file : lists)
                EXPECT_TRUE(std::filesystem::is_regular_file(file)) << c.what << ": " << file;
        } else {
            for (const std::string& file : lists)
                EXPECT_EQ(fw_test::ReadFile(file), oldLists[file]) << c.what << ": " << file;
            const auto allListsLogged = [&] {
                return logged("[capture.xml] not written") && logged("[httpserv.xml] not written") &&
                       logged("[wsocket.xml] not written");
            };
            EXPECT_TRUE(fw_test::PumpUntil(allListsLogged, 5s)) << c.what << ": the lists' failures were not shown";
        }
        for (const auto& entry : form->CaptureList().Items())
            EXPECT_TRUE(PanelOf(*entry)->Controls().On_Led->LedOn()) << c.what << ": " << entry->Name;
        EXPECT_TRUE(form->HttpServerList().Items()[0]->Server->Listening()) << c.what;
    }
    ::chmod(paths->IniFileName.c_str(), 0644);
}

// The session ends (a signal) while the settings dialog is open: the dialog goes as cancelled, every
// loop ends, and the main window's closing runs on the emptied stack, saving the lists and the ini.
TEST(SessionEndInProcessTest, EndWhileTheSettingsDialogIsOpenClosesAndSavesEverything) {
    fw_test::TempDir dir;
    fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
    fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
    fw_test::WriteFolderCaptureList(dir / "capture.xml", "Folder job", dir / "drop", "cam");
    app::TMainWindowParts windows;
    std::vector<int> exitCodes;
    app::TQtStartupUi ui(*static_cast<QApplication*>(QApplication::instance()), [&] {
        app::TLumora_MainForm::TOptions options;
        options.Parts = windows.Parts();
        options.Dialogs = std::make_shared<fw_test::TFakeMainFormDialogs>();
        options.EndProcess = [&exitCodes](int code) { exitCodes.push_back(code); };
        auto form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        windows.Attach(*form);
        return form;
    });
    ui.CreateForms();
    ASSERT_NE(ui.MainForm(), nullptr);
    ASSERT_TRUE(fw_test::PumpUntil([&] { return ui.MainForm()->StartUpDone(); }, 10s));

    bool cancelled = false;
    fw_test::ModalDriver modal;
    modal.On<app::TSettings_Form>([&ui](app::TSettings_Form&) { ui.EndSession(); });
    QTimer::singleShot(0, [&] {
        ui.MainForm()->OpenSettings();
        cancelled = !windows.SettingsDialog().isVisible() && windows.SettingsDialog().result() == QDialog::Rejected;
    });
    EXPECT_EQ(ui.RunMessageLoop(), 0);
    EXPECT_TRUE(modal.Done());
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(ui.MainForm(), nullptr);
    EXPECT_TRUE(exitCodes.empty());
    const std::string saved = fw_test::ReadFile(dir / "capture.xml");
    EXPECT_EQ(saved.rfind("<?xml", 0), 0u) << "capture.xml was not saved by the closing";
    EXPECT_NE(saved.find("Folder job"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "framewick.ini"));
}

// After the session's end a caller may go on to its next question (the libVLC check asks up to two):
// that dialog must not wait for an answer nobody gives. The ended message loop ends every loop that
// starts after it, until the closing has run.
TEST(SessionEndInProcessTest, ADialogOpenedAfterTheEndIsCancelledAtOnce) {
    app::TQtStartupUi ui(*static_cast<QApplication*>(QApplication::instance()), [] {
        return std::unique_ptr<app::TLumora_MainForm>();
    });
    ui.EndSession();
    QDialog dialog;
    constexpr auto kAnsweredAfter = 3s;  // what stands in for a person, should the dialog stay open
    QTimer::singleShot(kAnsweredAfter, &dialog, [&dialog] { dialog.accept(); });
    const auto opened = std::chrono::steady_clock::now();
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_LT(std::chrono::steady_clock::now() - opened, kAnsweredAfter);
    engine::AppClosing = false;  // for the tests that follow in this process
}

}  // namespace
