#include "app/windows/small_windows/Wait_Form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include "platform/ui/ttimer.h"

namespace app {

namespace {

constexpr int kShapeWidthPx = 260;
constexpr int kShapeHeightPx = 80;
constexpr int kLabelTopPx = 16;
constexpr int kLabelLowTopPx = 32;
constexpr int kGaugeTopPx = 44;
constexpr int kInnerMarginPx = 12;
constexpr int kCloseWaitSliceMs = 10;  // how long each round of the minimum wait sleeps between events

const char* const kPleaseWaitText = "... please wait ...";
const char* const kOutputLevelText = "... Get Current Output Level ...";

}  // namespace

TWait_Form::TWait_Form(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      shape1_(new QFrame(this)),
      waitGauge_(new QProgressBar(this)),
      infoLabel_(new QLabel(this)),
      waitTimer_(std::make_unique<platform::TTimer>()) {
    setObjectName(QStringLiteral("Wait_Form"));
    // A caption of its own: it covers the main window while a capture of that window starts.
    setWindowTitle(QStringLiteral("Framewick - Wait"));
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape1_->setLineWidth(2);
    shape1_->setGeometry(0, 0, kShapeWidthPx, kShapeHeightPx);

    waitGauge_->setObjectName(QStringLiteral("Wait_Gauge"));
    waitGauge_->setRange(0, 100);
    waitGauge_->setTextVisible(false);
    waitGauge_->setGeometry(kInnerMarginPx, kGaugeTopPx, kShapeWidthPx - 2 * kInnerMarginPx, 16);

    infoLabel_->setObjectName(QStringLiteral("Info_Label"));
    infoLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    infoLabel_->setGeometry(kInnerMarginPx, kLabelTopPx, kShapeWidthPx - 2 * kInnerMarginPx, 20);

    waitTimer_->SetEnabled(false);
    waitTimer_->SetInterval(kRepaintIntervalMs);
    waitTimer_->SetOnTimer([this] { WaitTimerTimer(); });
}

TWait_Form::~TWait_Form() = default;

bool TWait_Form::WaitTimerRunning() const { return waitTimer_->Enabled(); }

void TWait_Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setFixedSize(shape1_->size());
    if (ownerForm_) {
        const QRect owner = ownerForm_->frameGeometry();
        move(owner.left() + owner.width() / 2 - width() / 2, owner.top() + owner.height() / 2 - height() / 2);
        ownerForm_->setEnabled(false);
    }
    waitGauge_->hide();
    infoLabel_->hide();
    infoLabel_->move(infoLabel_->x(), kLabelTopPx);
    switch (mode_) {
        case 0:
            waitGauge_->setValue(0);
            waitGauge_->show();
            infoLabel_->setText(QString::fromLatin1(kPleaseWaitText));
            infoLabel_->show();
            break;
        case 1:
            infoLabel_->setText(QString::fromLatin1(kPleaseWaitText));
            infoLabel_->move(infoLabel_->x(), kLabelLowTopPx);
            infoLabel_->show();
            break;
        case 2:
            infoLabel_->setText(QString::fromLatin1(kOutputLevelText));
            infoLabel_->move(infoLabel_->x(), kLabelLowTopPx);
            infoLabel_->show();
            break;
        default:
            break;
    }
    showTick_.start();
    waitTimer_->SetEnabled(true);
}

void TWait_Form::closeEvent(QCloseEvent* event) {
    // A close asked for while the minimum wait runs is the same close: let the first one finish it.
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    waitTimer_->SetEnabled(false);
    while (showTick_.isValid() && showTick_.elapsed() < kMinShowMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kCloseWaitSliceMs);
        QThread::msleep(kCloseWaitSliceMs);
    }
    if (ownerForm_) ownerForm_->setEnabled(true);
    closing_ = false;
    event->accept();
}

void TWait_Form::WaitTimerTimer() {
    if (ownerForm_) ownerForm_->repaint();
}

}  // namespace app
