#include "app/windows/log_windows/LogListBox.h"

#include <QMetaObject>
#include <QScrollBar>
#include <algorithm>

namespace app {

TLogListBox::TLogListBox(TLogListDelegate::TColorsOf colorsOf, QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new TLogListDelegate(
        std::move(colorsOf), this, [this](int textWidthPx) { LineDrawn(textWidthPx); }, [this] { return ItemWidth(); }));
}

void TLogListBox::LineDrawn(int textWidthPx) {
    if (textWidthPx <= widestLinePx_) return;
    widestLinePx_ = textWidthPx;
    // Laid out again after the drawing, not in the middle of it.
    QMetaObject::invokeMethod(this, [this] { scheduleDelayedItemsLayout(); }, Qt::QueuedConnection);
}

int TLogListBox::ItemWidth() const { return std::max(HorizontalExtent(), viewport()->width()); }

void TLogListBox::updateGeometries() {
    QListWidget::updateGeometries();
    horizontalScrollBar()->setRange(0, std::max(0, ItemWidth() - viewport()->width()));
}

void TLogListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    scheduleDelayedItemsLayout();
}

}  // namespace app
