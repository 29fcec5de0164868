// The checks over the shares through the main window's real editors, every dialog in its real modal
// loop: a share added in the capture-service editor counts at once, before capture.xml is saved and
// also after the editor was cancelled (the share stays), for the sub-folder check of the share
// editor, the settings dialog's Delete Web-Server and its share count; the capture panel's share tabs
// renamed by the capture-service editor's Edit Share and Delete Share.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QTableView>

#include "app/windows/capture_panel/CaptureFrameControls.h"
#include "app/windows/capture_panel/StreamerPageControl.h"
#include "app/windows/settings_dialog/CaptureServicePage.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/settings_dialog/WebServerPage.h"
#include "components/CanvasPanelEx.h"
#include "engine/settings/program_state.h"
#include "tests/app/parts/main_window_fixture.h"
#include "tests/app/parts/share_editor_steps.h"

namespace {

constexpr const char* kFolderInUse = "Web-Server Directory already in use!";

// Two web servers on their own roots; both capture services share a folder on the first.
class MainWindowSharesFixture : public fw_test::MainWindowFixture {
protected:
    void WriteLists() override {
        WriteTwoHttpServers();
        fw_test::WriteFolderCaptureList(dir / "capture.xml", {{"First job", dir / "drop", "cam", firstPort},
                                                              {"Second job", dir / "drop", "cam2", firstPort}});
    }

    static void Focus(QTableView& view, int row) { view.setCurrentIndex(view.model()->index(row, 0)); }

    // One opening of a capture service's editor from the settings dialog: its shares added, then
    // Cancel (the shares stay with the job, capture.xml is not written).
    struct TEditSession {
        int CaptureRow = 0;
        std::vector<fw_test::TShareAdd> Adds;
    };

    // Settings dialog steps for the sessions; refused adds wait for their message box in boxes.
    void QueueSessions(fw_test::ModalDriver& modal, const fw_test::ScopedMsgDlgAnswers& boxes,
                       const std::vector<TEditSession>& sessions) {
        size_t refusals = 0;
        for (const TEditSession& session : sessions) {
            modal.On<app::TSettings_Form>([row = session.CaptureRow](app::TSettings_Form& settings) {
                settings.SelectPage(app::TSettings_Form::kPageCaptureService);
                Focus(*settings.TabSheet2->Capture_VST, row);
                fw_test::UserClick(*settings.TabSheet2->EditCapture_TB);
            });
            for (const fw_test::TShareAdd& add : session.Adds) {
                if (add.Refused) ++refusals;
                fw_test::QueueShareAdd(modal, add, [&boxes, refusals] { return boxes.requests.size() >= refusals; });
            }
            fw_test::QueueEditorClose(modal, false);
        }
    }

    // The "Streamer" column of the settings dialog's capture list.
    static std::vector<std::string> ShareCounts(app::TSettings_Form& settings) {
        const QAbstractItemModel* rows = settings.TabSheet2->Capture_VST->model();
        std::vector<std::string> counts;
        for (int row = 0; row < rows->rowCount(); ++row)
            counts.push_back(rows->index(row, 2).data().toString().toStdString());
        return counts;
    }

    // What the message boxes said, in order.
    static std::vector<std::string> Said(const fw_test::ScopedMsgDlgAnswers& boxes) {
        std::vector<std::string> texts;
        for (const QString& text : boxes.Texts()) texts.push_back(text.toStdString());
        return texts;
    }

};

struct TFolderCase {
    const char* Name;
    std::vector<std::vector<fw_test::TShareAdd>> AddsPerService;  // one editing session per service row
    std::vector<std::string> SharesListed;                            // afterwards, in the settings dialog
};

class SubFolderInUseTest : public MainWindowSharesFixture, public ::testing::WithParamInterface<TFolderCase> {};

// The same sub-folder on the same web server is refused whether the other share was saved or not, in
// the same capture service or another; the refused share is gone and the others are counted.
TEST_P(SubFolderInUseTest, ShareEditorRefusesAFolderAnyOtherShareUses) {
    const TFolderCase& c = GetParam();
    fw_test::ScopedMsgDlgAnswers boxes;
    fw_test::ModalDriver modal(std::chrono::seconds(20));
    std::vector<TEditSession> sessions;
    for (size_t row = 0; row < c.AddsPerService.size(); ++row)
        if (!c.AddsPerService[row].empty()) sessions.push_back({static_cast<int>(row), c.AddsPerService[row]});
    QueueSessions(modal, boxes, sessions);
    std::vector<std::string> listed;
    modal.On<app::TSettings_Form>([&](app::TSettings_Form& settings) {
        listed = ShareCounts(settings);
        fw_test::UserClick(*settings.Cancel_BitBtn);
    });
    form->OpenSettings();
    EXPECT_TRUE(modal.Done());

    EXPECT_EQ(Said(boxes), std::vector<std::string>{kFolderInUse});
    EXPECT_EQ(listed, c.SharesListed);
    const std::string saved = fw_test::ReadFile(dir / "capture.xml");
    EXPECT_EQ(saved.find("<strLocalDir>dup</strLocalDir>"), std::string::npos) << "a cancelled editor saved";
}

INSTANTIATE_TEST_SUITE_P(
    Shares, SubFolderInUseTest,
    ::testing::Values(TFolderCase{"SameServiceOneSession", {{{"dup", 0, false}, {"dup", 0, true}}}, {"2", "1"}},
                      TFolderCase{"OtherServiceUnsaved", {{{"dup", 0, false}}, {{"dup", 0, true}}}, {"2", "1"}},
                      TFolderCase{"OtherServiceSaved", {{}, {{"cam", 0, true}}}, {"1", "1"}},
                      TFolderCase{"UnsavedShareOnAnotherServersRoot",
                                  {{{"dup", 1, false}}, {{"dup", 1, true}, {"dup", 0, false}}},
                                  {"2", "2"}}),
    [](const ::testing::TestParamInfo<TFolderCase>& info) { return std::string(info.param.Name); });

struct TDeleteCase {
    const char* Name;
    bool UnsavedShareOnSecondServer;
    std::string Message;
    size_t ServersLeft;  // the answer to a confirmation is "Yes"
};

class DeleteWebServerTest : public MainWindowSharesFixture, public ::testing::WithParamInterface<TDeleteCase> {};

// A web server that an unsaved share uses cannot be deleted; one that no share uses can.
TEST_P(DeleteWebServerTest, DeleteWebServerSeesUnsavedShares) {
    const TDeleteCase& c = GetParam();
    fw_test::ScopedMsgDlgAnswers boxes;
    fw_test::ModalDriver modal(std::chrono::seconds(20));
    if (c.UnsavedShareOnSecondServer) QueueSessions(modal, boxes, {{0, {{"onsecond", 1, false}}}});
    modal.On<app::TSettings_Form>([](app::TSettings_Form& settings) {
        settings.SelectPage(app::TSettings_Form::kPageWebServer);
        Focus(*settings.TabSheet1->Http_VST, 1);
        fw_test::UserClick(*settings.TabSheet1->DelHttp_BitBtn);
    });
    modal.On<app::TSettings_Form>([](app::TSettings_Form& settings) { fw_test::UserClick(*settings.Cancel_BitBtn); },
                                  [&](app::TSettings_Form&) { return !boxes.requests.empty(); });
    form->OpenSettings();
    EXPECT_TRUE(modal.Done());

    EXPECT_EQ(Said(boxes), std::vector<std::string>{c.Message});
    ASSERT_EQ(form->HttpServerList().Count(), c.ServersLeft);
    if (c.UnsavedShareOnSecondServer) {
        const auto& shares = form->CaptureList().Items()[0]->Capture->Streamers->Items();
        ASSERT_EQ(shares.size(), 2u);
        EXPECT_EQ(shares[1]->HttpServer.get(), form->HttpServerList().Items()[1].get())
            << "the share lost its web server";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shares, DeleteWebServerTest,
    ::testing::Values(
        TDeleteCase{"UsedByAnUnsavedShare", true, "the selected HTTP-Server is still assigned and cannot be deleted", 2},
        TDeleteCase{"UsedByNoShare", false, "The selected HTTP-Server will be deleted! Are you sure?", 1}),
    [](const ::testing::TestParamInfo<TDeleteCase>& info) { return std::string(info.param.Name); });

// One capture service with three shares: HTTP in "a", UDP to 127.0.0.1:5000, HTTP in "c".
class ShareTabCaptionsFixture : public fw_test::MainWindowFixture {
protected:
    void WriteLists() override {
        const int port = fw_test::FreeTcpPort();
        fw_test::WriteHttpServerList(dir / "httpserv.xml", port, dir / "www");
        const auto http = [port](const char* subDir) {
            return std::string("<streamer_list_entry><strProtocol>0</strProtocol><bActive>True</bActive>"
                               "<strHttpIp>2130706433</strHttpIp><strHttpPort>") + std::to_string(port) +
                   "</strHttpPort><strLocalDir>" + subDir + "</strLocalDir><strVideo>False</strVideo>"
                   "<strImg>False</strImg><strFile>True</strFile></streamer_list_entry>";
        };
        const std::string udp = "<streamer_list_entry><strProtocol>1</strProtocol><bActive>True</bActive>"
                                "<strIP>2130706433</strIP><strPort>5000</strPort></streamer_list_entry>";
        fw_test::WriteFile(dir / "capture.xml",
                           "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Three shares</name><minimized>False</minimized>"
                           "<autostart>True</autostart><SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder><capKind>5</capKind>"
                           "<capFilesDir>" + (dir / "drop").string() + "/</capFilesDir><streamer_list>" + http("a") + udp +
                               http("c") + "</streamer_list></SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct>"
                               "<webSocketIdx>-1</webSocketIdx></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    }

    std::vector<std::string> TabCaptions() {
        const QTabWidget& tabs = *PanelOf(*form->CaptureList().Items()[0])->Controls().Streamer_PageControl;
        std::vector<std::string> captions;
        for (int i = 0; i < tabs.count(); ++i) captions.push_back(tabs.tabText(i).toStdString());
        return captions;
    }
};

struct TTabCase {
    const char* Name;
    int Row;  // of the editor's share list
    enum { Edit, EditCancelled, Delete } Action;
    std::vector<std::string> Captions;  // of the panel's share tabs afterwards
};

class ShareTabCaptionsTest : public ShareTabCaptionsFixture, public ::testing::WithParamInterface<TTabCase> {};

// An edited share's tab loses the last four characters of its caption and gets " HLS" or " UDP"; a
// deleted share's tab goes and the tabs after it are numbered by their place again.
TEST_P(ShareTabCaptionsTest, CaptureEditorRenamesThePanelsShareTabs) {
    const TTabCase& c = GetParam();
    ASSERT_EQ(TabCaptions(), (std::vector<std::string>{"[0] HTTP", "[1] UDP", "[2] HTTP"}));
    engine::VlcMissing = false;  // the share editor offers UDP only with libVLC
    fw_test::ScopedMsgDlgAnswers boxes;  // Delete Share's question: "Yes"
    std::vector<std::string> whileOpen;
    fw_test::ModalDriver modal(std::chrono::seconds(20));
    modal.On<app::TCaptureSettings_Form>([&c](app::TCaptureSettings_Form& editor) {
        app::TSetup_ScreenCapture_Frame& frame = *editor.Setup_ScreenCapture_Frame1;
        frame.Streamer_VST->setCurrentItem(frame.Streamer_VST->topLevelItem(c.Row));
        fw_test::UserClick(c.Action == TTabCase::Delete ? *frame.DelPort_BitBtn : *frame.EditPort_BitBtn);
    });
    if (c.Action != TTabCase::Delete)
        modal.On<app::TScreenCapture_StreameSet_Form>([&c](app::TScreenCapture_StreameSet_Form& share) {
            fw_test::UserClick(c.Action == TTabCase::Edit ? *share.OK_BitBtn : *share.Cancel_BitBtn);
        });
    modal.On<app::TCaptureSettings_Form>([&](app::TCaptureSettings_Form& editor) {
        whileOpen = TabCaptions();
        fw_test::UserClick(*editor.OK_BitBtn);
    });
    fw_test::UserClick(*PanelOf(*form->CaptureList().Items()[0])->Controls().Settings_TB);
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(whileOpen, c.Captions) << "while the editor is open";
    EXPECT_EQ(TabCaptions(), c.Captions) << "after its OK";
}

INSTANTIATE_TEST_SUITE_P(
    Shares, ShareTabCaptionsTest,
    ::testing::Values(TTabCase{"EditHttpShare", 0, TTabCase::Edit, {"[0]  HLS", "[1] UDP", "[2] HTTP"}},
                      TTabCase{"EditUdpShare", 1, TTabCase::Edit, {"[0] HTTP", "[1] UDP", "[2] HTTP"}},
                      TTabCase{"EditCancelled", 0, TTabCase::EditCancelled, {"[0] HTTP", "[1] UDP", "[2] HTTP"}},
                      TTabCase{"DeleteFirstOfThree", 0, TTabCase::Delete, {"[0] UDP", "[1] HTTP"}},
                      TTabCase{"DeleteMiddleOfThree", 1, TTabCase::Delete, {"[0] HTTP", "[1] HTTP"}}),
    [](const ::testing::TestParamInfo<TTabCase>& info) { return std::string(info.param.Name); });

}  // namespace
