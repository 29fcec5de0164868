#include "app/windows/base/ShareTabCaptions.h"

#include <algorithm>

namespace app {

namespace {
constexpr int kProtocolSuffixLength = 4;  // " HLS", " UDP" and the "HTTP" of a new tab
}

QString EditedShareTabCaption(const QString& caption, uint8_t protocol) {
    QString result = caption.left(std::max<qsizetype>(0, caption.size() - kProtocolSuffixLength));
    if (protocol == engine::kShareProtocolHttp) result += QStringLiteral(" HLS");
    else if (protocol == engine::kShareProtocolUdp) result += QStringLiteral(" UDP");
    return result;
}

QString RenumberedShareTabCaption(const QString& caption, int position) {
    const qsizetype close = caption.indexOf(QLatin1Char(']'));
    const QString rest = close < 0 ? caption : caption.mid(close + 1);
    return QStringLiteral("[%1]").arg(position) + rest;
}

}  // namespace app
