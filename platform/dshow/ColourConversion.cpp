#include "platform/dshow/ColourConversion.h"

#include <libyuv/convert_from_argb.h>
#include <libyuv/planar_functions.h>

#include <cstring>

namespace platform {
namespace {

constexpr int kBytesPerRgb32 = 4;

int Rgb32Stride(int width) { return width * kBytesPerRgb32; }

// libyuv reads the source's rows in reverse when it is given a negative height.
int TopDownHeight(int height, TRowOrder srcOrder) { return srcOrder == TRowOrder::BottomUp ? -height : height; }
int BottomUpHeight(int height, TRowOrder srcOrder) { return srcOrder == TRowOrder::TopDown ? -height : height; }

bool ToPlanar(const uint8_t* src, int width, int height, TRowOrder srcOrder, uint8_t* yPlane, uint8_t* uPlane,
              uint8_t* vPlane) {
    const int chromaWidth = (width + 1) / 2;
    // libyuv's ARGB is our RGB32 (blue, green, red, unused in memory); its I420 is BT.601 limited
    // range, chroma from the average of each 2x2 block (a lone column or row counts twice).
    return libyuv::ARGBToI420(src, Rgb32Stride(width), yPlane, width, uPlane, chromaWidth, vPlane, chromaWidth, width,
                              TopDownHeight(height, srcOrder)) == 0;
}

bool ToRgb32(const uint8_t* src, int width, int height, TRowOrder srcOrder, uint8_t* dst) {
    return libyuv::ARGBCopy(src, Rgb32Stride(width), dst, Rgb32Stride(width), width,
                            BottomUpHeight(height, srcOrder)) == 0;
}

bool ToRgb24(const uint8_t* src, int width, int height, TRowOrder srcOrder, uint8_t* dst) {
    const size_t dstStride = RgbRowBytes(TPictureFormat::Rgb24, width);
    if (libyuv::ARGBToRGB24(src, Rgb32Stride(width), dst, static_cast<int>(dstStride), width,
                            BottomUpHeight(height, srcOrder)) != 0)
        return false;
    const size_t used = 3 * static_cast<size_t>(width);
    if (used < dstStride)
        for (int row = 0; row < height; ++row) std::memset(dst + row * dstStride + used, 0, dstStride - used);
    return true;
}

}  // namespace

size_t RgbRowBytes(TPictureFormat format, int width) {
    if (width < 1) return 0;
    const size_t w = static_cast<size_t>(width);
    return format == TPictureFormat::Rgb24 ? (w * 3 + 3) & ~size_t{3} : w * kBytesPerRgb32;
}

size_t PictureBytes(TPictureFormat format, int width, int height) {
    if (width < 1 || height < 1) return 0;
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
    switch (format) {
        case TPictureFormat::Rgb32:
        case TPictureFormat::Rgb24:
            return RgbRowBytes(format, width) * h;
        case TPictureFormat::Yv12:
        case TPictureFormat::I420:
            return w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2);
    }
    return 0;
}

bool ConvertRgb32(const uint8_t* src, int width, int height, TPictureFormat format, uint8_t* dst,
                  TRowOrder srcOrder) {
    if (width < 1 || height < 1 || !src || !dst) return false;
    const size_t lumaBytes = static_cast<size_t>(width) * height;
    const size_t chromaBytes = static_cast<size_t>((width + 1) / 2) * ((height + 1) / 2);
    switch (format) {
        case TPictureFormat::Rgb32:
            return ToRgb32(src, width, height, srcOrder, dst);
        case TPictureFormat::Rgb24:
            return ToRgb24(src, width, height, srcOrder, dst);
        case TPictureFormat::Yv12:
            return ToPlanar(src, width, height, srcOrder, dst, dst + lumaBytes + chromaBytes, dst + lumaBytes);
        case TPictureFormat::I420:
            return ToPlanar(src, width, height, srcOrder, dst, dst + lumaBytes, dst + lumaBytes + chromaBytes);
    }
    return false;
}

TYuv RgbToYuv(uint8_t red, uint8_t green, uint8_t blue) {
    // A 2x2 block of the colour through the same converter, so one pixel and a picture always agree.
    uint8_t block[2 * 2 * kBytesPerRgb32];
    for (int i = 0; i < 4; ++i) {
        block[i * kBytesPerRgb32] = blue;
        block[i * kBytesPerRgb32 + 1] = green;
        block[i * kBytesPerRgb32 + 2] = red;
        block[i * kBytesPerRgb32 + 3] = 0;
    }
    uint8_t yuv[4 + 1 + 1];
    ToPlanar(block, 2, 2, TRowOrder::BottomUp, yuv, yuv + 4, yuv + 5);
    return TYuv{yuv[0], yuv[4], yuv[5]};
}

}  // namespace platform
