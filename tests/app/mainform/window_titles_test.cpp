// Window titles on a real X11 desktop: the program's title is set as the start-up sets it, and every
// window's title on the X server is exactly the caption the window gives itself (nothing appended);
// the title still names a message dialog that has no caption of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include "app/mainform/QtStartupUi.h"
#include "components/MessageDialogForm.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

constexpr std::chrono::milliseconds kWaitMs{10000};

void SetTitleAsTheStartDoes(const char* title) {
    app::TQtStartupUi ui(static_cast<QApplication&>(*QCoreApplication::instance()), [] { return nullptr; });
    ui.SetApplicationTitle(title);
}

class WindowTitleTest : public ::testing::TestWithParam<const char*> {};

TEST_P(WindowTitleTest, TheServerHoldsTheCaptionAsGiven) {
    SetTitleAsTheStartDoes("Framewick");
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(GetParam()));
    window.show();
    const auto id = xcb_window_t(window.windowHandle()->winId());
    fw_test::XcbReader x11;
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !x11.Utf8Property(id, "_NET_WM_NAME").empty(); }, kWaitMs));
    EXPECT_EQ(x11.Utf8Property(id, "_NET_WM_NAME"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Captions, WindowTitleTest,
                         ::testing::Values("Framewick - Settings", "[2] Framewick - Settings", "Setup Web-Server ",
                                           "Setup Capture-Service", "index.html"));

TEST(ApplicationTitle, NamesAMessageDialogWithoutCaption) {
    SetTitleAsTheStartDoes("Framewick");
    components::TMessageDialogForm custom(QStringLiteral("text"), components::mtCustom, {components::mbOK});
    EXPECT_EQ(custom.windowTitle(), QStringLiteral("Framewick"));
    components::TMessageDialogForm warning(QStringLiteral("text"), components::mtWarning, {components::mbOK});
    EXPECT_EQ(warning.windowTitle(), QStringLiteral("Warning"));
}

}  // namespace
