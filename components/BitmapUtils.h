// Grey-scale and luminance-shifted copies of the controls' pictures.
#pragma once

#include <QImage>

namespace components {

// dest becomes a 24-bit copy of source with every pixel's channels set to their mean. False (dest
// unchanged) when source has no image.
bool GrayScaleBitmap(const QImage& source, QImage& dest);

// dest becomes source with every pixel's HLS luminance raised by amount (at most 240). Nothing when
// source or dest has no image; dest takes source's size when it differs.
void ShiftBitmapLuminance(const QImage& source, int amount, QImage& dest);

}  // namespace components
