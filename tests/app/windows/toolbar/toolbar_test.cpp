// The tool bar's buttons and looks, and the status bar's fields.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <ctime>

#include "app/settings/app_globals.h"
#include "app/windows/toolbar/BottomFrame.h"
#include "app/windows/toolbar/TopFrame.h"
#include "common/ColourPresets.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/ColorFrames.h"
#include "components/LedLabel.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/capture_notify.h"
#include "tests/components/widget_test_app.h"

namespace {

using namespace app;

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        TToolBarHooks h;
        h.StartStopAll = [this](bool start) { calls.push_back(start ? "startAll" : "stopAll"); };
        h.AddCapture = [this] { calls.push_back("add"); };
        h.SaveCaptureList = [this] { calls.push_back("save"); };
        h.ToggleLogWindow = [this] { calls.push_back("log"); };
        h.AnyPanelExpanded = [this] { return anyExpanded; };
        h.SetAllPanelsMinimized = [this](bool minimize) { calls.push_back(minimize ? "collapseAll" : "expandAll"); };
        h.SelectSettingsPage = [this](int page) { calls.push_back("page" + std::to_string(page)); };
        h.OpenSettings = [this] { calls.push_back("settings"); };
        h.ShowHelp = [this](const std::string& anchor) { calls.push_back("help" + anchor); };
        h.ShowAbout = [this] { calls.push_back("about"); };
        h.TrayShowHide = [this] { calls.push_back("tray"); };
        h.MinimizeMainWindow = [this] { calls.push_back("minimize"); };
        h.CloseApp = [this] { calls.push_back("close"); };
        bar.resize(550, kToolBarHeight);
        bar.InitToolBar(h);
    }
    void TearDown() override {
        engine::UpdateSettings([](engine::TSettings& s) { s.NotifyIcon = true; });
    }

    TTop_Frame bar;
    std::vector<std::string> calls;
    bool anyExpanded = false;
};

TEST_F(ToolBarTest, EveryButtonCallsItsHooks) {
    struct Case {
        int button;  // position in Buttons()
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {0, {"startAll"}}, {1, {"stopAll"}}, {2, {"add", "save"}}, {3, {"log"}}, {5, {"page0", "settings"}},
        {6, {"help#1 Introduction"}}, {7, {"about"}}, {9, {"close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        calls.clear();
        QTest::mouseClick(bar.Buttons()[c.button], Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(calls, c.expected);
    }
}

TEST_F(ToolBarTest, MinimizeAllCollapsesWhenAnyPanelIsExpandedAndDoubleClickExpands) {
    anyExpanded = true;
    bar.Min_TBClick();
    anyExpanded = false;
    bar.Min_TBClick();
    bar.Min_TBDblClick();
    EXPECT_EQ(calls, (std::vector<std::string>{"collapseAll", "expandAll", "expandAll"}));
}

TEST_F(ToolBarTest, MinimizeHidesToTheTrayOnlyWithTheTrayIconSetting) {
    engine::UpdateSettings([](engine::TSettings& s) { s.NotifyIcon = true; });
    bar.Minimize_TBClick();
    engine::UpdateSettings([](engine::TSettings& s) { s.NotifyIcon = false; });
    bar.Minimize_TBClick();
    EXPECT_EQ(calls, (std::vector<std::string>{"tray", "minimize"}));
}

TEST_F(ToolBarTest, SwitchedOnLogButtonKeepsItsLookUnderTheMouse) {
    components::TCanvasPanelEx& log = bar.Log_TB();
    SetPanelActive(log);
    log.SetTag(kPanelTagSwitchedOn);
    const components::TColor active = log.Fill().fpColor1();
    log.OnMouseEnter(&log);
    log.OnMouseDown(&log, Qt::LeftButton, {}, 1, 1);
    log.OnMouseLeave(&log);
    EXPECT_EQ(log.Fill().fpColor1(), active);

    components::TCanvasPanelEx& help = *bar.Buttons()[6];
    help.OnMouseEnter(&help);
    const components::TColor hover = help.Fill().fpColor1();
    help.OnMouseDown(&help, Qt::RightButton, {}, 1, 1);
    EXPECT_EQ(help.Fill().fpColor1(), hover);  // other buttons change no look
    help.OnMouseDown(&help, Qt::LeftButton, {}, 1, 1);
    EXPECT_NE(help.Fill().fpColor1(), hover);
}

TEST_F(ToolBarTest, ButtonsSitAtBothEnds) {
    const auto b = bar.Buttons();
    EXPECT_EQ(bar.Top_Panel().Caption().toStdString(), "Framewick");
    EXPECT_EQ(bar.height(), kToolBarHeight);
    EXPECT_EQ(b[0]->x(), kToolBarEdgeGap);
    EXPECT_EQ(b[1]->x(), b[0]->geometry().right() + 1);
    EXPECT_EQ(b[2]->x(), b[1]->geometry().right() + 1);
    EXPECT_EQ(b[9]->geometry().right() + 1, 550 - kToolBarEdgeGap);
    for (int i = 3; i < 9; ++i) EXPECT_EQ(b[i]->geometry().right() + 1, b[i + 1]->x()) << i;
    EXPECT_EQ(b[4]->toolTip().toStdString(), "Mininmize/Maximize All");
}

class StatusBarTest : public ::testing::Test {
protected:
    void TearDown() override {
        InstanceIndex = 0;
        engine::VlcMissing = false;
    }
};

TEST_F(StatusBarTest, InitShowsTheStartTimeAndTheInstanceInTheSystemCaption) {
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 7;
    when.tm_min = 8;
    when.tm_sec = 9;
    when.tm_isdst = -1;
    const auto time = std::chrono::system_clock::from_time_t(std::mktime(&when));
    for (const int instance : {0, 2}) {
        InstanceIndex = instance;
        TBottom_Frame bar;
        bar.resize(550, kStatusBarHeight);
        bar.InitStatusBar({}, time);
        EXPECT_EQ(bar.Controls().SysStart_CPanel->Caption().toStdString(), "2024-03-05 07:08:09");
        EXPECT_EQ(bar.Controls().SystemCaption->text().toStdString(), instance == 0 ? "System" : "[2] System");
        EXPECT_EQ(bar.height(), kStatusBarHeight);
        EXPECT_EQ(bar.Controls().Status_Frame->HitTest(), components::htForm);
    }
}

TEST_F(StatusBarTest, DataEventsFlashTheirLampsAndStatusValuesAreShown) {
    TBottom_Frame bar;
    bar.InitStatusBar({});
    const auto& ui = bar.Controls();
    bar.ShowCaptureNotify(engine::kCnHttpSend);
    EXPECT_FALSE(ui.ImgData_Led->LedOn() || ui.VidData_Led->LedOn() || ui.FileData_Led->LedOn());
    bar.ShowCaptureNotify(engine::kCnImageData);
    EXPECT_TRUE(ui.ImgData_Led->LedOn());
    EXPECT_FALSE(ui.FileData_Led->LedOn());
    bar.ShowCaptureNotify(engine::kCnFileData);
    bar.ShowCaptureNotify(engine::kCnVideoData);
    EXPECT_TRUE(ui.FileData_Led->LedOn());
    EXPECT_TRUE(ui.VidData_Led->LedOn());

    bar.ShowStatus({3, true, true, 2, false, 1, true});
    EXPECT_EQ(ui.MainCap_Label->Caption().toStdString(), "3");
    EXPECT_TRUE(ui.CapOn_Led->LedOn());
    EXPECT_TRUE(ui.Screesaver_LED->LedOn());
    EXPECT_EQ(ui.WS_Label->Caption().toStdString(), "2");
    EXPECT_FALSE(ui.Ws_Led->LedOn());
    EXPECT_EQ(ui.Http_Label->Caption().toStdString(), "1");
    EXPECT_TRUE(ui.Http_Led->LedOn());
}

TEST_F(StatusBarTest, CompactButtonTogglesCompactModeAndSitsAtTheRightEnd) {
    std::vector<bool> asked;
    engine::VlcMissing = true;
    TBottom_Frame bar;
    bar.resize(550, kStatusBarHeight);
    bar.InitStatusBar([&](bool keepPosition) { asked.push_back(keepPosition); });
    QTest::mouseClick(bar.Controls().MinMax_TB, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(asked, std::vector<bool>{false});
    const auto* button = bar.Controls().MinMax_TB;
    EXPECT_EQ(button->geometry().right() + 1,
              550 - bar.Controls().Status_Frame->BevelOuterSub().bpWidth() - kMinMaxButtonGap);
    EXPECT_EQ(button->y(), kStatusBarHeight / 2 - kMinMaxButtonSize / 2);
    EXPECT_EQ(bar.Controls().VidData_Led->LedColor().llColor(), components::lcdGray);
}

}  // namespace
