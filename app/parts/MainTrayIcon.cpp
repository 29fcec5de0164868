#include "app/parts/MainTrayIcon.h"

#include <QImage>
#include <QPainter>

#include "app/mainform/MainForm.h"
#include "components/QtAppTaskbar.h"
#include "components/QtTrayArea.h"

namespace app {
namespace {

// The program's colours: a light frame on the window's dark green.
components::TIconImage DrawTrayIcon() {
    constexpr int kSize = 16;
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(QColor(0x30, 0x3F, 0x3E));
    QPainter painter(&image);
    painter.setPen(QColor(0xFF, 0xFF, 0xFF));
    painter.drawRect(2, 3, 11, 8);
    painter.fillRect(5, 12, 6, 2, QColor(0xFF, 0xFF, 0xFF));
    painter.end();
    return components::TIconImage::Encode4Bit(image, kSize);
}

}  // namespace

TMainTrayIcon::TMainTrayIcon(QWidget* mainWindow, TTrayMenuActions actions)
    : mainWindow_(mainWindow), actions_(std::move(actions)), menu_(std::make_unique<QMenu>()) {
    resources_.Add(components::TIconResources::kApplicationIconName, DrawTrayIcon());
    const auto call = [](const std::function<void()>& action) {
        return [action] {
            if (action) action();
        };
    };
    menu_->addAction(QStringLiteral("Show/Hide"), call(actions_.ShowHide));
    menu_->addAction(QStringLiteral("Settings"), call(actions_.Settings));
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Exit"), call(actions_.Exit));

    auto taskbar = std::make_unique<components::TQtAppTaskbar>(mainWindow);
    taskbar_ = taskbar.get();
    icon_ = std::make_unique<components::TNotifyIcon>(std::make_unique<components::TQtTrayArea>(), std::move(taskbar),
                                                      resources_);
    icon_->SetApplicationIcon(true);
    icon_->SetIconHint(QString::fromLatin1(kMainCaption));
    icon_->SetPopupMenu(menu_.get());
    icon_->OnLButtonDblClick = call(actions_.ShowHide);
    icon_->OnDockChange = [this] { DockChanged(); };
}

TMainTrayIcon::~TMainTrayIcon() { icon_->SessionEnd(); }

void TMainTrayIcon::SetShown(bool on) {
    icon_->SetApplicationHide(on);
    icon_->SetNotify(on);
}

void TMainTrayIcon::ShowHide() {
    if (!mainWindow_) return;
    QWidget& window = *mainWindow_;
    icon_->FollowDock();
    // Minimised is still shown: with a tray it goes there too; without one it comes back.
    if (window.isVisible() && (Docked() || !window.isMinimized())) {
        if (Docked())
            window.hide();
        else
            window.showMinimized();
        return;
    }
    Restore();
}

void TMainTrayIcon::Restore() {
    mainWindow_->showNormal();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

// A tray host that quits takes the icon along; the window it held must not stay out of reach. With the
// icon switched off, the settings sequence shows the window itself.
void TMainTrayIcon::DockChanged() {
    if (!mainWindow_ || Docked() || mainWindow_->isVisible() || !Shown()) return;
    qWarning("[tray] the notification area is gone; the main window is restored");
    Restore();
}

}  // namespace app
