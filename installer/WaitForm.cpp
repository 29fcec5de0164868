#include "installer/WaitForm.h"

#include <QLabel>
#include <QProgressBar>

#include "installer/ColorFrames.h"
#include "installer/ButtonLooks.h"
#include "installer/CanvasPanelEx.h"
#include "platform/ui/ttimer.h"

namespace hollarin {

namespace {

constexpr components::TColor kWaitFormColor = 0x402000;
constexpr components::TColor kInfoTextColor = 0x80FFFF;  // light yellow
constexpr int kFrameWidth = 300;
constexpr int kFrameHeight = 120;
constexpr int kInfoTopHidden = 16;
constexpr int kAddInfoTop = 28;

struct TModeRow {
    int Mode;
    const char* Text;
    int TextTop;
    bool Gauge;
    int GaugeMax;  // 0: as the caller set it
    bool GaugeTimer;
};

constexpr TModeRow kModes[] = {
    {kWaitModeDownload, "... Download ...", 25, false, 0, false},
    {kWaitModeScanning, "... Scanning ...", 7, true, 0, true},
    {kWaitModeDownloading, "... downloading ...", 7, true, 0, false},
    {kWaitModeUnpacking, "... unpacking ...", 7, true, TWait_Form::kCyclingGaugeMax, true},
    {kWaitModePreparing, "... preparing ...", 7, true, TWait_Form::kCyclingGaugeMax, true},
    {kWaitModeRecording, "... Recording ...", 5, false, 0, false},
    {kWaitModeAnalyze, "... Analyze M/H Service Data ...", 7, true, 0, true},
};

void SetBackground(QWidget& widget, components::TColor color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, components::ToQColor(color));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace

TWait_Form::TWait_Form()
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      waitTimer_(std::make_unique<platform::TTimer>()),
      gaugeTimer_(std::make_unique<platform::TTimer>()),
      closeTimer_(std::make_unique<platform::TTimer>()) {
    SetBackground(*this, kWaitFormColor);
    frame_ = new TColorFrames(this);
    frame_->setGeometry(0, 0, kFrameWidth, kFrameHeight);

    infoLabel_ = new QLabel(frame_);
    infoLabel_->setAlignment(Qt::AlignCenter);
    infoLabel_->setGeometry(10, kInfoTopHidden, kFrameWidth - 20, 20);
    QFont bold = infoLabel_->font();
    bold.setBold(true);
    infoLabel_->setFont(bold);
    QPalette infoPalette = infoLabel_->palette();
    infoPalette.setColor(QPalette::WindowText, components::ToQColor(kInfoTextColor));
    infoLabel_->setPalette(infoPalette);

    addInfoLabel_ = new QLabel(frame_);
    addInfoLabel_->setAlignment(Qt::AlignCenter);
    addInfoLabel_->setGeometry(10, kAddInfoTop, kFrameWidth - 20, 20);
    addInfoLabel_->setPalette(infoPalette);

    gaugeFrame_ = new TColorFrames(frame_);
    gaugeFrame_->setGeometry(20, 34, kFrameWidth - 40, 30);
    gauge_ = new QProgressBar(gaugeFrame_);
    gauge_->setTextVisible(false);
    gauge_->setGeometry(6, 6, kFrameWidth - 52, 18);

    breakButton_ = new TCanvasPanelEx(frame_);
    breakButton_->setGeometry((kFrameWidth - 90) / 2, 76, 90, 28);
    breakButton_->SetCaption(QStringLiteral("Break"));
    WireButtonLooks(*breakButton_);
    breakButton_->OnClick = [this](QWidget*) {
        if (OnBreak) OnBreak(mode_);
    };

    waitTimer_->SetEnabled(false);
    waitTimer_->SetInterval(kRepaintOwnerMs);
    waitTimer_->SetOnTimer([this] { WaitTimerTick(); });
    gaugeTimer_->SetEnabled(false);
    gaugeTimer_->SetInterval(kGaugeStepMs);
    gaugeTimer_->SetOnTimer([this] { GaugeTimerTick(); });
    closeTimer_->SetEnabled(false);
    closeTimer_->SetOnTimer([this] {
        closeTimer_->SetEnabled(false);
        FinishClose();
    });
}

TWait_Form::~TWait_Form() = default;

QString TWait_Form::InfoText() const { return infoLabel_->isVisible() ? infoLabel_->text() : QString(); }
bool TWait_Form::GaugeShown() const { return gauge_->isVisibleTo(this) && gaugeFrame_->isVisibleTo(this); }
int TWait_Form::GaugeMax() const { return gauge_->maximum(); }
int TWait_Form::GaugePosition() const { return gauge_->value(); }
bool TWait_Form::GaugeTimerRunning() const { return gaugeTimer_->Enabled(); }

void TWait_Form::SetGaugeMax(int value) { gauge_->setMaximum(value); }
void TWait_Form::SetGaugeProgress(int value) { gauge_->setValue(std::min(value, gauge_->maximum())); }
void TWait_Form::SetAddInfo(const QString& text) {
    addInfoLabel_->setText(text);
    addInfoLabel_->repaint();
}

void TWait_Form::SetInfoText(const QString& text) {
    infoLabel_->setText(text);
    infoLabel_->repaint();
}

void TWait_Form::ShowWait(int mode, QWidget* owner) {
    if (owner == nullptr || !owner->isVisible()) return;
    ++showCount_;
    if (isVisible() && !closing_) return;
    if (closing_) {
        closeTimer_->SetEnabled(false);
        closing_ = false;
    }
    mode_ = mode;
    owner_ = owner;
    FormShow();
    show();
    repaint();
}

void TWait_Form::FormShow() {
    setFixedSize(frame_->size());
    if (owner_) {
        const QRect o = owner_->geometry();
        move(o.left() + o.width() / 2 - width() / 2, o.top() + o.height() / 2 - height() / 2);
        owner_->setEnabled(false);
    }
    ApplyMode();
    shownAt_.start();
    waitTimer_->SetEnabled(true);
}

void TWait_Form::ApplyMode() {
    gauge_->hide();
    infoLabel_->move(infoLabel_->x(), kInfoTopHidden);
    infoLabel_->hide();
    gaugeFrame_->hide();
    addInfoLabel_->hide();
    gaugeTimer_->SetEnabled(false);
    for (const TModeRow& row : kModes) {
        if (row.Mode != mode_) continue;
        infoLabel_->setText(QString::fromLatin1(row.Text));
        infoLabel_->move(infoLabel_->x(), row.TextTop);
        infoLabel_->show();
        if (row.Gauge) {
            if (row.GaugeMax > 0) gauge_->setMaximum(row.GaugeMax);
            gauge_->setValue(0);
            gaugeFrame_->show();
            gauge_->show();
        }
        gaugeTimer_->SetEnabled(row.GaugeTimer);
        if (mode_ == kWaitModeRecording) {
            addInfoLabel_->setText(QStringLiteral("0 MByte"));
            addInfoLabel_->show();
        }
    }
}

void TWait_Form::EndWait() {
    --showCount_;
    if (isVisible() && !closing_ && showCount_ <= 0) Close();
    gaugeTimer_->SetEnabled(false);
}

void TWait_Form::Close() {
    waitTimer_->SetEnabled(false);
    const qint64 remainingMs = kMinShowMs - shownAt_.elapsed();
    if (remainingMs <= 0) {
        FinishClose();
        return;
    }
    closing_ = true;
    closeTimer_->SetInterval(uint32_t(remainingMs));
    closeTimer_->SetEnabled(true);
}

void TWait_Form::FinishClose() {
    closing_ = false;
    hide();
    if (owner_) owner_->setEnabled(true);
}

void TWait_Form::WaitTimerTick() {
    if (owner_) owner_->repaint();
}

void TWait_Form::GaugeTimerTick() {
    if (gauge_->value() == gauge_->maximum()) gauge_->setValue(0);
    gauge_->setValue(gauge_->value() + 1);
    repaint();
}

}  // namespace hollarin
