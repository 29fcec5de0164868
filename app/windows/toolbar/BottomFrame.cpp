#include "app/windows/toolbar/BottomFrame.h"

#include <QLabel>
#include <QResizeEvent>
#include <ctime>

#include "app/settings/app_globals.h"
#include "app/windows/base/PanelBuilders.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/ColorFrames.h"
#include "components/LedLabel.h"
#include "engine/settings/program_state.h"
#include "engine/util/capture_notify.h"

namespace app {

namespace {

constexpr int kGroupTop = 4;
constexpr int kLampCaptionTop = 18;
constexpr int kLampTop = 32;
constexpr int kCountWidth = 34;
constexpr int kStartTimeFontPt = 7;
constexpr const char* kStartTimeFormat = "%Y-%m-%d %H:%M:%S";

QWidget* Group(QWidget* parent, const QString& caption, int x, int width, QLabel** captionOut = nullptr) {
    auto* group = new QWidget(parent);
    group->setGeometry(x, kGroupTop, width, kStatusBarHeight - 2 * kGroupTop);
    QLabel* label = MakeCaption(group, caption, 2, 0, width - 4);
    if (captionOut) *captionOut = label;
    return group;
}

components::TLedLabel* Lamp(QWidget* group, const QString& caption, components::TColorLed color, int x,
                            int autoOffMs = 0, QLabel** captionOut = nullptr) {
    QLabel* label = MakeCaption(group, caption, x - 2, kLampCaptionTop - 4, 26);
    if (captionOut) *captionOut = label;
    return MakeLed(group, color, x, kLampTop - 4, autoOffMs);
}

std::string StartTimeText(std::chrono::system_clock::time_point time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, kStartTimeFormat, &local);
    return buffer;
}

}  // namespace

TBottom_Frame::TBottom_Frame(QWidget* parent) : QWidget(parent) { BuildControls(); }

void TBottom_Frame::BuildControls() {
    using namespace components;
    ui_.Status_Frame = new TColorFrames(this);
    ui_.Status_Frame->setGeometry(0, 0, 550, kStatusBarHeight);
    SetDarkFrameLook(*ui_.Status_Frame);
    ui_.Status_Frame->SetHitTest(htForm);
    QWidget* bar = ui_.Status_Frame;

    QWidget* captures = Group(bar, "Vexmira", 6, 150);
    ui_.CapOn_Led = Lamp(captures, "On", lcdGreen, 4);
    MakeCaption(captures, "Captures", 24, kLampCaptionTop - 4, 50);
    ui_.MainCap_Label = MakeValueLabel(captures, 24, kLampTop - 6, kCountWidth);
    ui_.VidData_Led = Lamp(captures, "Vid", lcdYellow, 80, kLedFlashMs, &ui_.VidCaption);
    ui_.ImgData_Led = Lamp(captures, "Img", lcdYellow, 102, kLedFlashMs);
    ui_.FileData_Led = Lamp(captures, "File", lcdYellow, 124, kLedFlashMs);

    QWidget* http = Group(bar, "HTTP Server", 160, 80);
    ui_.Http_Led = Lamp(http, "On", lcdGreen, 4);
    ui_.Http_Label = MakeValueLabel(http, 24, kLampTop - 6, kCountWidth);

    QWidget* ws = Group(bar, "Web-Socket", 244, 80);
    ui_.Ws_Led = Lamp(ws, "On", lcdGreen, 4);
    ui_.WS_Label = MakeValueLabel(ws, 24, kLampTop - 6, kCountWidth);

    QWidget* system = Group(bar, "System", 328, 192, &ui_.SystemCaption);
    MakeCaption(system, "Start", 4, kLampCaptionTop - 4, 110);
    ui_.SysStart_CPanel = new TCanvasPanelEx(system);
    ui_.SysStart_CPanel->setGeometry(4, kLampTop - 6, 116, kValueLabelHeight);
    QFont startFont = ui_.SysStart_CPanel->font();
    startFont.setPointSize(kStartTimeFontPt);  // the whole date and time fit the field
    ui_.SysStart_CPanel->setFont(startFont);
    ui_.Screesaver_LED = Lamp(system, "KSA", lcdBlue, 126);
    ui_.SysError_Led = Lamp(system, "Err", lcdRed, 148);
    ui_.MainData_LED = Lamp(system, "Data", lcdYellow, 170);

    ui_.MinMax_TB = MakeButton(bar, "Minimize App", "", 0, 0, kMinMaxButtonSize, kMinMaxButtonSize);
    SetButtonGlyph(*ui_.MinMax_TB, QString::fromUtf8("\u25A3"), kMinMaxButtonSize - 4);
}

void TBottom_Frame::InitStatusBar(std::function<void(bool keepPosition)> setCompactMode,
                                  std::chrono::system_clock::time_point now) {
    if (engine::VlcMissing) {
        ui_.VidData_Led->LedColor().SetllColor(components::lcdGray);
        SetCaptionColor(*ui_.VidCaption, kGreyedCaptionColor);
    }
    setCompactMode_ = std::move(setCompactMode);
    components::TCanvasPanelEx* minMax = ui_.MinMax_TB;
    minMax->OnClick = [this](QWidget*) { MinMax_TBClick(); };
    minMax->OnMouseEnter = [minMax](QWidget*) { minMax->ImageProp().SetipGrayScale(false); };
    minMax->OnMouseLeave = [minMax](QWidget*) { minMax->ImageProp().SetipGrayScale(true); };
    setFixedHeight(ui_.Status_Frame->height());
    ui_.SysStart_CPanel->SetCaption(QString::fromStdString(StartTimeText(now)));
    ui_.SysError_Led->SetLedOn(false);
    const int instance = InstanceIndex;
    if (instance > 0) ui_.SystemCaption->setText(QString("[%1] System").arg(instance));
    for (components::TLedLabel* led : {ui_.CapOn_Led, ui_.Ws_Led, ui_.Http_Led}) led->SetLedOn(false);
    FrameResize();
}

void TBottom_Frame::ShowStatus(const TStatusBarValues& values) {
    ui_.MainCap_Label->SetCaption(QString::number(values.Captures));
    ui_.CapOn_Led->SetLedOn(values.AnyCaptureRunning);
    ui_.Screesaver_LED->SetLedOn(values.KeepAwake);
    ui_.Ws_Led->SetLedOn(values.AnyWebSocketActive);
    ui_.WS_Label->SetCaption(QString::number(values.WebSockets));
    ui_.Http_Led->SetLedOn(values.AnyServerListening);
    ui_.Http_Label->SetCaption(QString::number(values.WebServers));
}

void TBottom_Frame::ShowCaptureNotify(intptr_t kind) {
    components::TLedLabel* led = nullptr;
    if (kind == engine::kCnImageData) led = ui_.ImgData_Led;
    if (kind == engine::kCnVideoData) led = ui_.VidData_Led;
    if (kind == engine::kCnFileData) led = ui_.FileData_Led;
    if (led && !led->LedOn()) led->SetLedOn(true);
}

void TBottom_Frame::MinMax_TBClick() {
    if (setCompactMode_) setCompactMode_(false);
}

void TBottom_Frame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ui_.Status_Frame->resize(width(), ui_.Status_Frame->height());
    FrameResize();
}

void TBottom_Frame::FrameResize() {
    components::TColorFrames* frame = ui_.Status_Frame;
    components::TCanvasPanelEx* button = ui_.MinMax_TB;
    button->move(frame->width() - frame->BevelOuterSub().bpWidth() - button->width() - kMinMaxButtonGap,
                 frame->height() / 2 - button->height() / 2);
}

}  // namespace app
