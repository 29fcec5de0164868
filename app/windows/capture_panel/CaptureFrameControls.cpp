#include "app/windows/capture_panel/CaptureFrameControls.h"

#include <QLabel>

#include "app/windows/base/PanelBuilders.h"
#include "app/windows/capture_panel/StreamerPageControl.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/ColorFrames.h"
#include "components/LedLabel.h"

namespace app {

namespace {

constexpr int kTitleHeight = 26;
constexpr int kButtonSize = 22;
constexpr int kFieldCaptionHeight = 13;
constexpr int kFieldGroupHeight = 30;
constexpr int kPageControlBottomGap = 4;
constexpr int kDefaultPanelWidth = 542;

components::TBevelLabel* Field(QWidget* parent, const QString& caption, int x, int y, int width,
                               QLabel** captionOut = nullptr) {
    QLabel* label = MakeCaption(parent, caption, x, y, width);
    if (captionOut) *captionOut = label;
    return MakeValueLabel(parent, x, y + kFieldCaptionHeight, width);
}

QWidget* Group(QWidget* parent, int x, int y, int width) {
    auto* group = new QWidget(parent);
    group->setGeometry(x, y, width, kFieldGroupHeight);
    return group;
}

}  // namespace

TCaptureFrameControls BuildCaptureFrameControls(QWidget* panel) {
    TCaptureFrameControls c{};
    const int width = kDefaultPanelWidth;

    c.Input_TopPanel = new components::TCanvasPanelEx(panel);
    c.Input_TopPanel->setGeometry(4, 0, width - 8, kTitleHeight);
    c.TopName_TntLabel = MakeCaption(c.Input_TopPanel, "", 8, 6, 180);
    // The title bar is a plain captioned panel in the light face colour: the name is written in the
    // window text colour on it, not in the light grey of the captions on the dark body.
    SetCaptionColor(*c.TopName_TntLabel, components::clWindowText);
    QFont titleFont = c.TopName_TntLabel->font();
    titleFont.setPointSize(9);
    titleFont.setBold(true);
    c.TopName_TntLabel->setFont(titleFont);

    c.Connect_TB = MakeButton(panel, "Start", "", 200, 2, kButtonSize, kButtonSize);
    c.Disconn_TB = MakeButton(panel, "Stop", "", 226, 2, kButtonSize, kButtonSize);
    c.On_Led = MakeLed(panel, components::lcdGreen, 258, 8);
    c.Data_Led = MakeLed(panel, components::lcdYellow, 272, 8, kLedFlashMs);
    c.Error_Led = MakeLed(panel, components::lcdRed, 286, 8);
    c.Settings_TB = MakeButton(panel, "Settings", "", 0, 2, kButtonSize, kButtonSize);
    c.Delete_TB = MakeButton(panel, "Delete Capture", "", 0, 2, kButtonSize, kButtonSize);
    c.Minimize_TB = MakeButton(panel, "Minimize / Maximize", "", 0, 2, kButtonSize, kButtonSize);

    const struct {
        components::TCanvasPanelEx* button;
        const char* glyph;
    } pictures[] = {{c.Connect_TB, "\u25B6"}, {c.Disconn_TB, "\u25A0"}, {c.Settings_TB, "\u2699"},
                    {c.Delete_TB, "\u2715"}, {c.Minimize_TB, "\u2195"}};
    for (const auto& p : pictures) SetButtonGlyph(*p.button, QString::fromUtf8(p.glyph), kButtonSize - 6);

    c.Main_ColorFrame = new components::TColorFrames(panel);
    c.Main_ColorFrame->setGeometry(4, kCaptureFrameTop, width - 8, kFrameHeightExpanded);
    SetDarkFrameLook(*c.Main_ColorFrame);
    QWidget* body = c.Main_ColorFrame;

    c.Device_Label = Field(body, "Name", 6, 4, 150);
    c.Idx_Label = Field(body, "IDX", 160, 4, 30);
    c.RunTime_label = Field(body, "Run Time", 194, 4, 70);
    c.Mode_Label = Field(body, "Capture", 268, 4, 62);
    c.Source_Label = Field(body, "Source", 334, 4, 60);
    c.Ws_Label = Field(body, "Audio", 398, 4, 56);
    c.Archive_Label = Field(body, "Archive", 458, 4, 60);

    // One row below the header: the capture rectangle (or the stream input, or the folder), the
    // pixel format and the encodings side by side, so the share tabs get the space below.
    c.Area_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop, 216);
    c.Left_Label = Field(c.Area_Panel, "Left", 0, 0, 40);
    c.Top_Label = Field(c.Area_Panel, "Top", 44, 0, 40);
    c.Width_Label = Field(c.Area_Panel, "Width", 88, 0, 40);
    c.Height_Label = Field(c.Area_Panel, "Height", 132, 0, 40);
    c.DeskNo_Label = Field(c.Area_Panel, "DeskNo", 176, 0, 40, &c.DeskNoCaption);

    c.TsUdp_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop, 216);
    c.TsIp_Label = Field(c.TsUdp_Panel, "Input IP Address", 0, 0, 110);
    c.TsPort_Label = Field(c.TsUdp_Panel, "Port", 114, 0, 50);

    c.SysFile_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop, 330);
    c.FileDir_Label = Field(c.SysFile_Panel, "Source Directory", 0, 0, 210);
    c.FileFmt_Label = Field(c.SysFile_Panel, "Format", 214, 0, 52);
    c.Convert_Label = Field(c.SysFile_Panel, "Convert", 270, 0, 56);

    c.Format_Panel = Group(body, 226, kFieldGroupTop, 110);
    c.PixelFormat_Label = Field(c.Format_Panel, "Format", 0, 0, 50);
    c.BmpSize_Label = Field(c.Format_Panel, "Bmp [kByte]", 54, 0, 56);

    // The audio column is never shown, so it comes last and the visible ones stay together.
    c.AV_Panel = Group(body, 346, kFieldGroupTop, 190);
    c.TransVid_Label = Field(c.AV_Panel, "Video", 0, 0, 50, &c.TransVidCaption);
    c.TransScale_Label = Field(c.AV_Panel, "Scale", 54, 0, 44, &c.TransScaleCaption);
    c.TransImg_Label = Field(c.AV_Panel, "Snap-Img", 102, 0, 44, &c.TransImgCaption);
    c.TransAud_Label = Field(c.AV_Panel, "Audio", 150, 0, 40, &c.TransAudCaption);
    c.TransAud_Label->hide();
    c.TransAudCaption->hide();

    constexpr int pageTop = kFieldGroupTop + kFieldGroupHeight + 2;
    c.Streamer_PageControl = new TStreamerPageControl(body);
    c.Streamer_PageControl->setGeometry(4, pageTop, width - 16, kFrameHeightExpanded - kPageControlBottomGap - pageTop);
    return c;
}

}  // namespace app
