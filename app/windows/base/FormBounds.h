// A window's bounds kept in the registry under a name: the place of its outer frame (where the window
// manager draws its top-left corner, as the user sees it) and the size of its client area. Both are
// what Qt's move() and resize() take, so a window put back from what it saved stands exactly where
// it stood; mixing the frame's place with the client's (as setGeometry() would) moves the window by
// its title bar at every opening.
#pragma once

#include <QWidget>
#include <string>

#include "app/settings/registry_store.h"

namespace app {

// False, and the window untouched, when the registry holds no bounds under name.
bool RestoreFormBounds(QWidget& form, const std::string& name);
// The bounds under name; defaults when any value is missing.
void RestoreFormBounds(QWidget& form, const std::string& name, const TFormBounds& defaults);
void SaveFormBounds(const QWidget& form, const std::string& name);

}  // namespace app
