// The main log window over its log: lines shown and capped, the Continue/Freeze pair, Clear, the
// status bar, the colours by level, the stored bounds, closing by hand, F1, and the SNMP log docked
// into it with a hidden tab.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include "app/log/MainLog.h"
#include "app/settings/registry_store.h"
#include "app/windows/log_windows/LogLineColors.h"
#include "app/windows/log_windows/LogListDelegate.h"
#include "app/windows/log_windows/Log_Form.h"
#include "app/windows/log_windows/MainLog_Form.h"
#include "common/ColourPresets.h"
#include "common/MsgDlgWrappers.h"
#include "components/CanvasPanelEx.h"
#include "engine/settings/settings_store.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"
#include "tests/support/test_env.h"

namespace {

constexpr uint64_t kPlentyOfBytes = 100ull << 30;

class LogWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::UpdateSettings([this](engine::TSettings& s) {
            s.LogDir = (dir_.path() / "Log").string() + "/";
            s.LogInfo = true;
        });
        freeSpace_ = std::make_shared<engine::TFakeFreeSpace>(kPlentyOfBytes);
        form_ = std::make_unique<app::TMainLog_Form>(std::make_unique<app::TMainLog>(freeSpace_),
                                                     [this](const QUrl& url) { opened_.push_back(url); });
    }

    QStringList Items() const {
        QStringList texts;
        for (int i = 0; i < form_->LogLB()->count(); ++i) texts << form_->LogLB()->item(i)->text();
        return texts;
    }

    fw_test::TempDir dir_;
    std::shared_ptr<engine::TFakeFreeSpace> freeSpace_;
    std::vector<QUrl> opened_;
    std::unique_ptr<app::TMainLog_Form> form_;
};

TEST_F(LogWindowsTest, TextOfSeveralLinesShowsWithoutItsEmptyLinesAndNamesTheFile) {
    form_->WriteLines("first\r\n\r\nthird", 2);
    const QStringList items = Items();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0].endsWith(" [err] first")) << items[0].toStdString();
    EXPECT_EQ(items[1], "      third");
    EXPECT_EQ(form_->LogLB()->item(1)->data(app::kLogValueRole).toInt(), 2);
    EXPECT_EQ(form_->LogLB()->currentRow(), 1);  // the newest line is selected
    EXPECT_EQ(form_->LogStatusBar()->currentMessage().toStdString(), form_->Log().StatusText());
    EXPECT_TRUE(form_->LogStatusBar()->currentMessage().startsWith("Log-File : Framewick_"));

    form_->WriteLines("", 4);
    EXPECT_EQ(form_->LogLB()->count(), 2);
}

TEST_F(LogWindowsTest, WindowKeepsTheNewest500Lines) {
    for (int i = 0; i < 501; ++i) form_->WriteLines("line " + std::to_string(i), 4);
    const QStringList items = Items();
    ASSERT_EQ(items.size(), 500);
    EXPECT_TRUE(items.front().endsWith("line 1"));
    EXPECT_TRUE(items.back().endsWith("line 500"));
    EXPECT_EQ(form_->Log().Lines().Lines().size(), 500u);
}

// One text longer than the window: the window holds what the log kept, line for line.
TEST_F(LogWindowsTest, TextLongerThanTheWindowKeepsTheWindowInStepWithTheLog) {
    struct Case {
        const char* name;
        int linesBefore;
        int linesInText;
    };
    const Case cases[] = {{"empty window", 0, 600}, {"half-full window", 250, 600}, {"full window", 500, 501}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form_->ClearTB()->click();
        for (int i = 0; i < c.linesBefore; ++i) form_->WriteLines("before " + std::to_string(i), 4);
        std::string text = "text 0";
        for (int i = 1; i < c.linesInText; ++i) text += "\r\ntext " + std::to_string(i);
        form_->WriteLines(text, 4);
        const auto& kept = form_->Log().Lines().Lines();
        ASSERT_EQ(kept.size(), app::kMaxLogWindowLines);
        const QStringList items = Items();
        ASSERT_EQ(items.size(), static_cast<int>(kept.size()));
        for (size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(items[static_cast<int>(i)].toStdString(), kept[i].Text) << "line " << i;
        EXPECT_TRUE(items.back().endsWith("text " + QString::number(c.linesInText - 1)));
        EXPECT_EQ(form_->LogLB()->currentRow(), items.size() - 1);
    }
}

TEST_F(LogWindowsTest, ContinueAndFreezeFormAPairThatMayBothBeUp) {
    form_->show();
    EXPECT_TRUE(form_->StartTB()->isChecked());
    EXPECT_FALSE(form_->StopTB()->isChecked());

    form_->StopTB()->click();  // freeze
    EXPECT_FALSE(form_->StartTB()->isChecked());
    form_->WriteLines("frozen", 4);
    EXPECT_EQ(form_->LogLB()->count(), 0);

    form_->StopTB()->click();  // releasing Freeze resumes, both up
    EXPECT_FALSE(form_->StopTB()->isChecked());
    EXPECT_FALSE(form_->StartTB()->isChecked());
    form_->WriteLines("running", 4);
    EXPECT_EQ(form_->LogLB()->count(), 1);

    form_->StartTB()->click();  // pressed
    form_->StartTB()->click();  // releasing Continue freezes
    form_->WriteLines("frozen again", 4);
    EXPECT_EQ(form_->LogLB()->count(), 1);

    form_->ClearTB()->click();
    EXPECT_EQ(form_->LogLB()->count(), 0);
    EXPECT_TRUE(form_->Log().Lines().Lines().empty());
    form_->close();
}

TEST_F(LogWindowsTest, OpenDirOpensTheLogFolder) {
    form_->OpenDirTB()->click();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].toLocalFile().toStdString(), engine::Settings()->LogDir);
}

TEST(LogLineColorsTest, ColoursByLevelAndSelection) {
    struct Case {
        int level;
        components::TColor text, background;
    };
    const Case cases[] = {{0, 0xFFFFFF, 0xFF0000}, {1, 0, 0xBFFFBF}, {2, 0, 0x8080FF}, {3, 0, 0xDADADA},
                          {4, 0, 0xFFFFFF},        {5, 0xFFFFFF, 0x000080}, {6, 0, 0xC0C0C0}, {200, 0, 0xC0C0C0}};
    for (const Case& c : cases) {
        const app::TLogLineColors colours = app::MainLogLineColors(uint8_t(c.level), false);
        EXPECT_EQ(colours.Text, c.text) << c.level;
        EXPECT_EQ(colours.Background, c.background) << c.level;
        const app::TLogLineColors selected = app::MainLogLineColors(uint8_t(c.level), true);
        EXPECT_EQ(selected.Text, 0xFFFFFFu);
        EXPECT_EQ(selected.Background, 0x800000u);
    }
    EXPECT_EQ(app::SnmpLogLineColors(1, false).Background, 0x0000FFu);
    EXPECT_EQ(app::SnmpLogLineColors(2, true).Text, 0x00FFFFu);
    EXPECT_EQ(app::SnmpLogLineColors(9, true).Text, 0xFFFFFFu);
}

TEST_F(LogWindowsTest, LinesAreDrawnInTheirLevelsBackground) {
    form_->resize(500, 300);
    form_->show();
    form_->WriteLines("error line", 2);
    form_->WriteLines("info line", 4);
    form_->LogLB()->clearSelection();
    form_->LogLB()->setCurrentRow(-1);
    QApplication::processEvents();
    QImage image(form_->LogLB()->viewport()->size(), QImage::Format_RGB32);
    form_->LogLB()->viewport()->render(&image);
    const QRect first = form_->LogLB()->visualItemRect(form_->LogLB()->item(0));
    const QRect second = form_->LogLB()->visualItemRect(form_->LogLB()->item(1));
    EXPECT_EQ(QColor(image.pixel(first.right() - 2, first.center().y())), components::ToQColor(0x8080FF));
    EXPECT_EQ(QColor(image.pixel(second.right() - 2, second.center().y())), components::ToQColor(0xFFFFFF));
    form_->close();
}

// The horizontal extent follows the widest line drawn so far and never shrinks: not for narrower
// lines, not when the wide line leaves the window, not when Clear empties it.
TEST_F(LogWindowsTest, HorizontalExtentGrowsToTheWidestLineDrawnAndNeverShrinks) {
    form_->resize(400, 300);
    form_->show();
    app::TLogListBox& list = *form_->LogLB();
    const QFontMetrics metrics(list.font());
    auto drawnWidth = [&](const std::string& line) {
        form_->WriteLines(line, 4);
        return metrics.horizontalAdvance(list.item(list.count() - 1)->text());
    };
    // The scroll bar reaches exactly the extent once the list has drawn and laid out again.
    auto scrollsTo = [&](int extent) {
        const auto reached = [&] { return list.horizontalScrollBar()->maximum() == extent - list.viewport()->width(); };
        QTest::qWaitFor(reached, 5000);
        return list.horizontalScrollBar()->maximum() + list.viewport()->width();
    };
    drawnWidth("short");
    const int wide = drawnWidth(std::string(120, 'W'));
    EXPECT_EQ(scrollsTo(wide + 20), wide + 20) << "the wide line, not the first, sets the extent";
    EXPECT_EQ(list.HorizontalExtent(), wide + 20);
    for (int i = 0; i < 600; ++i) form_->WriteLines("narrow " + std::to_string(i), 4);  // pushes it out
    QApplication::processEvents();
    EXPECT_EQ(scrollsTo(wide + 20), wide + 20) << "the wide line left the window";
    form_->ClearTB()->click();
    QApplication::processEvents();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(scrollsTo(wide + 20), wide + 20) << "Clear keeps the extent";
    const int wider = drawnWidth(std::string(160, 'W'));
    EXPECT_EQ(scrollsTo(wider + 20), wider + 20) << "a wider line grows it";
    form_->close();
}

TEST_F(LogWindowsTest, BoundsDefaultThenComeBackFromTheRegistry) {
    form_->show();
    EXPECT_EQ(form_->pos(), QPoint(80, 50));  // the place of the frame
    EXPECT_EQ(form_->size(), QSize(500, 400));
    form_->setGeometry(120, 90, 640, 360);
    const QPoint frame = form_->pos();
    form_->close();
    app::TFormBounds stored;
    ASSERT_TRUE(app::ReadFormBounds("main_log", stored));
    EXPECT_EQ(QPoint(stored.Left, stored.Top), frame);
    EXPECT_EQ(stored.Width, 640);
    EXPECT_EQ(stored.Height, 360);
    form_->show();
    EXPECT_EQ(form_->pos(), frame);
    EXPECT_EQ(form_->size(), QSize(640, 360));
    form_->close();
}

TEST_F(LogWindowsTest, ClosingByHandGivesTheLogButtonItsNormalLook) {
    components::TCanvasPanelEx logButton;
    app::SetPanelActive(logButton);
    logButton.SetTag(app::kPanelTagSwitchedOn);
    form_->SetLogButton(&logButton);
    form_->show();
    form_->close();
    EXPECT_EQ(logButton.Tag(), 0);
    EXPECT_EQ(logButton.Fill().fpColor1(), 0x999999u);
}

TEST_F(LogWindowsTest, F1SaysTheHelpFileIsMissing) {
    fw_test::ScopedMsgDlgAnswers boxes;
    form_->show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(form_.get(), &f1);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].Caption + ": " + boxes.requests[0].Text, "Error: Helpfile not found !");
    EXPECT_EQ(boxes.requests[0].DlgType, components::mtError);
    form_->close();
}

TEST_F(LogWindowsTest, SnmpLogDocksAsAHiddenPageAndRedocksWhenClosed) {
    form_->show();
    QTabWidget* pages = form_->PageControl1();
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(pages->isTabVisible(1));
    EXPECT_EQ(pages->tabText(1), "Real-Time Analysis Log");
    EXPECT_TRUE(form_->SnmpLog().Docked());

    form_->SnmpLog().SetDocked(false);
    EXPECT_EQ(pages->count(), 1);
    EXPECT_TRUE(form_->SnmpLog().isWindow());
    EXPECT_FALSE(form_->SnmpLog().Docked());

    EXPECT_FALSE(form_->SnmpLog().close());  // closing is refused: it docks again
    EXPECT_EQ(pages->count(), 2);
    EXPECT_TRUE(form_->SnmpLog().Docked());
    app::TFormBounds stored;
    EXPECT_TRUE(app::ReadFormBounds("bera_log", stored));
    form_->close();
}

}  // namespace
