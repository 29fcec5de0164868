#include "components/Color.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace components {

namespace {

// The palette role that plays each screen element, by its index.
constexpr std::array<QPalette::ColorRole, 25> kSystemColorRoles = {
    QPalette::Button,           // scroll bar
    QPalette::Window,           // desktop background
    QPalette::Highlight,        // active caption
    QPalette::Mid,              // inactive caption
    QPalette::Window,           // menu
    QPalette::Base,             // window
    QPalette::Shadow,           // window frame
    QPalette::WindowText,       // menu text
    QPalette::Text,             // window text
    QPalette::HighlightedText,  // caption text
    QPalette::Button,           // active border
    QPalette::Button,           // inactive border
    QPalette::Dark,             // application work space
    QPalette::Highlight,        // highlight
    QPalette::HighlightedText,  // highlighted text
    QPalette::Button,           // button face
    QPalette::Dark,             // button shadow
    QPalette::PlaceholderText,  // grey text
    QPalette::ButtonText,       // button text
    QPalette::WindowText,       // inactive caption text
    QPalette::Light,            // button highlight
    QPalette::Shadow,           // 3D dark shadow
    QPalette::Midlight,         // 3D light
    QPalette::ToolTipText,      // info text
    QPalette::ToolTipBase,      // info background
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if (!IsSystemColor(color)) return color & 0x00FFFFFF;
    const unsigned index = color & 0xFF;
    if (index >= kSystemColorRoles.size()) return clBlack;
    return FromQColor(QGuiApplication::palette().color(QPalette::Active, kSystemColorRoles[index]));
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return RGBToColor(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace components
