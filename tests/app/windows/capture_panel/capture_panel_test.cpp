// The capture panel: what it shows for a job, its share tabs, start and stop, its Settings button,
// deletion and collapsing.
#include <QLabel>

#include "app/windows/capture_panel/CaptureFrameTexts.h"
#include "app/windows/base/PanelBuilders.h"
#include "common/MsgDlgWrappers.h"
#include "app/windows/capture_panel/StreamerPageControl.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/ColorFrames.h"
#include "components/LedLabel.h"
#include "engine/settings/counters.h"
#include "engine/util/capture_notify.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/render_helpers.h"
#include "tests/app/windows/capture_panel/capture_panel_fixture.h"

namespace {

using fw_test::CapturePanelTest;

TEST_F(CapturePanelTest, FolderJobShowsItsSettingsAndOneTabPerShare) {
    MakeFolderPanel();
    const app::TCaptureFrameControls& ui = panel->Controls();
    EXPECT_EQ(Caption(ui.Source_Label), "System");
    EXPECT_EQ(Caption(ui.Mode_Label), "Files");
    EXPECT_EQ(Caption(ui.Idx_Label), "03");
    EXPECT_EQ(Caption(ui.Device_Label), "Front door");
    EXPECT_EQ(ui.TopName_TntLabel->text().toStdString(), "Front door");
    EXPECT_EQ(Caption(ui.FileFmt_Label), "PNG");
    EXPECT_EQ(Caption(ui.RunTime_label), "000:00:00");
    EXPECT_TRUE(ui.AV_Panel->isHidden());
    EXPECT_FALSE(ui.SysFile_Panel->isHidden());
    EXPECT_TRUE(ui.Format_Panel->isHidden());
    EXPECT_EQ(Caption(ui.FileDir_Label).back(), '/');

    ASSERT_EQ(ui.Streamer_PageControl->count(), 2);
    EXPECT_EQ(ui.Streamer_PageControl->tabText(0).toStdString(), "[0] HTTP");
    EXPECT_EQ(ui.Streamer_PageControl->tabText(1).toStdString(), "[1] UDP");
    app::TStreamer_Frame* tab = panel->FindStreamerFrame(httpShare->Index);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(fw_test::RunOf(*job, httpShare).FrameHandle, tab->Handle());
    EXPECT_NE(fw_test::RunOf(*job, udpShare).FrameHandle, 0u);
    EXPECT_EQ(tab->Streamer(), httpShare);
    // The share's lamp sits at the left end of its tab in the strip.
    EXPECT_EQ(tab->ShareLed().parentWidget(), &ui.Streamer_PageControl->StreamerTabBar());
    EXPECT_EQ(tab->ShareLed().x(), app::kStreamerTabLedLeft);

    // A refresh makes no second tab but draws one share number per share.
    const int32_t before = engine::NextStreamerIndex();
    panel->ShowCapture();
    EXPECT_EQ(engine::NextStreamerIndex(), before + 3);
    EXPECT_EQ(ui.Streamer_PageControl->count(), 2);
    // A protocol change keeps the caption.
    udpShare->Protocol = engine::kShareProtocolHttp;
    panel->ShowCapture();
    EXPECT_EQ(ui.Streamer_PageControl->tabText(1).toStdString(), "[1] UDP");
}

TEST_F(CapturePanelTest, CaptureWithoutSharesHasAnEmptyTabStrip) {
    job = MakeJob(engine::kCapEncoderSystem, engine::kCapKindFiles);
    MakePanel();
    EXPECT_EQ(panel->Controls().Streamer_PageControl->count(), 0);
}

TEST_F(CapturePanelTest, StartAndStopRunTheFolderJobAndSwitchTheShareTabs) {
    MakeFolderPanel();
    const app::TCaptureFrameControls& ui = panel->Controls();
    app::TStreamer_Frame* tab = panel->FindStreamerFrame(httpShare->Index);
    ASSERT_NE(tab, nullptr);

    panel->Connect_TBClick();
    EXPECT_TRUE(job->Started());
    EXPECT_TRUE(service->Running());
    EXPECT_TRUE(fw_test::RunOf(*job, httpShare).CopyFileThread);
    EXPECT_TRUE(ui.On_Led->LedOn());
    EXPECT_FALSE(ui.Error_Led->LedOn());
    EXPECT_TRUE(panel->StatusTimerEnabled());
    EXPECT_TRUE(tab->Controls().File_LED->LedOn());
    EXPECT_FALSE(tab->Controls().Video_LED->LedOn());
    EXPECT_EQ(tab->ShareLed().LedColor().llColor(), components::lcdGreen);
    EXPECT_TRUE(tab->ShareLed().LedOn());

    panel->Disconn_TBClick();
    EXPECT_FALSE(job->Started());
    EXPECT_FALSE(service->Running());
    EXPECT_FALSE(fw_test::RunOf(*job, httpShare).CopyFileThread);
    EXPECT_FALSE(ui.On_Led->LedOn());
    EXPECT_FALSE(panel->StatusTimerEnabled());
    EXPECT_FALSE(tab->Controls().File_LED->LedOn());
    EXPECT_FALSE(tab->ShareLed().LedOn());
}

TEST_F(CapturePanelTest, RunTimeTickShowsTheTimeSinceTheStartAndBlinksTheDataLamp) {
    MakeFolderPanel();
    entry.StartTime = std::chrono::system_clock::now() - std::chrono::seconds(3725);
    panel->Status_TimerTimer();
    EXPECT_EQ(Caption(panel->Controls().RunTime_label), "001:02:05");
    EXPECT_TRUE(panel->Controls().Data_Led->LedOn());
}

TEST_F(CapturePanelTest, FailedStartKeepsThePanelRunningAndSettingsRestartsAfterTheEditor) {
    graphs.initOk = false;
    job = MakeJob(engine::kCapEncoderDirectX, engine::kCapKindArea);
    bool stoppedDuringEdit = false;
    hooks.EditCapture = [&](app::TCaptureListEntry& e, engine::TScreenCapture& c) {
        calls.push_back("edit");
        stoppedDuringEdit = !c.Started() && !RunningLampOn();
        e.Name = "Renamed";
        return true;
    };
    MakePanel();
    const app::TCaptureFrameControls& ui = panel->Controls();

    panel->Connect_TBClick();
    EXPECT_FALSE(job->Started());
    EXPECT_FALSE(service->Running());
    EXPECT_TRUE(ui.On_Led->LedOn());
    EXPECT_TRUE(ui.Error_Led->LedOn());
    EXPECT_TRUE(panel->StatusTimerEnabled());

    graphs.initOk = true;
    panel->Settings_TBClick();
    EXPECT_EQ(calls, (std::vector<std::string>{"http.stop", "edit", "save", "http.start"}));
    EXPECT_TRUE(stoppedDuringEdit);
    EXPECT_TRUE(job->Started());  // restarted because the running lamp was lit
    EXPECT_TRUE(ui.On_Led->LedOn());
    EXPECT_FALSE(panel->RestartAfterEdit);
    EXPECT_EQ(Caption(ui.Device_Label), "Renamed");
}

TEST_F(CapturePanelTest, SettingsOfAStoppedCaptureLeavesItStopped) {
    MakeFolderPanel();
    panel->Settings_TBClick();  // no editor hook: Cancel
    EXPECT_EQ(calls, (std::vector<std::string>{"http.stop", "save", "http.start"}));
    EXPECT_FALSE(job->Started());
    EXPECT_FALSE(RunningLampOn());
}

TEST_F(CapturePanelTest, GraphMethodShowsFormatBitmapSizeAndMonitor) {
    job = MakeJob(engine::kCapEncoderDirectX, engine::kCapKindMonitor);
    job->Params.capDesktopNo = 1;
    job->Params.capPixelFormat = 6;
    MakePanel();
    const app::TCaptureFrameControls& ui = panel->Controls();
    EXPECT_EQ(Caption(ui.Source_Label), "DirectX");
    EXPECT_EQ(Caption(ui.Mode_Label), "Desktop");
    EXPECT_EQ(Caption(ui.PixelFormat_Label), "32 bit");
    EXPECT_FALSE(ui.DeskNo_Label->isHidden());
    EXPECT_EQ(Caption(ui.DeskNo_Label), "1");
    EXPECT_EQ(Caption(ui.Width_Label), "1920");
    EXPECT_EQ(Caption(ui.Height_Label), "1080");
    EXPECT_EQ(Caption(ui.TransVid_Label), "H.264");
    // The bitmap size uses the rectangle of the refresh before.
    panel->ShowCapture();
    EXPECT_EQ(Caption(ui.BmpSize_Label), "8,294");
    // A scale without pre-scaling shows 0 for width and height.
    job->Params.vidScale = 1;
    panel->ShowCapture();
    EXPECT_EQ(Caption(ui.Width_Label), "0");
    EXPECT_EQ(Caption(ui.Height_Label), "0");
}

TEST_F(CapturePanelTest, LongNameIsCutInTheTitleOnly) {
    job = MakeJob(engine::kCapEncoderSystem, engine::kCapKindFiles);
    entry.Name = std::string(80, 'W');
    MakePanel();
    const QLabel* title = panel->Controls().TopName_TntLabel;
    const std::string shown = title->text().toStdString();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(QFontMetrics(title->font()).horizontalAdvance(QString::fromStdString(shown.substr(0, shown.size() - 3))),
              app::kTitleCutWidthPx);
    EXPECT_EQ(Caption(panel->Controls().Device_Label), entry.Name);
}

// The title bar is a plain captioned panel in the face colour; the name on it is written in the window
// text colour, not in the light grey of the captions on the dark body, so it can be read.
TEST_F(CapturePanelTest, TitleIsWrittenInTheWindowTextColourOnTheTitleBarsFace) {
    entry.Name = "Front_door_2";
    MakeFolderPanel();
    panel->show();
    fw_test::PumpEvents();
    const app::TCaptureFrameControls& ui = panel->Controls();
    const QImage bar = fw_test::Render(*ui.Input_TopPanel);
    const QRect title = ui.TopName_TntLabel->geometry();
    const components::TColor face = components::ColorToRGB(components::clActiveBorder);
    const components::TColor text = components::ColorToRGB(components::clWindowText);
    ASSERT_NE(face, text);
    int textPixels = 0, captionGreyPixels = 0;
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x) {
            textPixels += fw_test::PixelAt(bar, x, y) == text;
            captionGreyPixels += fw_test::PixelAt(bar, x, y) == app::kCaptionTextColor;
        }
    EXPECT_EQ(fw_test::PixelAt(bar, title.right(), title.top()), face);
    EXPECT_GT(textPixels, 0);
    EXPECT_EQ(captionGreyPixels, 0);
}

// The share's lamp in the tab strip has the symmetric fill of its colours, not a flat one.
TEST_F(CapturePanelTest, ShareLampInTheTabStripHasTheSymmetricFill) {
    MakeFolderPanel();
    panel->show();
    panel->Connect_TBClick();  // the active HTTP share's lamp: green and lit
    fw_test::PumpEvents();
    const components::TLedLabel& led = panel->FindStreamerFrame(httpShare->Index)->ShareLed();
    ASSERT_TRUE(led.LedOn());
    ASSERT_TRUE(led.isVisible());
    constexpr components::TColor kGreenOn1 = 0x5BB700, kGreenOn2 = 0x80FF80;
    const QImage strip = fw_test::Render(*led.parentWidget());
    EXPECT_TRUE(strip.copy(led.geometry()) ==
                fw_test::SymmetricGradientAt(led.geometry(), kGreenOn1, kGreenOn2, components::gsVertical));
}

TEST_F(CapturePanelTest, DeletePostsTheEntryOnlyWhenConfirmed) {
    struct Case {
        int answer;
        bool posted;
    };
    for (const Case c : {Case{app::kMsgDlgButton1, true}, Case{app::kMsgDlgButton2, false}}) {
        SCOPED_TRACE(c.answer);
        std::vector<intptr_t> received;
        platform::MessageTarget mainWindow([&](uint32_t msg, intptr_t wParam, intptr_t lParam) {
            if (msg == engine::kWmCaptureNotify && wParam == engine::kCnDeleteCapture) received.push_back(lParam);
        });
        hooks.MainWindow = mainWindow.Handle();
        MakeFolderPanel();
        panel->Connect_TBClick();
        app::TMsgDlgRequest asked;
        {
            fw_test::ScopedMsgDlgAnswers boxes;
            boxes.answers = {c.answer};
            panel->Delete_TBClick();
            ASSERT_EQ(boxes.requests.size(), 1u);
            asked = boxes.requests[0];
        }
        fw_test::PumpEvents();
        EXPECT_FALSE(job->Started());
        EXPECT_EQ(asked.Text.toStdString(), "Capture will be deleted! Are you sure?");
        EXPECT_EQ(asked.Caption.toStdString(), "Confirmation");
        EXPECT_EQ(asked.Button1.toStdString(), "Yes");
        EXPECT_EQ(asked.Button2.toStdString(), "Cancel");
        EXPECT_EQ(received, c.posted ? std::vector<intptr_t>{entry.Idx} : std::vector<intptr_t>{});
        panel.reset();
        service.reset();
        job.reset();
    }
}

TEST_F(CapturePanelTest, PanelSavedMinimisedComesUpCollapsedAndTogglesBack) {
    job = MakeJob(engine::kCapEncoderSystem, engine::kCapKindFiles);
    entry.Minimized = true;
    MakePanel();
    EXPECT_EQ(panel->Tag(), 1);
    EXPECT_EQ(panel->height(), app::kPanelHeightCollapsed);
    EXPECT_EQ(panel->Controls().Main_ColorFrame->height(), app::kFrameHeightCollapsed);

    panel->Minimize_TBClick();
    EXPECT_EQ(panel->Tag(), 0);
    EXPECT_FALSE(entry.Minimized);
    EXPECT_EQ(panel->NormalHeight(), app::kCaptureFrameTop + app::kFrameHeightExpanded + app::kFrameBottomGap);
    EXPECT_EQ(panel->height(), panel->NormalHeight());
    EXPECT_EQ(calls, std::vector<std::string>{"adjust"});

    panel->ToggleMinimized();
    EXPECT_TRUE(entry.Minimized);
}

TEST_F(CapturePanelTest, EditorRenamesAndFreesTabsThroughTheShareTabs) {
    MakeFolderPanel();
    app::IShareTabs& tabs = *panel;
    QString caption;
    ASSERT_TRUE(tabs.TabCaption(*udpShare, caption));
    EXPECT_EQ(caption.toStdString(), "[1] UDP");
    tabs.SetTabCaption(*udpShare, "[1] HLS");
    ASSERT_TRUE(tabs.TabCaption(*udpShare, caption));
    EXPECT_EQ(caption.toStdString(), "[1] HLS");
    tabs.FreeTab(*httpShare);
    EXPECT_EQ(panel->Controls().Streamer_PageControl->count(), 1);
    EXPECT_FALSE(tabs.TabCaption(*httpShare, caption));
    EXPECT_EQ(fw_test::RunOf(*job, httpShare).FrameHandle, 0u);
    EXPECT_EQ(panel->FindStreamerFrame(httpShare->Index), nullptr);
}

}  // namespace
