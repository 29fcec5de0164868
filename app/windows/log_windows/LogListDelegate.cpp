#include "app/windows/log_windows/LogListDelegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace app {

TLogListDelegate::TLogListDelegate(TColorsOf colorsOf, QObject* parent, std::function<void(int)> lineDrawn,
                                   std::function<int()> itemWidth)
    : QStyledItemDelegate(parent),
      colorsOf_(std::move(colorsOf)),
      lineDrawn_(std::move(lineDrawn)),
      itemWidth_(std::move(itemWidth)) {}

void TLogListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const TLogLineColors colors = colorsOf_(index.data(kLogValueRole).toInt(), selected);
    painter->save();
    painter->fillRect(option.rect, components::ToQColor(colors.Background));
    painter->setPen(components::ToQColor(colors.Text));
    painter->setFont(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    if (selected && option.state.testFlag(QStyle::State_HasFocus) && option.widget) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = components::ToQColor(colors.Background);
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
    if (lineDrawn_) lineDrawn_(QFontMetrics(option.font).horizontalAdvance(text));
}

QSize TLogListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {itemWidth_(), QFontMetrics(option.font).height()};
}

}  // namespace app
