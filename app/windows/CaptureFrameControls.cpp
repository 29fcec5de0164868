#include "app/windows/CaptureFrameControls.h"

#include <QLabel>

#include "app/windows/PanelBuilders.h"
#include "app/windows/StreamerPageControl.h"
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
constexpr int kPageControlHeight = 78;
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
    for (const auto& p : pictures) p.button->SetPicture(GlyphImage(QString::fromUtf8(p.glyph), kButtonSize - 6));

    c.Main_ColorFrame = new components::TColorFrames(panel);
    c.Main_ColorFrame->setGeometry(4, kCaptureFrameTop, width - 8, kFrameHeightExpanded);
    c.Main_ColorFrame->BevelMain().SetbmBkgndColor(kPanelBackgroundColor);
    QWidget* body = c.Main_ColorFrame;

    c.Device_Label = Field(body, "Name", 6, 4, 150);
    c.Idx_Label = Field(body, "IDX", 160, 4, 30);
    c.RunTime_label = Field(body, "Run Time", 194, 4, 70);
    c.Mode_Label = Field(body, "Capture", 268, 4, 62);
    c.Source_Label = Field(body, "Source", 334, 4, 60);
    c.Ws_Label = Field(body, "Audio", 398, 4, 56);
    c.Archive_Label = Field(body, "Archive", 458, 4, 60);

    c.Area_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop, 272);
    c.Left_Label = Field(c.Area_Panel, "Left", 0, 0, 50);
    c.Top_Label = Field(c.Area_Panel, "Top", 54, 0, 50);
    c.Width_Label = Field(c.Area_Panel, "Width", 108, 0, 50);
    c.Height_Label = Field(c.Area_Panel, "Height", 162, 0, 50);
    c.DeskNo_Label = Field(c.Area_Panel, "DeskNo", 216, 0, 50, &c.DeskNoCaption);

    c.TsUdp_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop, 272);
    c.TsIp_Label = Field(c.TsUdp_Panel, "Input IP Address", 0, 0, 100);
    c.TsPort_Label = Field(c.TsUdp_Panel, "Port", 104, 0, 50);

    c.SysFile_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop, 390);
    c.FileDir_Label = Field(c.SysFile_Panel, "Source Directory", 0, 0, 270);
    c.FileFmt_Label = Field(c.SysFile_Panel, "Format", 274, 0, 50);
    c.Convert_Label = Field(c.SysFile_Panel, "Convert", 328, 0, 56);

    c.AV_Panel = Group(body, 290, kFieldGroupTop, 230);
    c.TransVid_Label = Field(c.AV_Panel, "Video", 0, 0, 52, &c.TransVidCaption);
    c.TransScale_Label = Field(c.AV_Panel, "Scale", 56, 0, 52, &c.TransScaleCaption);
    c.TransAud_Label = Field(c.AV_Panel, "Audio", 112, 0, 52, &c.TransAudCaption);
    c.TransAud_Label->hide();
    c.TransAudCaption->hide();
    c.TransImg_Label = Field(c.AV_Panel, "Snap-Img", 168, 0, 56, &c.TransImgCaption);

    c.Format_Panel = Group(body, kFieldGroupLeft, kFieldGroupTop + kFieldGroupHeight + 2, 140);
    c.PixelFormat_Label = Field(c.Format_Panel, "Format", 0, 0, 50);
    c.BmpSize_Label = Field(c.Format_Panel, "Bmp [kByte]", 54, 0, 80);

    c.Streamer_PageControl = new TStreamerPageControl(body);
    c.Streamer_PageControl->setGeometry(4, kFrameHeightExpanded - 4 - kPageControlHeight, width - 16,
                                        kPageControlHeight);
    return c;
}

}  // namespace app
