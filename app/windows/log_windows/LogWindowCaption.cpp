#include "app/windows/log_windows/LogWindowCaption.h"

namespace app {

QString InstanceCaption(const QString& caption, int instance) {
    if (instance > 0) return QStringLiteral("[%1] %2").arg(instance).arg(caption);
    return caption;
}

}  // namespace app
