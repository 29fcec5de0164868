// The main window on the X display of the test run, with a capture service of the graph method that
// grabs the screen.
#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "app/settings/registry_store.h"
#include "engine/settings/counters.h"
#include "tests/app/framewick_test_app.h"
#include "tests/app/main_form_fixture.h"
#include "tests/support/test_env.h"

namespace {

using namespace std::chrono_literals;

class MainFormDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The capture's sink takes the program's first internal port; another program may hold it a while.
        ASSERT_TRUE(fw_test::WaitUntil([] { return fw_test::TcpPortIsFree(engine::kFirstInternalPort); }, 60s));
        fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
        fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
        fw_test::WriteAreaCaptureList(dir / "capture.xml", 320, 240, "area");
    }

    // A started main window whose capture runs.
    std::unique_ptr<app::TLumora_MainForm> Start() {
        app::TLumora_MainForm::TOptions options;
        options.Dialogs = std::make_shared<fw_test::TFakeMainFormDialogs>();
        options.EndProcess = [this](int code) { exitCodes.push_back(code); };
        auto form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        EXPECT_TRUE(form->FormCreate());
        form->show();
        EXPECT_TRUE(fw_test::PumpUntil([&] { return form->StartUpDone(); }, 20s)) << "the one-shot never ran";
        EXPECT_TRUE(form->AnyCaptureRunning()) << "the area capture did not start";
        return form;
    }

    fw_test::TempDir dir;
    std::vector<int> exitCodes;
};

// The graph start waits with the message loop turning, so the compact-mode one-shot fires inside it;
// the compact mode saved at the last closing comes back all the same.
TEST_F(MainFormDisplayTest, CompactModeSavedAtClosingComesBackWithAnAutoStartedAreaCapture) {
    {
        auto first = Start();
        first->SetCompactMode(false);
        ASSERT_TRUE(first->Compact());
        first->close();
    }
    EXPECT_TRUE(app::RegReadInstBool("lumora_min", false));

    auto second = Start();
    EXPECT_TRUE(fw_test::PumpUntil([&] { return second->Compact(); }, 5s)) << "the compact mode did not come back";
    second->close();
    EXPECT_TRUE(exitCodes.empty());
}

}  // namespace
