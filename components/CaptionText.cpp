#include "components/CaptionText.h"

#include "components/Canvas.h"
#include "components/ShadowProperty.h"

namespace components {

TCaptionText::TCaptionText(TCanvas& canvas, const TShadowProperty& shadow, bool enabled, TColor fontColor)
    : canvas_(canvas), shadow_(shadow), enabled_(enabled), fontColor_(fontColor) {}

void TCaptionText::Draw(int x, int y, const QString& text, bool whiteCopyWhenDisabled) const {
    if (shadow_.spShadow() && enabled_) {
        canvas_.SetFontColor(shadow_.spColor());
        canvas_.TextOut(x + shadow_.spDx(), y + shadow_.spDy(), text);
    } else if (!enabled_ && whiteCopyWhenDisabled) {
        canvas_.SetFontColor(clWhite);
        canvas_.TextOut(x + 1, y + 1, text);
    }
    canvas_.SetFontColor(enabled_ ? fontColor_ : kDisabledTextColor);
    canvas_.TextOut(x, y, text);
}

void TCaptionText::DrawColumn(int x, int y, const QString& text) const {
    for (const QChar ch : text) {
        const QString line(ch);
        Draw(x, y, line, false);
        y += canvas_.TextHeight(line);
    }
}

}  // namespace components
