#include "app/windows/base/PathEllipsis.h"

#include <QStringList>

namespace app {

QString ShortenPathForDisplay(const QString& path, const QFontMetrics& metrics, int widthPx) {
    if (metrics.horizontalAdvance(path) <= widthPx) return path;
    const bool trailingSlash = path.endsWith(QLatin1Char('/'));
    QStringList parts = path.split(QLatin1Char('/'));
    if (trailingSlash) parts.removeLast();
    if (parts.size() < 3) return path;
    const QString head = parts.first() + QStringLiteral("/...");
    const QString tail = trailingSlash ? QStringLiteral("/") : QString();
    // Drop folders after the first one until the rest fits; the last name always stays.
    for (int dropped = 1; dropped < parts.size() - 1; ++dropped) {
        QString candidate = head;
        for (int i = 1 + dropped; i < parts.size(); ++i) candidate += QLatin1Char('/') + parts[i];
        candidate += tail;
        if (metrics.horizontalAdvance(candidate) <= widthPx || dropped == parts.size() - 2) return candidate;
    }
    return path;
}

}  // namespace app
