// Small builders for the children of the capture panel, the share tabs and the status bar: static
// captions, value fields, lamps and the captioned panels that serve as buttons, placed at fixed
// positions as the windows were laid out.
#pragma once

#include <QString>

#include "components/Color.h"
#include "components/LedColor.h"

class QLabel;
class QWidget;

namespace components {
class TBevelLabel;
class TCanvasPanelEx;
class TColorFrames;
class TLedLabel;
}  // namespace components

namespace app {

// Background of the main window and of everything painted on it.
constexpr components::TColor kPanelBackgroundColor = 0x3E3F30;
// Static captions beside the value fields.
constexpr components::TColor kCaptionTextColor = 0xDADADA;
// A caption of something that does not exist here (the video lamp without libVLC).
constexpr components::TColor kGreyedCaptionColor = 0x808080;
// The pictures of the buttons.
constexpr components::TColor kButtonGlyphColor = 0x800000;
// The flash indicators stay lit this long.
constexpr int kLedFlashMs = 300;
constexpr int kLedSize = 11;
constexpr int kValueLabelHeight = 15;

// The dark body of a capture panel or the status bar: a thin band, so that the fields placed a few
// pixels from the edge sit on the dark ground and not on the light band.
void SetDarkFrameLook(components::TColorFrames& frame);
// A one-line caption in the panels' small font.
QLabel* MakeCaption(QWidget* parent, const QString& text, int x, int y, int width);
void SetCaptionColor(QLabel& caption, components::TColor color);
// A value field with the neutral scheme.
components::TBevelLabel* MakeValueLabel(QWidget* parent, int x, int y, int width);
// A lamp, off; autoOffMs > 0 makes it a flash indicator.
components::TLedLabel* MakeLed(QWidget* parent, components::TColorLed color, int x, int y, int autoOffMs = 0);
// A captioned panel used as a button, in the normal look; hint is its tool tip.
components::TCanvasPanelEx* MakeButton(QWidget* parent, const QString& hint, const QString& caption, int x, int y,
                                       int width, int height);

// Gives a button its picture: the glyph drawn in the button-picture colour, sizePx square, centred.
void SetButtonGlyph(components::TCanvasPanelEx& button, const QString& glyph, int sizePx);

}  // namespace app
