// The children of a capture panel, made and placed once: title bar, value fields with their static
// captions, the field groups that the capture method and source kind show or hide, the lamps, the
// buttons and the share-tab strip.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace components {
class TBevelLabel;
class TCanvasPanelEx;
class TColorFrames;
class TLedLabel;
}  // namespace components

namespace app {

class TStreamerPageControl;

constexpr int kCaptureFrameTop = 26;        // the body starts below the title bar
constexpr int kFrameHeightExpanded = 170;
constexpr int kFrameHeightCollapsed = 4;
constexpr int kPanelHeightCollapsed = 30;
constexpr int kFrameBottomGap = 8;
constexpr int kFieldGroupLeft = 5;
constexpr int kFieldGroupTop = 42;

struct TCaptureFrameControls {
    components::TCanvasPanelEx* Input_TopPanel;
    QLabel* TopName_TntLabel;
    components::TColorFrames* Main_ColorFrame;
    components::TBevelLabel* Device_Label;
    components::TBevelLabel* Idx_Label;
    components::TBevelLabel* RunTime_label;
    components::TBevelLabel* Mode_Label;
    components::TBevelLabel* Source_Label;
    components::TBevelLabel* Ws_Label;
    components::TBevelLabel* Archive_Label;
    QWidget* Area_Panel;
    components::TBevelLabel* Left_Label;
    components::TBevelLabel* Top_Label;
    components::TBevelLabel* Width_Label;
    components::TBevelLabel* Height_Label;
    components::TBevelLabel* DeskNo_Label;
    QLabel* DeskNoCaption;
    QWidget* TsUdp_Panel;
    components::TBevelLabel* TsIp_Label;
    components::TBevelLabel* TsPort_Label;
    QWidget* AV_Panel;
    components::TBevelLabel* TransVid_Label;
    QLabel* TransVidCaption;
    components::TBevelLabel* TransScale_Label;
    QLabel* TransScaleCaption;
    components::TBevelLabel* TransAud_Label;
    QLabel* TransAudCaption;
    components::TBevelLabel* TransImg_Label;
    QLabel* TransImgCaption;
    QWidget* Format_Panel;
    components::TBevelLabel* PixelFormat_Label;
    components::TBevelLabel* BmpSize_Label;
    QWidget* SysFile_Panel;
    components::TBevelLabel* FileDir_Label;
    components::TBevelLabel* FileFmt_Label;
    components::TBevelLabel* Convert_Label;
    components::TLedLabel* On_Led;
    components::TLedLabel* Data_Led;
    components::TLedLabel* Error_Led;
    components::TCanvasPanelEx* Connect_TB;
    components::TCanvasPanelEx* Disconn_TB;
    components::TCanvasPanelEx* Settings_TB;
    components::TCanvasPanelEx* Delete_TB;
    components::TCanvasPanelEx* Minimize_TB;
    TStreamerPageControl* Streamer_PageControl;
};

TCaptureFrameControls BuildCaptureFrameControls(QWidget* panel);

}  // namespace app
