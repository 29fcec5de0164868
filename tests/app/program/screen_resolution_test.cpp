// The screen-resolution warning of Framewick's start, from the program itself on an X server of the
// test's own whose resource database carries the resolution the user set (as xrdb sets it). What the
// program's dialog shows is compared with the same dialog made by this test on the same desktop: its
// size and its message, pixel for pixel. The answer goes in through the pointer (XTest).
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>

#include "app/mainform/QtStartupUi.h"
#include "app/startup/ScreenCheck.h"
#include "tests/app/program/framewick_child.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/private_desktop.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kWindowWithin = 90s;  // from the program's start to its first window, under the sanitizers
constexpr auto kClosingWithin = 30s;
constexpr int kWarnedDpi = 120;
constexpr const char* kWarningCaption = "Screen Resolution Check";
constexpr const char* kMainCaption = "Framewick";

// The warning as this test's own program block shows it on the desktop: the window and its message as
// the X server holds them, and where the check box and the first button lie (window pixels).
struct TWarningLook {
    QImage Window;
    QRect Message;
    QPoint CheckBox;
    QPoint FirstButton;
};

QRect Scaled(const QRect& r, qreal ratio) {
    const int left = int(std::floor(r.left() * ratio)), top = int(std::floor(r.top() * ratio));
    return QRect(left, top, int(std::ceil((r.right() + 1) * ratio)) - left, int(std::ceil((r.bottom() + 1) * ratio)) - top);
}

QImage GrabWindow(xcb_window_t w) {
    return QGuiApplication::primaryScreen()->grabWindow(w).toImage().convertToFormat(QImage::Format_RGB32);
}

TWarningLook OwnWarningLook() {
    TWarningLook look;
    app::TQtStartupUi ui(static_cast<QApplication&>(*QCoreApplication::instance()), [] { return nullptr; });
    fw_test::ModalDriver modal;
    modal.On<QDialog>(
        [&](QDialog& dialog) {
            dialog.repaint();  // painted and on the server before the grab, which follows on the same connection
            const qreal ratio = dialog.devicePixelRatioF();
            look.Window = GrabWindow(xcb_window_t(dialog.winId()));
            look.Message = Scaled(dialog.findChild<QLabel*>(QStringLiteral("Message"))->geometry(), ratio);
            const QCheckBox* box = dialog.findChild<QCheckBox*>();
            look.CheckBox = box->mapTo(&dialog, QPoint(6, box->height() / 2)) * ratio;
            const auto* first = qobject_cast<QPushButton*>(dialog.focusWidget());
            look.FirstButton = first->mapTo(&dialog, first->rect().center()) * ratio;
            dialog.reject();
        },
        [](QDialog& dialog) { return dialog.windowHandle() && dialog.windowHandle()->isExposed(); });
    bool checked = false;
    ui.ShowCheckDialog(app::DpiWarningDialog(kWarnedDpi), checked);
    EXPECT_TRUE(modal.Done());
    return look;
}

// One desktop for the test and the programs it starts. Its resource database says 120 dpi when the test
// program starts (FW_TEST_X_RESOURCES), so that the test's own dialogs are laid out as the program's at
// that resolution.
::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

std::string DesktopName() { return ::getenv("DISPLAY"); }

std::optional<xcb_window_t> WindowCalled(const std::string& caption) { return fw_test::XcbReader().TopLevelCalled(caption); }

bool ClickAt(xcb_window_t w, QPoint at) {
    return fw_test::RunProgram({"xdotool", "mousemove", "--sync", "--window", std::to_string(w), std::to_string(at.x()),
                                std::to_string(at.y()), "click", "1"}) == 0;
}

// The first window of a start: the warning or the main window, whichever comes.
enum class TFirstWindow { None, Warning, MainWindow };

TFirstWindow WaitForFirstWindow(fw_test::ChildProcess& program) {
    TFirstWindow first = TFirstWindow::None;
    fw_test::WaitUntil([&] {
        if (WindowCalled(kWarningCaption)) first = TFirstWindow::Warning;
        else if (WindowCalled(kMainCaption)) first = TFirstWindow::MainWindow;
        return first != TFirstWindow::None || !program.running();
    }, kWindowWithin);
    return first;
}

class ScreenResolutionTest : public ::testing::Test {
protected:
    // Made before any test changes the resources.
    static void SetUpTestSuite() { own = std::make_unique<TWarningLook>(OwnWarningLook()); }
    static void TearDownTestSuite() { own.reset(); }

    // The program of this test, on the desktop, with a registry of its own.
    std::unique_ptr<fw_test::ChildProcess> Start() {
        return program.Start({}, {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + DesktopName(),
                                  "FRAMEWICK_REGISTRY_HKCU=" + (root / "hkcu").string()});
    }
    void End(std::unique_ptr<fw_test::ChildProcess> running) {
        ::kill(running->pid(), SIGTERM);
        EXPECT_EQ(running->WaitForExit(kClosingWithin), 0) << "the program did not end after the session's end";
    }
    void SetResolution(const std::string& resources) {
        ASSERT_TRUE(fw_test::SetXResources(DesktopName(), resources));
    }

    fw_test::TempDir root;
    fw_test::FramewickFolder program{FW_FRAMEWICK, root / "prog"};
    static inline std::unique_ptr<TWarningLook> own;
};

// At 120 dpi the first start warns with that resolution; Continue starts the program, and the check
// box decides whether the next start of this instance warns again.
TEST_F(ScreenResolutionTest, WarnsWithTheDesktopsResolutionAndHonoursDoNotShowAgain) {
    ASSERT_TRUE(program.ok());
    SetResolution("Xft.dpi: 120");
    ASSERT_FALSE(own->Window.isNull()) << "the test's own warning was not shown";
    for (const bool doNotShowAgain : {false, true}) {
        SCOPED_TRACE(doNotShowAgain ? "do not show again" : "box clear");
        auto framewick = Start();
        ASSERT_EQ(WaitForFirstWindow(*framewick), TFirstWindow::Warning) << "no resolution warning at 120 dpi";
        const xcb_window_t warning = *WindowCalled(kWarningCaption);
        EXPECT_EQ(fw_test::XcbReader().ScreenRect(warning).size(), own->Window.size()) << "the warning is not laid out for its text";
        // Drawn once the program has painted it: the same message as this test's own warning at 120 dpi.
        QImage shown;
        const bool sameMessage = fw_test::WaitUntil([&] {
            shown = GrabWindow(warning);
            return shown.size() == own->Window.size() && shown.copy(own->Message) == own->Window.copy(own->Message);
        }, kWindowWithin);
        if (!sameMessage) {
            shown.save((fs::path(::testing::TempDir()) / "warning-shown.png").c_str());
            own->Window.save((fs::path(::testing::TempDir()) / "warning-expected.png").c_str());
        }
        EXPECT_TRUE(sameMessage) << "the warning does not read \"The current screen resolution is : 120 dpi !\"";
        if (doNotShowAgain) {
            ASSERT_TRUE(ClickAt(warning, own->CheckBox));
        }
        ASSERT_TRUE(ClickAt(warning, own->FirstButton));  // "    Continue    "
        ASSERT_TRUE(fw_test::WaitUntil([&] { return WindowCalled(kMainCaption).has_value(); }, kWindowWithin))
            << "Continue did not start the program";
        End(std::move(framewick));

        framewick = Start();
        EXPECT_EQ(WaitForFirstWindow(*framewick), doNotShowAgain ? TFirstWindow::MainWindow : TFirstWindow::Warning)
            << "the next start";
        End(std::move(framewick));
        fs::remove_all(root / "hkcu");
    }
}

// At the design resolution, set or left to the default, the program starts without a word.
TEST_F(ScreenResolutionTest, NoWarningAtNinetySixDpi) {
    ASSERT_TRUE(program.ok());
    for (const char* resources : {"Xft.dpi: 96", ""}) {
        SCOPED_TRACE(resources);
        SetResolution(resources);
        auto framewick = Start();
        EXPECT_EQ(WaitForFirstWindow(*framewick), TFirstWindow::MainWindow);
        End(std::move(framewick));
    }
}

}  // namespace
