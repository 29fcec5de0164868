// The settings dialog against the settings globals, the three live lists and the capture list file:
// load and store round trips, the page tree, the archive limit, the free space, the lists' Add, Edit
// and Delete with their refusals and the column widths.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>
#include <filesystem>
#include <functional>

#include "app/lists/capture_list_file.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/default_settings.h"
#include "app/settings/registry_store.h"
#include "app/windows/base/DigitRules.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "app/windows/server_dialogs/HttpSetupForm.h"
#include "app/windows/server_dialogs/SetupWebSocketForm.h"
#include "app/windows/settings_dialog/CaptureServicePage.h"
#include "app/windows/settings_dialog/GeneralSettingsPage.h"
#include "app/windows/settings_dialog/ImageConversionPage.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/settings_dialog/SettingsFormHost.h"
#include "app/windows/settings_dialog/WebServerPage.h"
#include "engine/settings/counters.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/free_space.h"
#include "tests/app/windows/base/fake_file_chooser.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using fw_test::ModalDriver;
using fw_test::ScopedMsgDlgAnswers;

class TNoShareHost final : public engine::IHttpServerHost {
public:
    engine::TShareId FindShareIdForPath(const std::string&) override { return 0; }
    platform::IMessagePoster& Notifier() override { return nowhere_; }

private:
    platform::TNoPoster nowhere_;
};

class TFakeSettingsHost final : public app::ISettingsFormHost {
public:
    explicit TFakeSettingsHost(std::string htmlDir) : htmlDir_(std::move(htmlDir)) {}

    std::shared_ptr<engine::TScreenCapture> CreateCapture(int32_t idx) override {
        engine::TScreenCaptureServices services;
        services.ShareDefaults.CaptureIdx = idx;
        services.ShareDefaults.HtmlDir = htmlDir_;
        services.ShareDefaults.NextIndex = &engine::NextStreamerIndex;
        return engine::TScreenCapture::Create(idx, std::move(services));
    }
    std::unique_ptr<app::TCaptureListEntry> InitCaptureEntry() override { return app::NewCaptureEntry(*this); }
    void CaptureEntryAdded(app::TCaptureListEntry& entry) override { prepared.push_back(entry.Idx); }
    std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) override {
        return std::make_unique<engine::TCaptureHttpServer>(idx, std::string(), std::make_shared<TNoShareHost>());
    }
    std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() override {
        return std::make_unique<engine::TWebSocketFilterGraph>();
    }
    app::TCaptureList& CaptureList() override { return captures; }
    app::THttpServerList& HttpServerList() override { return servers; }
    app::TWebSocketList& WebSocketList() override { return sockets; }
    bool RunCaptureEditor(app::TCaptureListEntry& entry, bool isNew) override {
        editorCalls.push_back(isNew);
        if (!editorAnswer) return false;
        entry.Name = editorName;
        entry.AutoStart = editorAutoStart;
        return true;
    }
    bool SaveCaptureList() override {
        return app::SaveCaptureList(app::ListDocPool(), app::AppPaths()->CaptureListFile, captures);
    }
    size_t ShareCount(const app::TCaptureListEntry& entry) override {
        return entry.Capture ? entry.Capture->Streamers->Count() : 0;
    }
    void FreeCaptureEntry(app::TCaptureListEntry& entry) override {
        freedCaptures.push_back(entry.Idx);
        captures.Remove(&entry);
    }
    void FreeHttpServerEntry(app::THttpServerEntry& entry) override { entry.Server.reset(); ++freedServers; }
    void FreeWebSocketEntry(app::TWebSocketEntry& entry) override { entry.Graph.reset(); ++freedSockets; }
    void StartDownloader() override { calls.push_back("StartDownloader"); }
    void KillOwnProcess() override { calls.push_back("KillOwnProcess"); }
    void CloseMainWindow() override { calls.push_back("CloseMainWindow"); }
    void ShowHelp(const std::string& anchor) override { calls.push_back("ShowHelp " + anchor); }

    app::TCaptureList captures;
    app::THttpServerList servers;
    app::TWebSocketList sockets;
    bool editorAnswer = true;
    std::string editorName = "edited";
    bool editorAutoStart = true;
    std::vector<bool> editorCalls;
    std::vector<int32_t> prepared;
    std::vector<int32_t> freedCaptures;
    int freedServers = 0;
    int freedSockets = 0;
    std::vector<std::string> calls;

private:
    std::string htmlDir_;
};

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::SetAppPaths(app::MakeAppPaths(dir_.path().string(), dir_.path().string(), dir_.path().string()));
        engine::PublishSettings(app::DefaultSettings(*app::AppPaths()));
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.HtmlDir = (dir_ / "html").string() + "/";
            s.Root = (dir_ / "htdocs").string() + "/";
            s.Port = 8088;
        });
        app::SetListDocPool(std::make_unique<engine::TXmlDocPool>(4));
        engine::VlcMissing = false;
        app::InstanceIndex = 0;
        engine::SetCurrentFreeSpaceQuery(freeSpace_);
        form_ = std::make_unique<app::TSettings_Form>(host_, http_, ws_, chooser_);
    }
    void TearDown() override {
        form_.reset();
        engine::SetCurrentFreeSpaceQuery(nullptr);
    }

    // A web server listening nowhere, already in the list.
    std::shared_ptr<app::THttpServerEntry> AddServer(const std::string& ip, int port) {
        auto entry = std::make_shared<app::THttpServerEntry>(host_.CreateHttpServer(engine::NextHttpServerIndex()));
        entry->Server->SetIpAddr(static_cast<uint32_t>(app::DottedTextToIpAddr(ip)));
        entry->Server->SetPort(port);
        entry->Server->Root = (dir_ / "htdocs").string() + "/";
        host_.servers.Append(entry);
        return entry;
    }
    app::TCaptureListEntry& AddCapture(const std::string& name) {
        auto entry = host_.InitCaptureEntry();
        entry->Name = name;
        return host_.captures.Append(std::move(entry));
    }
    // Shown, not run modally: these tests press the dialog's own buttons and read it afterwards. The
    // dialogs it opens run their modal loops; the main window's tests run it modally, through the
    // settings sequence.
    void Open() {
        form_->SelectPage(0);
        form_->show();
    }
    static void Focus(QTableView& view, int row) { view.setCurrentIndex(view.model()->index(row, 0)); }

    fw_test::TempDir dir_;
    std::shared_ptr<engine::TFakeFreeSpace> freeSpace_ = std::make_shared<engine::TFakeFreeSpace>(12345ull << 20);
    TFakeSettingsHost host_{(dir_ / "html").string() + "/"};
    fw_test::TFakeFileChooser chooser_;
    app::THtml_Form html_;
    app::THttpSetup_Form http_{chooser_, html_, nullptr};
    app::TSetupWebSocket_Form ws_{host_.sockets};
    std::unique_ptr<app::TSettings_Form> form_;
};

TEST(SettingsCaption, ShowsTheInstanceFromOne) {
    EXPECT_EQ(app::SettingsCaption(0), "Framewick - Settings");
    EXPECT_EQ(app::SettingsCaption(2), "[2] Framewick - Settings");
}

TEST(FreeSpaceText, WholeMegabytesPaddedAndGrouped) {
    EXPECT_EQ(app::FreeSpaceText(12345ull << 20, '.'), "012.345");
    EXPECT_EQ(app::FreeSpaceText(500ull << 20, ' '), "000 500");
    EXPECT_EQ(app::FreeSpaceText((500ull << 20) + (1 << 19), '.'), "000.500");
    EXPECT_EQ(app::FreeSpaceText(std::nullopt, '.'), "n/a");  // a failed query is no figure
}

TEST_F(SettingsDialogTest, PageTreeShowsTheChosenPage) {
    Open();
    EXPECT_EQ(form_->CurrentPage(), app::TSettings_Form::kPageGeneral);
    EXPECT_EQ(form_->PageCaption(), "General Settings");
    form_->SelectPage(app::TSettings_Form::kPageWebServer);
    EXPECT_EQ(form_->PageCaption(), "Web-Server / -Socket");
    form_->Set_VST->setCurrentItem(form_->Set_VST->topLevelItem(0));  // "Main Settings"
    EXPECT_EQ(form_->CurrentPage(), app::TSettings_Form::kNoPage);
    EXPECT_EQ(form_->PageCaption(), "");
    form_->Help_BitBtn->click();
    EXPECT_EQ(host_.calls.back(), "ShowHelp #4.6.1.1%20General%20Settings");
}

// Each entry of the page tree as the user sees it: in sight (and where) or folded away, open or not,
// focused, selected.
std::vector<std::string> TreeState(QTreeWidget& tree) {
    std::vector<std::string> state;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        const QRect row = tree.visualItemRect(*it);
        state.push_back((*it)->text(0).toStdString() +
                        (row.isEmpty() ? " folded away" : " at " + std::to_string(row.y())) +
                        ((*it)->isExpanded() ? " open" : "") + (tree.currentItem() == *it ? " focused" : "") +
                        ((*it)->isSelected() ? " selected" : ""));
    }
    return state;
}

// Opened as the main window opens it (SelectPage(0), then its modal loop), the tree shows its pages
// with "General" focused, and again so at every later opening, whatever the user left it in: the first
// time as it stood, the second time on another page with "Main Settings" folded.
TEST_F(SettingsDialogTest, PageTreeOpensAsAtTheFirstOpening) {
    std::vector<std::string> opened[3];
    for (int opening = 0; opening < 3; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening + 1));
        form_->SelectPage(0);
        ModalDriver modal;
        modal.On<app::TSettings_Form>([&opened, opening](app::TSettings_Form& f) {
            opened[opening] = TreeState(*f.Set_VST);
            if (opening == 1) {
                QTreeWidgetItem* main = f.Set_VST->topLevelItem(0);
                f.Set_VST->setCurrentItem(main->child(2));
                f.Set_VST->collapseItem(main);
            }
            fw_test::UserKey(f, Qt::Key_Escape);
        });
        EXPECT_EQ(app::RunModal(*form_), app::kModalCancel);
        EXPECT_TRUE(modal.Done());
        EXPECT_EQ(form_->CurrentPage(), opening == 1 ? app::TSettings_Form::kPageWebServer : app::TSettings_Form::kPageGeneral);
    }
    for (const std::string& entry : opened[0]) EXPECT_EQ(entry.find("folded away"), std::string::npos) << entry;
    EXPECT_NE(opened[0][1].find("General at"), std::string::npos);
    EXPECT_NE(opened[0][1].find("focused selected"), std::string::npos);
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(opened[2], opened[0]);
}

TEST_F(SettingsDialogTest, OkStoresEveryControlIntoTheSettings) {
    engine::UpdateSettings([](engine::TSettings& s) { s.ArchiveLimit = engine::kArchivePruneBySize; });
    Open();
    auto& general = *form_->TabSheet_General;
    auto& capture = *form_->TabSheet2;
    auto& image = *form_->TabSheet3;
    EXPECT_TRUE(general.ArchSize_SpinEdit->isEnabled());
    EXPECT_FALSE(general.ArchFile_SpinEdit->isEnabled());
    EXPECT_EQ(general.FreeSpace_Label->text().toStdString(),
              app::FreeSpaceText(12345ull << 20, app::LocaleSettings().ThousandSeparator));
    EXPECT_EQ(general.Vlc_Panel->text(), QString::fromStdString(engine::Settings()->VlcVer));

    general.Error_CB->setChecked(false);
    general.ShowLog_CB->setChecked(true);
    general.Center_CB->setChecked(false);
    general.Screensaver_CB->setChecked(true);
    general.FileLimit_RB->setChecked(true);
    EXPECT_TRUE(general.ArchFile_SpinEdit->isEnabled());
    EXPECT_FALSE(general.ArchSize_SpinEdit->isEnabled());
    general.ArchFile_SpinEdit->setValue(250000);  // clamped to its range
    general.UploadErr_SpinEdit->setValue(7);
    general.FtpDelay_SpinEdit->setValue(30);
    capture.NoOfSeg_SpinEdit->setValue(8);
    capture.SegLen_SpinEdit->setValue(4);
    image.PngComp_SpinEdit->setValue(3);
    image.JpgComp_SpinEdit->setValue(80);
    image.Bmp2Jpg_CB->setChecked(true);
    image.Svg2Png_CB->setChecked(true);
    form_->OK_BitBtnClick();

    EXPECT_EQ(form_->result(), QDialog::Accepted);
    const auto s = engine::Settings();
    EXPECT_FALSE(s->LogError);
    EXPECT_TRUE(s->ShowLog);
    EXPECT_FALSE(s->CenterApp);
    EXPECT_TRUE(s->DeactScreenSaver);
    EXPECT_EQ(s->ArchiveLimit, engine::kArchivePruneByCount);
    EXPECT_EQ(s->ArchiveFile, 100000);
    EXPECT_EQ(s->FtpErrThr, 7);
    EXPECT_EQ(s->FtpDelay, 30);
    EXPECT_EQ(s->NumSeg, 8);
    EXPECT_EQ(s->SegLen, 4);
    EXPECT_EQ(s->PngComp, 3);
    EXPECT_EQ(s->JpgComp, 80);
    EXPECT_TRUE(s->Bmp2Jpg);
    EXPECT_FALSE(s->Bmp2Png);
    EXPECT_TRUE(s->Svg2Png);
}

// The BMP conversion pair loads as the conversion reads it: with both set PNG wins, so OK without a
// change keeps converting to PNG.
TEST_F(SettingsDialogTest, BmpConversionPairLoadsWithPngWinning) {
    const struct {
        bool jpg, png;        // stored
        bool jpgOn, pngOn;    // shown, and stored by OK
    } cases[] = {{true, true, false, true}, {true, false, true, false}, {false, true, false, true}, {false, false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored Bmp2Jpg " << c.jpg << ", Bmp2Png " << c.png);
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.BmpConvAct = true;
            s.Bmp2Jpg = c.jpg;
            s.Bmp2Png = c.png;
        });
        Open();
        EXPECT_EQ(form_->TabSheet3->Bmp2Jpg_CB->isChecked(), c.jpgOn);
        EXPECT_EQ(form_->TabSheet3->Bmp2Png_CB->isChecked(), c.pngOn);
        form_->OK_BitBtn->click();
        EXPECT_EQ(engine::Settings()->Bmp2Jpg, c.jpgOn);
        EXPECT_EQ(engine::Settings()->Bmp2Png, c.pngOn);
    }
}

TEST_F(SettingsDialogTest, CancelKeepsBrowsedFoldersButNotTheControls) {
    Open();
    const auto before = *engine::Settings();
    chooser_.folder = (dir_ / "newlog").string() + "/";
    form_->TabSheet_General->LogPath_SBClick();
    EXPECT_EQ(chooser_.titles.back(), "Select Log-Directory");
    chooser_.file = (dir_ / "batik.jar").string();
    form_->TabSheet3->BatikPath_TBClick();
    form_->TabSheet_General->Info_CB->setChecked(!before.LogInfo);
    form_->Cancel_BitBtn->click();

    EXPECT_EQ(form_->result(), QDialog::Rejected);
    EXPECT_EQ(engine::Settings()->LogDir, (dir_ / "newlog").string() + "/");
    EXPECT_EQ(engine::Settings()->BatikDir, (dir_ / "batik.jar").string());
    EXPECT_EQ(engine::Settings()->LogInfo, before.LogInfo);
}

// Every spin field of the dialog takes typed text the same way: clamped, or the minimum.
TEST_F(SettingsDialogTest, EverySpinFieldClampsWhatIsTypedWhenItIsLeft) {
    Open();
    const QList<QSpinBox*> spins = form_->findChildren<QSpinBox*>();
    ASSERT_GE(spins.size(), 8);
    for (QSpinBox* spin : spins) {
        fw_test::OpenPagesOf(*spin);
        spin->setEnabled(true);  // the archive limits are enabled by their radio buttons
        const std::string name = spin->objectName().toStdString();
        EXPECT_EQ(fw_test::TypeAndLeave(*spin, QStringLiteral("99999999")), spin->maximum()) << name;
        EXPECT_EQ(fw_test::TypeAndLeave(*spin, QStringLiteral("12-3")), spin->minimum()) << name;
    }
}

// Each folder button's picker opens on the folder set, and without a preselection when that folder is
// gone; cancelling keeps what was set.
TEST_F(SettingsDialogTest, FolderPickersOpenOnTheFolderSetOrWithoutOneWhenItIsGone) {
    Open();
    const std::string existing = (dir_ / "kept").string() + "/";
    fs::create_directories(existing);
    const std::string gone = (dir_ / "gone").string() + "/";
    using engine::TSettings;
    const struct {
        const char* what;
        std::string TSettings::*folder;
        std::function<void()> click;
    } buttons[] = {
        {"Log-Directory", &TSettings::LogDir, [&] { form_->TabSheet_General->LogPath_SBClick(); }},
        {"Archive-Directory", &TSettings::ArchiveDir, [&] { form_->TabSheet_General->ArchivePath_TBClick(); }},
        {"Java-Directory", &TSettings::JavaDir, [&] { form_->TabSheet3->JavaPath_TBClick(); }},
    };
    chooser_.folder = std::nullopt;  // cancelled
    for (const auto& button : buttons) {
        for (const std::string& folder : {existing, gone}) {
            engine::UpdateSettings([&](TSettings& s) { s.*button.folder = folder; });
            button.click();
            EXPECT_EQ(chooser_.starts.back(), folder == existing ? existing : "") << button.what << " " << folder;
            EXPECT_EQ((*engine::Settings()).*button.folder, folder) << button.what << ": cancelling keeps it";
        }
    }
}

TEST_F(SettingsDialogTest, VlcMissingShowsNotAvailableAndDownloadEndsTheProgram) {
    engine::VlcMissing = true;
    Open();
    EXPECT_EQ(form_->TabSheet_General->Vlc_Panel->text(), "n/a");
    ScopedMsgDlgAnswers boxes;
    boxes.answers = {app::kMsgDlgButton2};  // "No"
    form_->TabSheet_General->BitBtn1->click();
    EXPECT_TRUE(host_.calls.empty());
    form_->TabSheet_General->BitBtn1->click();  // "Yes"
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"StartDownloader", "KillOwnProcess"}));
    EXPECT_EQ(boxes.requests[0].Text, "The application has to be terminated - are you sure?");
    engine::VlcMissing = false;
}

TEST_F(SettingsDialogTest, AddedAndEditedCapturesReachCaptureXml) {
    AddCapture("first");
    Open();
    auto& page = *form_->TabSheet2;
    host_.editorName = "added";
    page.AddCapture_TBClick();
    ASSERT_EQ(host_.captures.Count(), 2u);
    EXPECT_EQ(host_.prepared, std::vector<int32_t>{host_.captures.Items()[1]->Idx});
    EXPECT_EQ(page.Capture_VST->model()->rowCount(), 2);
    EXPECT_EQ(page.Capture_VST->model()->index(1, 1).data().toString(), "added");
    const std::string xml = fw_test::ReadFile(app::AppPaths()->CaptureListFile);
    EXPECT_NE(xml.find("added"), std::string::npos);

    // A cancelled editor frees the new entry again.
    host_.editorAnswer = false;
    page.AddCapture_TBClick();
    EXPECT_EQ(host_.captures.Count(), 2u);
    EXPECT_EQ(host_.freedCaptures.size(), 1u);

    host_.editorAnswer = true;
    host_.editorName = "renamed";
    Focus(*page.Capture_VST, 0);
    page.EditCapture_TBClick();
    EXPECT_EQ(host_.editorCalls.back(), false);
    EXPECT_EQ(page.Capture_VST->model()->index(0, 1).data().toString(), "renamed");
    EXPECT_NE(fw_test::ReadFile(app::AppPaths()->CaptureListFile).find("renamed"), std::string::npos);
}

TEST_F(SettingsDialogTest, DeletingTheLastCaptureOffersToLeave) {
    AddCapture("only");
    Open();
    auto& page = *form_->TabSheet2;
    Focus(*page.Capture_VST, 0);
    ScopedMsgDlgAnswers boxes;
    boxes.answers = {app::kMsgDlgButton1, app::kMsgDlgButton2};  // "Yes", then "Leave App"
    page.DelCapture_TBClick();
    EXPECT_EQ(host_.captures.Count(), 0u);
    EXPECT_EQ(boxes.Texts(), (std::vector<QString>{"The selected Capture will be deleted! Are you sure?",
                                                   "No Capture defined"}));
    EXPECT_EQ(boxes.requests[1].Button1, "Add Capture");
    EXPECT_EQ(boxes.requests[1].Button2, "Leave App");
    EXPECT_EQ(host_.calls, std::vector<std::string>{"CloseMainWindow"});
    EXPECT_EQ(form_->result(), QDialog::Rejected);
    EXPECT_FALSE(form_->isVisible());
}

TEST_F(SettingsDialogTest, DuplicateWebServerIsRefusedAndEditingItselfIsAccepted) {
    auto existing = AddServer("127.0.0.1", 8088);  // the [Http] defaults Add starts from
    Open();
    auto& page = *form_->TabSheet1;
    ModalDriver modal;
    ScopedMsgDlgAnswers boxes;
    modal.On<app::THttpSetup_Form>([](app::THttpSetup_Form& setup) { setup.OK_BitBtn->click(); });
    page.AddHttpServer();
    EXPECT_EQ(host_.servers.Count(), 1u);
    EXPECT_EQ(host_.freedServers, 1);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].Text, "HTTP Server alreday exists!");

    // Another port is a new web server, with what the dialog holds.
    modal.On<app::THttpSetup_Form>([](app::THttpSetup_Form& setup) {
        EXPECT_EQ(setup.Name_Edit->text(), "Web-Server_1");
        EXPECT_TRUE(setup.Active_CB->isChecked());
        setup.HttpAddr_Port_Frame->SetPort(8090);
        setup.Login_CB->setChecked(true);
        setup.User_Edit->setText("u");
        setup.Pw_Edit->setText("p");
        setup.OK_BitBtn->click();
    });
    page.AddHttpServer();
    ASSERT_EQ(host_.servers.Count(), 2u);
    const auto& added = *host_.servers.Items()[1];
    EXPECT_TRUE(added.AutoStart);
    EXPECT_EQ(added.Server->Port(), 8090);
    EXPECT_TRUE(added.Server->Authentication);
    EXPECT_EQ(added.Server->User, "u");
    EXPECT_EQ(added.Server->Name(), "Web-Server_1");
    EXPECT_EQ(page.Http_VST->model()->rowCount(), 2);

    // Editing the first server with its own address and port: accepted, no duplicate check.
    modal.On<app::THttpSetup_Form>([](app::THttpSetup_Form& setup) {
        EXPECT_TRUE(setup.Test_TB->isEnabled());
        setup.Name_Edit->setText("main");
        setup.OK_BitBtn->click();
    });
    Focus(*page.Http_VST, 0);
    page.EditHttp_BitBtnClick();
    EXPECT_EQ(existing->Server->Name(), "main");
    EXPECT_EQ(existing->Server->Port(), 8088);
    EXPECT_EQ(boxes.requests.size(), 1u);
}

TEST_F(SettingsDialogTest, WebServerInUseCannotBeDeleted) {
    auto server = AddServer("127.0.0.1", 8088);
    auto& capture = AddCapture("cap");
    engine::PCaptureStreamer share = capture.Capture->Streamers->AddStreamer();
    share->HttpServer = server;
    Open();
    auto& page = *form_->TabSheet1;
    Focus(*page.Http_VST, 0);
    ScopedMsgDlgAnswers boxes;
    page.DelHttp_BitBtnClick();
    EXPECT_EQ(host_.servers.Count(), 1u);
    EXPECT_EQ(boxes.Texts(), std::vector<QString>{"the selected HTTP-Server is still assigned and cannot be deleted"});

    share->HttpServer.reset();
    page.DelHttp_BitBtnClick();
    EXPECT_EQ(host_.servers.Count(), 0u);
    EXPECT_EQ(host_.freedServers, 1);
}

TEST_F(SettingsDialogTest, DeletingALinkedWebSocketClearsTheLink) {
    auto socket = app::InitWebSocketEntry(host_.sockets, nullptr);
    host_.sockets.Append(socket);
    auto& capture = AddCapture("cap");
    capture.WebSocket = socket;
    Open();
    auto& page = *form_->TabSheet1;
    Focus(*page.Ws_VST, 0);
    ScopedMsgDlgAnswers boxes;
    boxes.answers = {app::kMsgDlgButton2, app::kMsgDlgButton1};  // "Cancel", then "Yes"
    page.DelSock_TBClick();
    EXPECT_EQ(host_.sockets.Count(), 1u);
    page.DelSock_TBClick();
    EXPECT_EQ(boxes.requests[0].Text, "The selected WebSocket is assigend! Are you sure delete it anyway?");
    EXPECT_EQ(host_.sockets.Count(), 0u);
    EXPECT_EQ(host_.freedSockets, 1);
    EXPECT_TRUE(capture.WebSocket.expired());
}

TEST_F(SettingsDialogTest, AddedWebSocketIsListedOnlyAfterOk) {
    Open();
    auto& page = *form_->TabSheet1;
    ModalDriver modal;
    modal.On<app::TSetupWebSocket_Form>([](app::TSetupWebSocket_Form& setup) {
        QTest::keyClick(&setup, Qt::Key_Escape);
    });
    page.AddSock_TBClick();
    EXPECT_EQ(host_.sockets.Count(), 0u);
    EXPECT_EQ(host_.freedSockets, 1);
    modal.On<app::TSetupWebSocket_Form>([](app::TSetupWebSocket_Form& setup) {
        EXPECT_TRUE(setup.IsNew);
        setup.WsAddr_Port_Frame->SetPort(9100);
        setup.OK_BitBtn->click();
    });
    page.AddSock_TBClick();
    ASSERT_EQ(host_.sockets.Count(), 1u);
    EXPECT_EQ(host_.sockets.Items()[0]->Port, 9100);
    EXPECT_EQ(page.Ws_VST->model()->index(0, 3).data().toString(), "9100");
}

TEST_F(SettingsDialogTest, ColumnWidthsAndOrderOfTheLists) {
    Open();
    QHeaderView& http = *form_->TabSheet1->Http_VST->horizontalHeader();
    // "Act", "Ext", "Auth", "Name", "IP Address", "Port".
    const std::vector<int> expected = {0, 1, 5, 4, 2, 3};
    for (int visual = 0; visual < 6; ++visual) EXPECT_EQ(http.logicalIndex(visual), expected[visual]) << visual;
    EXPECT_EQ(http.sectionSize(0), 35);
    EXPECT_EQ(http.sectionSize(2), 110);
    EXPECT_EQ(form_->TabSheet2->Capture_VST->horizontalHeader()->sectionSize(1), 250);
    EXPECT_EQ(form_->TabSheet1->Ws_VST->horizontalHeader()->sectionSize(1), 150);

    form_->TabSheet2->Capture_VST->horizontalHeader()->resizeSection(1, 123);
    form_->reject();
    EXPECT_EQ(app::RegReadInstInteger("w_1_capture_vst", 0), 123);
    Open();  // a second opening keeps the order and reads the width back
    EXPECT_EQ(form_->TabSheet2->Capture_VST->horizontalHeader()->sectionSize(1), 123);
    for (int visual = 0; visual < 6; ++visual) EXPECT_EQ(http.logicalIndex(visual), expected[visual]) << visual;
}

}  // namespace
