#include "app/windows/small_windows/SplashPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace app {
namespace {

constexpr int kPictureWidthPx = 400;
constexpr int kPictureHeightPx = 140;
constexpr int kPanelInsetPx = 6;  // black around the panel: the see-through margin
constexpr int kPanelRadiusPx = 18;
constexpr int kTitleTopPx = 22;
constexpr int kTitleHeightPx = 56;
const QColor kPanelTop(0x30, 0x3F, 0x3E);  // the main window's background
const QColor kPanelBottom(0x5A, 0x7D, 0x8C);
const QColor kEdge(0xC1, 0xD1, 0xDA);

}  // namespace

QImage MakeSplashPicture() {
    QImage picture(kPictureWidthPx, kPictureHeightPx, QImage::Format_RGB32);
    picture.fill(kSplashColourKey);
    QPainter painter(&picture);
    // The outline without smoothing: its edge pixels are the panel's or the key, never a near-black
    // blend that would show as a dark fringe.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect panel = picture.rect().adjusted(kPanelInsetPx, kPanelInsetPx, -kPanelInsetPx, -kPanelInsetPx);
    QLinearGradient gradient(panel.topLeft(), panel.bottomLeft());
    gradient.setColorAt(0, kPanelTop);
    gradient.setColorAt(1, kPanelBottom);
    painter.setPen(QPen(kEdge, 2));
    painter.setBrush(gradient);
    painter.drawRoundedRect(panel, kPanelRadiusPx, kPanelRadiusPx);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont title;
    title.setBold(true);
    title.setPixelSize(34);
    painter.setFont(title);
    painter.setPen(kEdge);
    painter.drawText(QRect(panel.left(), panel.top() + kTitleTopPx, panel.width(), kTitleHeightPx), Qt::AlignCenter,
                     QStringLiteral("Framewick"));
    return picture;
}

}  // namespace app
