#include "app/windows/base/PanelBuilders.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>

#include "common/ColourPresets.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/ColorFrames.h"
#include "components/LedLabel.h"

namespace app {

namespace {
constexpr int kCaptionFontPt = 7;
constexpr int kCaptionHeight = 13;
constexpr int kDarkFrameBandPx = 3;
constexpr int kDarkFrameCornerPx = 3;

QImage GlyphImage(const QString& glyph, int sizePx) {
    QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(sizePx * 3 / 4);
    painter.setFont(font);
    painter.setPen(components::ToQColor(kButtonGlyphColor));
    painter.drawText(image.rect(), Qt::AlignCenter, glyph);
    return image;
}
}  // namespace

void SetDarkFrameLook(components::TColorFrames& frame) {
    frame.BevelMain().SetbmBkgndColor(kPanelBackgroundColor);
    frame.BevelMain().SetbmEdge(kDarkFrameCornerPx);
    frame.BevelOuterSub().SetbpWidth(kDarkFrameBandPx);
}

QLabel* MakeCaption(QWidget* parent, const QString& text, int x, int y, int width) {
    auto* caption = new QLabel(text, parent);
    QFont font = caption->font();
    font.setPointSize(kCaptionFontPt);
    caption->setFont(font);
    caption->setGeometry(x, y, width, kCaptionHeight);
    SetCaptionColor(*caption, kCaptionTextColor);
    return caption;
}

void SetCaptionColor(QLabel& caption, components::TColor color) {
    QPalette palette = caption.palette();
    palette.setColor(QPalette::WindowText, components::ToQColor(color));
    caption.setPalette(palette);
}

components::TBevelLabel* MakeValueLabel(QWidget* parent, int x, int y, int width) {
    auto* label = new components::TBevelLabel(parent);
    label->setGeometry(x, y, width, kValueLabelHeight);
    SetBevelLabelScheme(*label, 0);
    return label;
}

components::TLedLabel* MakeLed(QWidget* parent, components::TColorLed color, int x, int y, int autoOffMs) {
    auto* led = new components::TLedLabel(parent);
    led->setGeometry(x, y, kLedSize, kLedSize);
    led->LedColor().SetllColor(color);
    led->SetLedAutoOff(autoOffMs);
    led->SetLedOn(false);
    return led;
}

components::TCanvasPanelEx* MakeButton(QWidget* parent, const QString& hint, const QString& caption, int x, int y,
                                       int width, int height) {
    auto* button = new components::TCanvasPanelEx(parent);
    button->setGeometry(x, y, width, height);
    button->setToolTip(hint);
    button->SetCaption(caption);
    button->setCursor(Qt::PointingHandCursor);
    SetPanelNormalAlways(*button);
    return button;
}

void SetButtonGlyph(components::TCanvasPanelEx& button, const QString& glyph, int sizePx) {
    button.SetPicture(GlyphImage(glyph, sizePx));
    // A panel paints its picture only when told to, at the offset it is given.
    button.ImageProp().SetipLeft((button.width() - sizePx) / 2);
    button.ImageProp().SetipTop((button.height() - sizePx) / 2);
    button.ImageProp().SetipImage(true);
}

}  // namespace app
