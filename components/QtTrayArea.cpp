#include "components/QtTrayArea.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>
#include <QWindow>

#include "components/TrayMessages.h"

namespace components {

namespace {

// Qt's own name for the window it docks into an XEmbed tray host.
constexpr char kDockedIconWidgetName[] = "QSystemTrayIconSys";

// Qt maps the icon's window only once the tray host has docked it; until then the icon's place is the
// window's own first one, at the screen's corner, where nothing is drawn.
bool DockedAt(const QRect& place) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() != QLatin1String(kDockedIconWidgetName)) continue;
        const QWindow* window = widget->windowHandle();
        if (window && window->isExposed() && QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()) == place)
            return true;
    }
    return false;
}

}  // namespace

TQtTrayArea::TQtTrayArea() {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
}

TQtTrayArea::~TQtTrayArea() { icon_.hide(); }

bool TQtTrayArea::Add(const TIconImage& icon, const QString& tip) {
    icon_.setIcon(icon.ToQIcon());
    icon_.setToolTip(tip);
    icon_.show();
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (!available && !missingTrayLogged_) {
        qWarning("[tray] the desktop has no notification area; the icon shows when one appears");
        missingTrayLogged_ = true;
    }
    return available;
}

bool TQtTrayArea::Modify(const TIconImage& icon, const QString& tip) {
    icon_.setIcon(icon.ToQIcon());
    icon_.setToolTip(tip);
    return icon_.isVisible();
}

void TQtTrayArea::Delete() { icon_.hide(); }

// Without a tray host the icon's window is not docked anywhere and its place means nothing.
QRect TQtTrayArea::IconGeometry() const {
    if (!icon_.isVisible() || !QSystemTrayIcon::isSystemTrayAvailable()) return {};
    const QRect place = icon_.geometry();
    return DockedAt(place) ? place : QRect();
}

QPoint TQtTrayArea::CursorPos() const { return QCursor::pos(); }

void TQtTrayArea::PopupMenu(QMenu* menu, QPoint screenPos) {
    if (menu) menu->popup(screenPos);
}

// The tray reports a press at once and a second press as a double click, as the component expects.
void TQtTrayArea::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (!handler_) return;
    switch (reason) {
        case QSystemTrayIcon::Trigger: handler_(tray_message::kLButtonDown); break;
        case QSystemTrayIcon::DoubleClick: handler_(tray_message::kLButtonDblClk); break;
        case QSystemTrayIcon::Context: handler_(tray_message::kRButtonDown); break;
        default: break;
    }
}

}  // namespace components
