// The web servers' snapshot requests while the user interface changes the share lists, through the
// main window's real windows: client threads ask for a "/capimg_" path of a server as fast as they can
// while the capture-service editor adds and deletes shares, while a share is edited over its server's
// stop and restart, while a capture service is deleted and while a web server is deleted. Every answer
// is the whole file, 404 or 503 (or none while the server is down), never a crash or a half file.
// Run under ThreadSanitizer as well (scripts/test-tsan).
#include <gtest/gtest.h>

#include <QTableView>
#include <atomic>
#include <mutex>
#include <thread>

#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/settings_dialog/WebServerPage.h"
#include "app/windows/toolbar/TopFrame.h"
#include "tests/app/parts/main_window_fixture.h"
#include "tests/app/parts/share_editor_steps.h"

using namespace std::chrono_literals;

namespace {

constexpr int kClientThreads = 8;
constexpr int kEditCycles = 12;
constexpr size_t kSnapshotBytes = 64 * 1024;
constexpr size_t kWholeAnswersToSee = 16;  // before and after each action: the server really answers

// GET of one path by client threads as fast as they can, every answer sorted.
class TSnapshotClients {
public:
    struct TAnswers {
        size_t Whole = 0;
        size_t NotFoundOrUnavailable = 0;
        size_t Unanswered = 0;             // no status line: the server was down or went
        std::vector<std::string> Wrong;    // any other status, or a body that is not the whole file
    };

    TSnapshotClients(int port, std::string path, std::string file) : file_(std::move(file)) {
        for (int i = 0; i < kClientThreads; ++i)
            threads_.emplace_back([this, port, path] {
                while (!stop_) Sort(fw_test::HttpExchange(port, path));
            });
    }
    ~TSnapshotClients() { Stop(); }

    size_t Whole() const { return whole_; }
    // What came so far, for a failure's message.
    std::string Seen() {
        std::lock_guard lock(mutex_);
        return std::to_string(whole_) + " whole, " + std::to_string(answers_.NotFoundOrUnavailable) + " 404/503, " +
               std::to_string(answers_.Unanswered) + " unanswered, " + std::to_string(answers_.Wrong.size()) +
               " wrong" + (answers_.Wrong.empty() ? "" : " (" + answers_.Wrong.front() + ")");
    }

    TAnswers Stop() {
        stop_ = true;
        for (std::thread& t : threads_)
            if (t.joinable()) t.join();
        std::lock_guard lock(mutex_);
        answers_.Whole = whole_;
        return answers_;
    }

private:
    void Sort(const std::string& reply) {
        if (reply.rfind("HTTP/1.", 0) != 0 || reply.size() < 12) {
            std::lock_guard lock(mutex_);
            ++answers_.Unanswered;
            return;
        }
        const std::string status = reply.substr(9, 3);
        const size_t start = reply.find("\r\n\r\n");
        const std::string body = start == std::string::npos ? std::string() : reply.substr(start + 4);
        if (status == "200" && body == file_) {
            ++whole_;
            return;
        }
        std::lock_guard lock(mutex_);
        if (status == "404" || status == "503") ++answers_.NotFoundOrUnavailable;
        else answers_.Wrong.push_back(status + " with " + std::to_string(body.size()) + " bytes");
    }

    const std::string file_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> whole_{0};
    std::mutex mutex_;
    TAnswers answers_;
    std::vector<std::thread> threads_;
};

std::string Wrongs(const TSnapshotClients::TAnswers& answers) {
    std::string text;
    for (size_t i = 0; i < answers.Wrong.size() && i < 5; ++i) text += answers.Wrong[i] + "; ";
    return text;
}

// One capture service sharing "cam" on the first web server; the second serves another root and no
// share. Each root holds a snapshot file.
class ShareRequestsTest : public fw_test::MainWindowFixture {
protected:
    void WriteLists() override {
        WriteTwoHttpServers();
        fw_test::WriteFolderCaptureList(dir / "capture.xml", {{"First job", dir / "drop", "cam", firstPort}});
        for (size_t i = 0; i < kSnapshotBytes; ++i) snapshot.push_back(static_cast<char>('a' + i % 23));
        for (const std::filesystem::path& folder : {dir / "www" / "cam", dir / "www2" / "b"}) {
            std::filesystem::create_directories(folder);
            fw_test::WriteFile(folder / "capimg_test.png", snapshot);
        }
    }

    app::TCaptureListEntry& First() { return *form->CaptureList().Items()[0]; }

    // Pumps the event loop until the clients have had count more whole answers.
    bool SeeWholeAnswers(TSnapshotClients& clients, size_t count) {
        const size_t until = clients.Whole() + count;
        return fw_test::PumpUntil([&] { return clients.Whole() >= until; }, 20s);
    }

    std::string snapshot;
};

// The tool bar's Add keeps the web servers running while the new service's editor adds and
// deletes shares, and its Cancel frees the new service with its shares.
TEST_F(ShareRequestsTest, EditorAddsAndDeletesSharesWhileClientsAskForSnapshots) {
    TSnapshotClients clients(firstPort, "/cam/capimg_test.png", snapshot);
    ASSERT_TRUE(SeeWholeAnswers(clients, kWholeAnswersToSee)) << "the web server does not answer: " << clients.Seen();
    fw_test::ScopedMsgDlgAnswers boxes;  // "Yes" to every Delete Share
    fw_test::ModalDriver modal(120s);
    for (int i = 0; i < kEditCycles; ++i) {
        fw_test::QueueShareAdd(modal, {"edited" + std::to_string(i), 0, false}, {},
                               [](app::TCaptureSettings_Form& editor) { return fw_test::ShareRows(editor) == 0; });
        fw_test::QueueLastShareDelete(modal);
    }
    fw_test::QueueEditorClose(modal, false);
    auto* toolBar = fw_test::ChildOf<app::TTop_Frame>(*form);
    ASSERT_NE(toolBar, nullptr);
    toolBar->Add_TBClick();
    EXPECT_TRUE(modal.Done());
    ASSERT_TRUE(SeeWholeAnswers(clients, kWholeAnswersToSee));
    const TSnapshotClients::TAnswers answers = clients.Stop();

    EXPECT_TRUE(answers.Wrong.empty()) << answers.Wrong.size() << " wrong answers: " << Wrongs(answers);
    EXPECT_EQ(answers.Unanswered, 0u) << "the web server stopped answering";
    EXPECT_EQ(boxes.requests.size(), static_cast<size_t>(kEditCycles));
    EXPECT_EQ(form->CaptureList().Count(), 1u);
    EXPECT_EQ(First().Capture->Streamers->Count(), 1u);
}

enum class TUserAction { EditShareOverServerRestart, DeleteCaptureService, DeleteWebServer };

struct TInFlightCase {
    const char* Name;
    TUserAction Action;
    bool SecondServer;       // the clients ask the second web server
    bool ServerStaysUp;      // every request is answered
};

class RequestsInFlightTest : public ShareRequestsTest, public ::testing::WithParamInterface<TInFlightCase> {
protected:
    void Run(TUserAction action) {
        fw_test::ScopedMsgDlgAnswers boxes;  // "Yes"
        fw_test::ModalDriver modal(60s);
        switch (action) {
            case TUserAction::EditShareOverServerRestart:
                // The panel's Settings button stops the web servers, edits, saves and starts them again.
                modal.On<app::TCaptureSettings_Form>([](app::TCaptureSettings_Form& editor) {
                    QTreeWidget& rows = *editor.Setup_ScreenCapture_Frame1->Streamer_VST;
                    rows.setCurrentItem(rows.topLevelItem(0));
                    fw_test::UserClick(*editor.Setup_ScreenCapture_Frame1->EditPort_BitBtn);
                });
                modal.On<app::TScreenCapture_StreameSet_Form>([](app::TScreenCapture_StreameSet_Form& share) {
                    share.WebServerPage->LocalDir_Edit->setText("cam_moved");
                    fw_test::UserClick(*share.OK_BitBtn);
                });
                fw_test::QueueEditorClose(modal, true);
                PanelOf(First())->Settings_TBClick();
                EXPECT_EQ(First().Capture->Streamers->Items()[0]->SubDir, "cam_moved");
                break;
            case TUserAction::DeleteCaptureService:
                PanelOf(First())->Delete_TBClick();
                EXPECT_TRUE(fw_test::PumpUntil([&] { return form->CaptureList().Count() == 0; }, 10s));
                break;
            case TUserAction::DeleteWebServer:
                modal.On<app::TSettings_Form>([](app::TSettings_Form& settings) {
                    settings.SelectPage(app::TSettings_Form::kPageWebServer);
                    QTableView& servers = *settings.TabSheet1->Http_VST;
                    servers.setCurrentIndex(servers.model()->index(1, 0));
                    fw_test::UserClick(*settings.TabSheet1->DelHttp_BitBtn);
                });
                modal.On<app::TSettings_Form>(
                    [](app::TSettings_Form& settings) { fw_test::UserClick(*settings.Cancel_BitBtn); },
                    [&](app::TSettings_Form&) { return !boxes.requests.empty(); });
                form->OpenSettings();
                EXPECT_EQ(form->HttpServerList().Count(), 1u);
                break;
        }
        EXPECT_TRUE(modal.Done());
    }
};

TEST_P(RequestsInFlightTest, EveryAnswerIsTheWholeFileOr404Or503) {
    const TInFlightCase& c = GetParam();
    TSnapshotClients clients(c.SecondServer ? secondPort : firstPort,
                             c.SecondServer ? "/b/capimg_test.png" : "/cam/capimg_test.png", snapshot);
    ASSERT_TRUE(SeeWholeAnswers(clients, kWholeAnswersToSee)) << "the web server does not answer: " << clients.Seen();
    Run(c.Action);
    if (c.SecondServer) {
        fw_test::PumpUntil([] { return false; }, 200ms);  // the requests that still try the deleted server
    } else {
        EXPECT_TRUE(SeeWholeAnswers(clients, kWholeAnswersToSee)) << "the web server does not answer again: " << clients.Seen();
    }
    const TSnapshotClients::TAnswers answers = clients.Stop();

    EXPECT_TRUE(answers.Wrong.empty()) << answers.Wrong.size() << " wrong answers: " << Wrongs(answers);
    if (c.ServerStaysUp) {
        EXPECT_EQ(answers.Unanswered, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shares, RequestsInFlightTest,
    ::testing::Values(
        TInFlightCase{"EditShareOverServerRestart", TUserAction::EditShareOverServerRestart, false, false},
        TInFlightCase{"DeleteCaptureService", TUserAction::DeleteCaptureService, false, true},
        TInFlightCase{"DeleteWebServer", TUserAction::DeleteWebServer, true, false}),
    [](const ::testing::TestParamInfo<TInFlightCase>& info) { return std::string(info.param.Name); });

}  // namespace
