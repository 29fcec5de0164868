#include "installer/ButtonLooks.h"

#include "common/ColourPresets.h"
#include "installer/CanvasPanelEx.h"

namespace hollarin {

void WireButtonLooks(TCanvasPanelEx& button, components::TColor leaveFontColor) {
    button.OnMouseEnter = [&button](QWidget*) { app::SetPanelHover(button); };
    button.OnMouseLeave = [&button, leaveFontColor](QWidget*) {
        app::SetPanelNormal(button);
        if (leaveFontColor != 0) button.SetFontColor(leaveFontColor);
    };
    button.OnMouseDown = [&button](QWidget*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
        if (b == Qt::LeftButton) app::SetPanelDown(button);
    };
    button.OnMouseUp = [&button](QWidget*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
        if (b == Qt::LeftButton) app::SetPanelUp(button);
    };
}

}  // namespace hollarin
