// What a modal dialog leaves behind when it closes, on a real X11 desktop of the test's own under a
// real window manager (openbox), with real pointer input: the window that opened it is active again,
// and the tool-bar button that opened it no longer shows the pointer over it once the pointer is gone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "app/windows/base/ModalRunner.h"
#include "app/windows/toolbar/TopFrame.h"
#include "common/ColourPresets.h"
#include "components/CanvasPanelEx.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};
constexpr size_t kSettingsButton = 5;  // Start, Stop, Add, Log, Min, Settings, ...

std::string Num(int v) { return std::to_string(v); }

uint32_t NormalLookColour() {
    components::TCanvasPanelEx panel;
    app::SetPanelNormal(panel);
    return panel.Fill().fpColor1();
}

class ModalReturnTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        app::TToolBarHooks hooks;
        hooks.OpenSettings = [this] {
            QDialog dialog(&window);
            dialog.resize(300, 200);
            // The user moves off the button into the dialog and closes it from there.
            QTimer::singleShot(300, &dialog, [&] {
                const QPoint centre = dialog.mapToGlobal(dialog.rect().center());
                fw_test::Xdo({"mousemove", Num(centre.x()), Num(centre.y())});
                QTimer::singleShot(300, &dialog, [&] { dialog.reject(); });
            });
            app::RunModal(dialog);
            ++dialogsRun;
        };
        bar = new app::TTop_Frame(&window);
        bar->InitToolBar(hooks);
        window.resize(600, 300);
        bar->setGeometry(0, 0, 600, bar->height());
        window.show();
        ASSERT_TRUE(PumpUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed() &&
                                           QApplication::activeWindow() == &window; }, kWaitMs))
            << "the window never became active";
    }
    void TearDown() override {
        window.hide();
        windowManager.reset();
    }

    fw_test::TempDir dir;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    QWidget window;
    app::TTop_Frame* bar = nullptr;  // owned by the window
    int dialogsRun = 0;
};

TEST_F(ModalReturnTest, OpenerIsActiveAgainAndItsButtonLooksNormal) {
    components::TCanvasPanelEx& settings = *bar->Buttons()[kSettingsButton];
    const QPoint over = settings.mapToGlobal(settings.rect().center());
    ASSERT_TRUE(fw_test::Xdo({"mousemove", Num(over.x()), Num(over.y()), "sleep", "0.3", "click", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return dialogsRun == 1; }, kWaitMs)) << "the dialog never ran";
    // The pointer now rests where the dialog was, over the window but off the button.
    EXPECT_TRUE(PumpUntil([&] { return QApplication::activeWindow() == &window; }, kWaitMs))
        << "the window that opened the dialog is not active again";
    EXPECT_TRUE(PumpUntil([&] { return settings.Fill().fpColor1() == NormalLookColour(); }, kWaitMs))
        << "the button kept the look of the pointer over it";
}

}  // namespace
