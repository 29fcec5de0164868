// Draws the items of a log list: the rectangle filled in the background colour of the item's value
// (kLogValueRole), the text at its left top in the text colour, and a focus rectangle on the selected
// item while the list has the focus. A drawing failure leaves the item as far as it was drawn.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "app/windows/LogLineColors.h"

namespace app {

constexpr int kLogValueRole = Qt::UserRole + 1;

class TLogListDelegate : public QStyledItemDelegate {
public:
    using TColorsOf = std::function<TLogLineColors(int value, bool selected)>;

    TLogListDelegate(TColorsOf colorsOf, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The fixed line height; the width of the text (plus a margin), so the horizontal scroll range grows
    // to the widest line.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TColorsOf colorsOf_;
};

}  // namespace app
