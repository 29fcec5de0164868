// Colours of the component set: 32-bit values 0x00BBGGRR (red in the low byte), as the controls' settings
// store them, or a system colour (0xFF000000 | index) that stands for a role of the current palette.
// They turn into QColor only where something is painted.
#pragma once

#include <QColor>
#include <cstdint>

namespace components {

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;

// Text of a disabled caption.
constexpr TColor kDisabledTextColor = 0x808080;

// System colours: the low byte is the index of the screen element.
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == clSystemColor; }

// Windows-style RGB: each channel is cut to its low byte.
constexpr TColor RGBToColor(int r, int g, int b) {
    return TColor(uint8_t(r)) | (TColor(uint8_t(g)) << 8) | (TColor(uint8_t(b)) << 16);
}
constexpr int GetRValue(TColor color) { return int(color & 0xFF); }
constexpr int GetGValue(TColor color) { return int((color >> 8) & 0xFF); }
constexpr int GetBValue(TColor color) { return int((color >> 16) & 0xFF); }

// A system colour becomes the RGB value of its palette role (the application's palette); any other
// colour keeps its low three bytes.
TColor ColorToRGB(TColor color);

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

}  // namespace components
