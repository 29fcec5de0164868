// The owner-drawn list of a log window: one line per item, drawn by TLogListDelegate in the colours
// of its value, all items one height. Its horizontal extent grows to the widest line drawn so far (plus
// a margin) and never shrinks, not when that line leaves the list and not when the list is cleared, so
// the horizontal scroll bar does not jump while lines come and go.
#pragma once

#include <QListWidget>

#include "app/windows/log_windows/LogListDelegate.h"

namespace app {

class TLogListBox : public QListWidget {
public:
    static constexpr int kExtentMarginPx = 20;

    TLogListBox(TLogListDelegate::TColorsOf colorsOf, QWidget* parent);

    // Widest line drawn + the margin; 0 before any line was drawn.
    int HorizontalExtent() const { return widestLinePx_ > 0 ? widestLinePx_ + kExtentMarginPx : 0; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The horizontal scroll range is the extent's, with or without items.
    void updateGeometries() override;

private:
    void LineDrawn(int textWidthPx);
    // Every item is as wide as the extent, and at least as wide as the visible area.
    int ItemWidth() const;

    int widestLinePx_ = 0;
};

}  // namespace app
