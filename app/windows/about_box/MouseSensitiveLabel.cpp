#include "app/windows/about_box/MouseSensitiveLabel.h"

#include <QMouseEvent>
#include <QPalette>

namespace app {

TMouseSensitiveLabel::TMouseSensitiveLabel(QWidget* parent) : QLabel(parent) {
    normal_.Font.setBold(true);
    normal_.Color = kNormalColor;
    hover_.Font.setBold(true);
    hover_.Font.setUnderline(true);
    hover_.Color = kHoverColor;
}

void TMouseSensitiveLabel::ApplyLook(const TLook& look) {
    QFont own = font();
    own.setBold(look.Font.bold());
    own.setItalic(look.Font.italic());
    own.setUnderline(look.Font.underline());
    own.setStrikeOut(look.Font.strikeOut());
    setFont(own);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, components::ToQColor(look.Color));
    setPalette(colours);
}

components::TColor TMouseSensitiveLabel::TextColor() const {
    return components::FromQColor(palette().color(QPalette::WindowText));
}

void TMouseSensitiveLabel::enterEvent(QEnterEvent* event) {
    ApplyLook(hover_);
    QLabel::enterEvent(event);
}

void TMouseSensitiveLabel::leaveEvent(QEvent* event) {
    ApplyLook(normal_);
    QLabel::leaveEvent(event);
}

void TMouseSensitiveLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

}  // namespace app
