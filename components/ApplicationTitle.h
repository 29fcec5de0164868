#pragma once

#include <QString>

namespace components {

// The program's title, the caption of a message dialog that names no caption of its own. Kept here
// rather than as Qt's application display name, which Qt would append to every window title.
void SetApplicationTitle(const QString& title);

// The title set last; before that the program's name.
QString ApplicationTitle();

}  // namespace components
