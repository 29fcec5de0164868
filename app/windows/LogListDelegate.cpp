#include "app/windows/LogListDelegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace app {

namespace {

constexpr int kExtentMarginPx = 20;

}  // namespace

TLogListDelegate::TLogListDelegate(TColorsOf colorsOf, QObject* parent)
    : QStyledItemDelegate(parent), colorsOf_(std::move(colorsOf)) {}

void TLogListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const TLogLineColors colors = colorsOf_(index.data(kLogValueRole).toInt(), selected);
    painter->save();
    painter->fillRect(option.rect, components::ToQColor(colors.Background));
    painter->setPen(components::ToQColor(colors.Text));
    painter->setFont(option.font);
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
    if (selected && option.state.testFlag(QStyle::State_HasFocus) && option.widget) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = components::ToQColor(colors.Background);
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
}

QSize TLogListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    return {metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + kExtentMarginPx, metrics.height()};
}

}  // namespace app
