#include "components/DragDropWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "components/NetWmState.h"
#include "components/TrayMessages.h"

namespace components {

namespace {

// Files only, as the shell's drop target takes them.
bool CarriesFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return true;
    return false;
}

}  // namespace

TDragDropWindow::TDragDropWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(kSizePx, kSizePx);
    setMouseTracking(true);
    setAcceptDrops(true);
}

void TDragDropWindow::PlaceOver(const QRect& iconGeometry) {
    if (iconGeometry.isEmpty()) {
        hide();
        return;
    }
    const QRect place(iconGeometry.x() + (iconGeometry.width() - kSizePx) / 2,
                      iconGeometry.y() + (iconGeometry.height() - kSizePx) / 2, kSizePx, kSizePx);
    if (!isVisible() || geometry() != place) {
        QScreen* screen = QGuiApplication::screenAt(place.center());
        if (!screen) screen = QGuiApplication::primaryScreen();
        beneath_ = screen ? screen->grabWindow(0, place.x(), place.y(), kSizePx, kSizePx) : QPixmap();
        setGeometry(place);
        if (!isVisible()) TNetWmState::SetSkipTaskbar(*this, true);  // a tool window: no task-bar button
        show();
        update();
    }
    raise();
}

void TDragDropWindow::KeepOnTop() {
    if (isVisible()) raise();
}

void TDragDropWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (beneath_.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawPixmap(0, 0, beneath_);
}

void TDragDropWindow::Send(uint32_t message) {
    if (forward_) forward_(message);
}

void TDragDropWindow::mouseMoveEvent(QMouseEvent*) { Send(tray_message::kMouseMove); }

void TDragDropWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Send(tray_message::kLButtonDown);
    else if (event->button() == Qt::RightButton)
        Send(tray_message::kRButtonDown);
}

void TDragDropWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Send(tray_message::kLButtonDblClk);
    else if (event->button() == Qt::RightButton)
        Send(tray_message::kRButtonDblClk);
}

void TDragDropWindow::enterEvent(QEnterEvent*) { Send(tray_message::kMouseEnter); }

void TDragDropWindow::leaveEvent(QEvent*) { Send(tray_message::kMouseLeave); }

// Whether files come is told while the drag is over the window; at the drop itself the data may
// no longer be there to read.
void TDragDropWindow::dragEnterEvent(QDragEnterEvent* event) {
    filesOffered_ = CarriesFiles(event->mimeData());
    if (filesOffered_) event->acceptProposedAction();
}

void TDragDropWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (filesOffered_) event->acceptProposedAction();
}

void TDragDropWindow::dragLeaveEvent(QDragLeaveEvent*) { filesOffered_ = false; }

void TDragDropWindow::dropEvent(QDropEvent* event) {
    if (!filesOffered_) return;
    filesOffered_ = false;
    event->acceptProposedAction();
    Send(tray_message::kDropFiles);
}

}  // namespace components
