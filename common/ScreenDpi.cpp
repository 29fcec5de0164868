#include "common/ScreenDpi.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace app {

int PrimaryScreenLogicalDpi() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return kDesignDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : kDesignDpi;
}

}  // namespace app
