// The notification area as the tray icon sees it: one icon with its tooltip that can be added, changed
// and deleted, the place where the desktop drew it, and the mouse messages on it, reported with the
// platform's message numbers (TrayMessages.h).
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

#include "components/IconImage.h"

class QMenu;

namespace components {

class TTrayArea {
public:
    using MessageHandler = std::function<void(uint32_t mouseMessage)>;

    virtual ~TTrayArea() = default;

    // False when the platform has no notification area to show it in.
    virtual bool Add(const TIconImage& icon, const QString& tip) = 0;
    // Changes a shown icon; an icon that is not shown stays hidden.
    virtual bool Modify(const TIconImage& icon, const QString& tip) = 0;
    virtual void Delete() = 0;

    // Where on the screen the desktop drew the icon; empty while it is not in a notification area.
    virtual QRect IconGeometry() const = 0;

    virtual QPoint CursorPos() const = 0;
    virtual void PopupMenu(QMenu* menu, QPoint screenPos) = 0;

    virtual void SetMessageHandler(MessageHandler handler) = 0;
};

}  // namespace components
