#include "app/windows/capture_panel/StreamerPageControl.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/windows/base/PanelBuilders.h"

namespace app {

namespace {
constexpr components::TColor kTabLineColor = 0xC0C0C0;
constexpr components::TColor kTabTextColor = 0xDADADA;
constexpr int kTabFontPt = 8;
}  // namespace

TStreamerTabBar::TStreamerTabBar(QWidget* parent) : QTabBar(parent) {
    setDrawBase(false);
    setExpanding(false);
    setFocusPolicy(Qt::NoFocus);
}

QSize TStreamerTabBar::tabSizeHint(int) const { return {kStreamerTabWidth, kStreamerTabHeight}; }

void TStreamerTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont font("Verdana");
    font.setPointSize(kTabFontPt);
    painter.setFont(font);
    const int textHeight = painter.fontMetrics().height();
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        painter.fillRect(r, components::ToQColor(kPanelBackgroundColor));
        painter.setPen(QPen(components::ToQColor(kTabLineColor), 1));
        painter.drawLine(r.left(), r.bottom(), r.right() + 1, r.bottom());
        painter.setPen(components::ToQColor(kTabTextColor));
        const int y = r.top() + r.height() / 2 - textHeight / 2;
        painter.drawText(QRect(r.left() + kStreamerTabTextLeft, y, r.width() - kStreamerTabTextLeft, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, tabText(i));
    }
    PlaceLeds();
}

void TStreamerTabBar::PlaceLeds() {
    if (!ledForTab_) return;
    for (int i = 0; i < count(); ++i) {
        QWidget* led = ledForTab_(i);
        if (!led) continue;
        if (led->parentWidget() != this) {
            led->setParent(this);
            led->show();
        }
        const QPoint place(tabRect(i).left() + kStreamerTabLedLeft, kStreamerTabLedTop);
        if (led->pos() != place) led->move(place);
        led->raise();
    }
}

void TStreamerTabBar::mousePressEvent(QMouseEvent* event) {
    QTabBar::mousePressEvent(event);
    if (OnMouseDown) OnMouseDown();
}

void TStreamerTabBar::tabLayoutChange() {
    QTabBar::tabLayoutChange();
    PlaceLeds();
}

TStreamerPageControl::TStreamerPageControl(QWidget* parent) : QTabWidget(parent), tabBar_(new TStreamerTabBar) {
    setTabBar(tabBar_);
    setTabPosition(QTabWidget::North);
    setDocumentMode(true);
}

}  // namespace app
