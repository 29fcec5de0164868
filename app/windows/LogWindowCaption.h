// A log window's caption: prefixed with "[" + n + "] " when this is instance n > 0; and the stored
// bounds of a log window, with its defaults when the registry holds none.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "app/settings/registry_store.h"

namespace app {

QString InstanceCaption(const QString& caption, int instance);

// The bounds under name; defaults when any value is missing.
void RestoreFormBounds(QWidget& form, const std::string& name, const TFormBounds& defaults);
void SaveFormBounds(const QWidget& form, const std::string& name);

}  // namespace app
