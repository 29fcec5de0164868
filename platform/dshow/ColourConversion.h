// Picture conversions of the colour converter. The source is always an RGB32 picture as a DirectShow
// video sample carries it: four bytes per pixel in the order blue, green, red, unused, no padding
// between rows, rows bottom-up (the first row in memory is the bottom of the picture) or, when its
// type says so with a negative height, top-down.
//
// RGB outputs are bottom-up (RGB24 rows padded to four bytes); YUV outputs are top-down
// planar pictures with BT.601 limited-range values (Y 16..235, U and V 16..240), chroma halved in both
// directions (odd sizes round up), planes without padding: YV12 is Y, V, U; I420 is Y, U, V.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/dshow/RowOrder.h"

namespace platform {

enum class TPictureFormat { Rgb32, Rgb24, Yv12, I420 };

// Bytes of one row of an RGB picture of the given width (RGB24 rows are padded to four bytes).
size_t RgbRowBytes(TPictureFormat format, int width);
// Bytes of a whole picture; 0 for a width or height below 1.
size_t PictureBytes(TPictureFormat format, int width, int height);

// Converts src (width x height RGB32, rows in srcOrder) into dst, which holds PictureBytes(format, ...)
// bytes. False (nothing written) for a size below 1.
bool ConvertRgb32(const uint8_t* src, int width, int height, TPictureFormat format, uint8_t* dst,
                  TRowOrder srcOrder = TRowOrder::BottomUp);

// One pixel's limited-range BT.601 values, for callers that need a single colour.
struct TYuv {
    uint8_t Y, U, V;
};
TYuv RgbToYuv(uint8_t red, uint8_t green, uint8_t blue);

}  // namespace platform
