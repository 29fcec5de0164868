// The splash window's picture, drawn by the program itself: a rounded panel in the main window's
// colours with the program's name, on black. Black is the splash window's transparent colour key, so
// everything outside the panel is see-through.
#pragma once

#include <QImage>
#include <QRgb>

namespace app {

constexpr QRgb kSplashColourKey = 0xFF000000;  // black: not shown

QImage MakeSplashPicture();

}  // namespace app
