// The wait window (modes, centring, the disabled owner, the minimum time on screen) and its wrappers,
// the downloader notice, and the help launcher's two messages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryFile>

#include "app/settings/registry_store.h"
#include "app/windows/small_windows/StartDownloader_Form.h"
#include "app/windows/small_windows/WaitFormWrappers.h"
#include "app/windows/small_windows/Wait_Form.h"
#include "common/HtmlHelp.h"
#include "common/MsgDlgWrappers.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"

namespace {

TEST(WaitFormTest, ModesShowTheirTextAndGauge) {
    struct Case {
        int mode;
        bool gauge;
        const char* text;  // nullptr: no label
        int labelTop;
    };
    const Case cases[] = {{0, true, "... please wait ...", 16},
                          {1, false, "... please wait ...", 32},
                          {2, false, "... Get Current Output Level ...", 32},
                          {3, false, nullptr, 16}};
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        app::TWait_Form wait;
        wait.SetMode(c.mode);
        wait.SetOwnerForm(&owner);
        wait.show();
        EXPECT_EQ(wait.WaitGauge()->isVisible(), c.gauge);
        if (c.gauge) {
            EXPECT_EQ(wait.WaitGauge()->value(), 0);
        }
        EXPECT_EQ(wait.InfoLabel()->isVisible(), c.text != nullptr);
        if (c.text) {
            EXPECT_EQ(wait.InfoLabel()->text(), c.text);
        }
        EXPECT_EQ(wait.InfoLabel()->y(), c.labelTop);
        EXPECT_TRUE(wait.WaitTimerRunning());
        EXPECT_FALSE(owner.isEnabled());
        const QRect o = owner.frameGeometry();
        EXPECT_EQ(wait.x(), o.left() + o.width() / 2 - wait.width() / 2);
        EXPECT_EQ(wait.y(), o.top() + o.height() / 2 - wait.height() / 2);
        wait.close();
        EXPECT_TRUE(owner.isEnabled());
        EXPECT_FALSE(wait.WaitTimerRunning());
    }
}

TEST(WaitFormTest, ShownAndClosedAtOnceStaysUpItsMinimumTime) {
    QWidget owner;
    owner.show();
    app::TWait_Form wait;
    app::SetWaitFormTargets(&wait, nullptr);
    QElapsedTimer clock;
    clock.start();
    app::ShowWaitForm(app::kWaitModeGauge, &owner);
    ASSERT_TRUE(wait.isVisible());
    EXPECT_FALSE(owner.isEnabled());
    app::CloseWaitForm();
    EXPECT_GE(clock.elapsed(), app::TWait_Form::kMinShowMs);
    EXPECT_FALSE(wait.isVisible());
    EXPECT_TRUE(owner.isEnabled());
    app::SetWaitFormTargets(nullptr, nullptr);
}

TEST(WaitFormTest, WrappersSkipAVisibleWindowAndTheCompactMainWindow) {
    QWidget mainWindow, other;
    mainWindow.show();
    other.show();
    app::TWait_Form wait;
    app::SetWaitFormTargets(&wait, &mainWindow);

    app::RegWriteInstBool(app::kCompactMainWindowValue, true);
    app::ShowWaitForm(app::kWaitModeText, &mainWindow);
    EXPECT_FALSE(wait.isVisible());

    app::ShowWaitForm(app::kWaitModeText, &other);  // another owner is covered even then
    EXPECT_TRUE(wait.isVisible());
    app::ShowWaitForm(app::kWaitModeOutputLevel, &mainWindow);  // already visible: nothing
    EXPECT_EQ(wait.Mode(), app::kWaitModeText);
    EXPECT_EQ(wait.OwnerForm(), &other);
    app::CloseWaitForm();

    app::RegWriteInstBool(app::kCompactMainWindowValue, false);
    app::ShowWaitForm(app::kWaitModeOutputLevel, &mainWindow);
    EXPECT_TRUE(wait.isVisible());
    EXPECT_FALSE(mainWindow.isEnabled());
    app::CloseWaitForm();
    EXPECT_TRUE(mainWindow.isEnabled());

    app::SetWaitFormTargets(nullptr, nullptr);
    app::ShowWaitForm(app::kWaitModeGauge, &other);  // no wait window known: nothing
    app::CloseWaitForm();
    EXPECT_FALSE(wait.isVisible());
}

TEST(StartDownloaderTest, BoxShowsOnlyWithShowAgainAndClosingStoresItsOpposite) {
    app::TStartDownloader_Form form;
    EXPECT_FALSE(form.ShowAgain());
    EXPECT_TRUE(form.Memo()->isReadOnly());
    EXPECT_TRUE(form.Memo()->toPlainText().startsWith("VLC Plug-In not found !"));
    EXPECT_TRUE(form.StartButton()->isDefault());

    form.show();
    EXPECT_FALSE(form.ShowAgainCB()->isVisible());
    form.ExitButton()->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(form.ShowAgain());  // box unchecked

    form.show();
    EXPECT_TRUE(form.ShowAgainCB()->isVisible());
    form.ShowAgainCB()->setChecked(true);
    form.StartButton()->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.ShowAgain());
}

TEST(HtmlHelpTest, MissingFileAndMissingViewerEachSayWhy) {
    fw_test::ScopedMsgDlgAnswers boxes;
    EXPECT_FALSE(app::ShowHtmlHelp(10));
    EXPECT_FALSE(app::ShowHtmlHelp(10, "/no/such/help.chm"));
    QTemporaryFile helpFile;
    ASSERT_TRUE(helpFile.open());
    EXPECT_FALSE(app::ShowHtmlHelp(10, helpFile.fileName()));
    EXPECT_EQ(boxes.Texts(), (std::vector<QString>{"Helpfile not found !", "Helpfile not found !", "Help not available !"}));
    for (const app::TMsgDlgRequest& r : boxes.requests) {
        EXPECT_EQ(r.Caption, "Error");
        EXPECT_EQ(r.DlgType, components::mtError);
    }
}

}  // namespace
