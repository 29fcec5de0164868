// The notification area of the desktop through QSystemTrayIcon. Where the desktop has none (offscreen,
// a bare X server) Add answers false and logs it once; the icon appears when a tray comes up later.
// On X11 the icon is a window docked into the tray host (XEmbed), whose place IconGeometry reports.
//
// What the platform delivers: a left press (Trigger), a left double click (DoubleClick) and a right
// press (Context). A right double click arrives as one right press only: the second press of it never
// reaches the program.
#pragma once

#include <QSystemTrayIcon>

#include "components/TrayArea.h"

namespace components {

class TQtTrayArea : public TTrayArea {
public:
    TQtTrayArea();
    ~TQtTrayArea() override;

    bool Add(const TIconImage& icon, const QString& tip) override;
    bool Modify(const TIconImage& icon, const QString& tip) override;
    void Delete() override;
    QRect IconGeometry() const override;
    QPoint CursorPos() const override;
    void PopupMenu(QMenu* menu, QPoint screenPos) override;
    void SetMessageHandler(MessageHandler handler) override { handler_ = std::move(handler); }

private:
    void Activated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon_;
    MessageHandler handler_;
    bool missingTrayLogged_ = false;
};

}  // namespace components
