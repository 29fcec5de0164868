#include "components/QtTrayArea.h"

#include <QCursor>
#include <QMenu>

namespace components {

namespace {
constexpr uint32_t kLeftPress = 0x201;
constexpr uint32_t kLeftDoubleClick = 0x203;
constexpr uint32_t kRightPress = 0x204;
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

QPoint TQtTrayArea::CursorPos() const { return QCursor::pos(); }

void TQtTrayArea::PopupMenu(QMenu* menu, QPoint screenPos) {
    if (menu) menu->popup(screenPos);
}

// The tray reports a press at once and a second press as a double click, as the component expects.
void TQtTrayArea::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (!handler_) return;
    switch (reason) {
        case QSystemTrayIcon::Trigger: handler_(kLeftPress); break;
        case QSystemTrayIcon::DoubleClick: handler_(kLeftDoubleClick); break;
        case QSystemTrayIcon::Context: handler_(kRightPress); break;
        default: break;
    }
}

}  // namespace components
