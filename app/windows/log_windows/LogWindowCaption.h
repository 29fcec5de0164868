// A log window's caption: prefixed with "[" + n + "] " when this is instance n > 0.
#pragma once

#include <QString>

namespace app {

QString InstanceCaption(const QString& caption, int instance);

}  // namespace app
