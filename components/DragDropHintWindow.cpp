#include "components/DragDropHintWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace components {

namespace {
// How long the platform's own tooltips of this length stay.
constexpr int kHintHidePauseMs = 10000;
}  // namespace

TDragDropHintWindow::TDragDropHintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(QToolTip::font());
    setPalette(QToolTip::palette());
}

int TDragDropHintWindow::HintPauseMs() { return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay); }

int TDragDropHintWindow::HintHidePauseMs() { return kHintHidePauseMs; }

void TDragDropHintWindow::ActivateHint(QPoint pointer, const QString& text) {
    text_ = text;
    const QFontMetrics metrics(font());
    setGeometry(pointer.x(), pointer.y() - kAbovePointerPx, metrics.horizontalAdvance(text) + 2 * kTextMarginPx,
                metrics.height());
    show();
    raise();
    update();
}

void TDragDropHintWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().toolTipBase());
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().toolTipText().color());
    painter.drawText(rect().adjusted(kTextMarginPx, 0, -kTextMarginPx, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

}  // namespace components
