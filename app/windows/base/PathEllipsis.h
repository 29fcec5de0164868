// Paths shown in labels of a fixed width: leading folders give way to ".../" until the path fits.
#pragma once

#include <QFontMetrics>
#include <QString>

namespace app {

// path unchanged when it fits into widthPx in metrics' font; otherwise its first component, ".../" and
// as many trailing components as fit; at the least ".../" and the file or folder name.
QString ShortenPathForDisplay(const QString& path, const QFontMetrics& metrics, int widthPx);

}  // namespace app
