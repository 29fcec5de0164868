// The checks over the shares through the main window's real editors, every dialog in its real modal
// loop: a share added in the capture-service editor counts at once, before capture.xml is saved and
// also after the editor was cancelled (the share stays), for the sub-folder check of the share
// editor, the settings dialog's Delete Web-Server and its share count.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QTableView>

#include "app/windows/settings_dialog/CaptureServicePage.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/settings_dialog/WebServerPage.h"
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

}  // namespace
