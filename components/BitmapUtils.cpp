#include "components/BitmapUtils.h"

#include <algorithm>

#include "components/ColorUtils.h"

namespace components {

bool GrayScaleBitmap(const QImage& source, QImage& dest) {
    if (source.isNull()) return false;
    QImage grey = source.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < grey.height(); ++y) {
        uchar* line = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            uchar* px = line + 3 * x;
            const uchar mean = uchar((px[0] + px[1] + px[2]) / 3);
            px[0] = px[1] = px[2] = mean;
        }
    }
    dest = std::move(grey);
    return true;
}

void ShiftBitmapLuminance(const QImage& source, int amount, QImage& dest) {
    if (source.isNull() || dest.isNull()) return;
    const QImage src = source.convertToFormat(QImage::Format_RGB888);
    // Writing beyond a smaller destination would corrupt memory: it always takes the source's size.
    if (dest.size() != src.size() || dest.format() != QImage::Format_RGB888)
        dest = QImage(src.size(), QImage::Format_RGB888);
    for (int y = 0; y < src.height(); ++y) {
        const uchar* in = src.constScanLine(y);
        uchar* out = dest.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            const uchar* px = in + 3 * x;
            THLSTriple hls = RGBToHLS(RGBToColor(px[0], px[1], px[2]));
            hls.Lum = uint8_t(std::clamp(hls.Lum + amount, 0, kHlsMax));
            const TColor shifted = HLSToRGB(hls);
            out[3 * x] = uchar(GetRValue(shifted));
            out[3 * x + 1] = uchar(GetGValue(shifted));
            out[3 * x + 2] = uchar(GetBValue(shifted));
        }
    }
}

}  // namespace components
