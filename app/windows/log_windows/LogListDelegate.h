// Draws the items of a log list: the rectangle filled in the background colour of the item's value
// (kLogValueRole), the text at its left top in the text colour, and a focus rectangle on the selected
// item while the list has the focus; then it tells the list how wide the line's text is (the list's
// horizontal extent follows the widest, TLogListBox). A drawing failure leaves the item as far as it
// was drawn.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "app/windows/log_windows/LogLineColors.h"

namespace app {

constexpr int kLogValueRole = Qt::UserRole + 1;

class TLogListDelegate : public QStyledItemDelegate {
public:
    using TColorsOf = std::function<TLogLineColors(int value, bool selected)>;

    // lineDrawn: told the width of each line's text as it is drawn; itemWidth: the width of every item.
    TLogListDelegate(TColorsOf colorsOf, QObject* parent, std::function<void(int textWidthPx)> lineDrawn,
                     std::function<int()> itemWidth);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The fixed line height and the list's item width.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TColorsOf colorsOf_;
    std::function<void(int)> lineDrawn_;
    std::function<int()> itemWidth_;
};

}  // namespace app
