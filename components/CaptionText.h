// Writes a caption of the bevel label or the captioned panel: its shadow (or, disabled, a white copy
// one pixel down and right) under the text, and the text in the font colour or the disabled grey.
#pragma once

#include <QString>

#include "components/Color.h"

namespace components {

class TCanvas;
class TShadowProperty;

class TCaptionText {
public:
    // canvas and shadow must outlive the writer; the canvas's font is already set.
    TCaptionText(TCanvas& canvas, const TShadowProperty& shadow, bool enabled, TColor fontColor);

    // The text at (x, y); whiteCopyWhenDisabled: the layout shows the white copy of a disabled caption.
    void Draw(int x, int y, const QString& text, bool whiteCopyWhenDisabled) const;
    // One character a line, downward from (x, y), without the white copy.
    void DrawColumn(int x, int y, const QString& text) const;

private:
    TCanvas& canvas_;
    const TShadowProperty& shadow_;
    bool enabled_;
    TColor fontColor_;
};

}  // namespace components
