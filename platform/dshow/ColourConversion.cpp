#include "platform/dshow/ColourConversion.h"

#include <cstring>

namespace platform {
namespace {

// BT.601 limited range in 16.16 fixed point: Y = 16 + 0.256788 R + 0.504129 G + 0.097906 B,
// U = 128 - 0.148223 R - 0.290993 G + 0.439216 B, V = 128 + 0.439216 R - 0.367788 G - 0.071427 B.
constexpr int kYr = 16829, kYg = 33039, kYb = 6416;
constexpr int kUr = -9714, kUg = -19071, kUb = 28784;
constexpr int kVr = 28784, kVg = -24103, kVb = -4681;
constexpr int kShift = 16;
constexpr int kYOffset = (16 << kShift) + (1 << (kShift - 1));
// Chroma is computed from the sum of four pixels, hence two more bits of shift.
constexpr int kChromaShift = kShift + 2;
constexpr int kChromaOffset = (128 << kChromaShift) + (1 << (kChromaShift - 1));

constexpr int kBytesPerRgb32 = 4;

inline const uint8_t* TopDownRow(const uint8_t* src, int width, int height, int y) {
    return src + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * kBytesPerRgb32;
}

void LumaRow(const uint8_t* row, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const uint8_t* p = row + x * kBytesPerRgb32;
        out[x] = static_cast<uint8_t>((kYr * p[2] + kYg * p[1] + kYb * p[0] + kYOffset) >> kShift);
    }
}

// One row of both chroma planes from two picture rows (the same row twice at an odd bottom edge).
void ChromaRow(const uint8_t* row0, const uint8_t* row1, int width, uint8_t* u, uint8_t* v) {
    const int pairs = width / 2;
    for (int cx = 0; cx < pairs; ++cx) {
        const uint8_t* a = row0 + cx * 2 * kBytesPerRgb32;
        const uint8_t* b = row1 + cx * 2 * kBytesPerRgb32;
        const int sb = a[0] + a[4] + b[0] + b[4];
        const int sg = a[1] + a[5] + b[1] + b[5];
        const int sr = a[2] + a[6] + b[2] + b[6];
        u[cx] = static_cast<uint8_t>((kUr * sr + kUg * sg + kUb * sb + kChromaOffset) >> kChromaShift);
        v[cx] = static_cast<uint8_t>((kVr * sr + kVg * sg + kVb * sb + kChromaOffset) >> kChromaShift);
    }
    if (width % 2 != 0) {  // the last column stands alone: count its pixels twice
        const uint8_t* a = row0 + (width - 1) * kBytesPerRgb32;
        const uint8_t* b = row1 + (width - 1) * kBytesPerRgb32;
        const int sb = 2 * (a[0] + b[0]), sg = 2 * (a[1] + b[1]), sr = 2 * (a[2] + b[2]);
        u[pairs] = static_cast<uint8_t>((kUr * sr + kUg * sg + kUb * sb + kChromaOffset) >> kChromaShift);
        v[pairs] = static_cast<uint8_t>((kVr * sr + kVg * sg + kVb * sb + kChromaOffset) >> kChromaShift);
    }
}

void ToPlanar(const uint8_t* src, int width, int height, uint8_t* yPlane, uint8_t* uPlane, uint8_t* vPlane) {
    const int chromaWidth = (width + 1) / 2;
    for (int y = 0; y < height; y += 2) {
        const uint8_t* row0 = TopDownRow(src, width, height, y);
        const uint8_t* row1 = y + 1 < height ? TopDownRow(src, width, height, y + 1) : row0;
        LumaRow(row0, width, yPlane + static_cast<size_t>(y) * width);
        if (y + 1 < height) LumaRow(row1, width, yPlane + static_cast<size_t>(y + 1) * width);
        const size_t chromaOffset = static_cast<size_t>(y / 2) * chromaWidth;
        ChromaRow(row0, row1, width, uPlane + chromaOffset, vPlane + chromaOffset);
    }
}

void ToRgb24(const uint8_t* src, int width, int height, uint8_t* dst) {
    const size_t dstStride = RgbRowBytes(TPictureFormat::Rgb24, width);
    for (int row = 0; row < height; ++row) {  // memory order: both pictures are bottom-up
        const uint8_t* s = src + static_cast<size_t>(row) * width * kBytesPerRgb32;
        uint8_t* d = dst + static_cast<size_t>(row) * dstStride;
        for (int x = 0; x < width; ++x) {
            d[3 * x] = s[4 * x];
            d[3 * x + 1] = s[4 * x + 1];
            d[3 * x + 2] = s[4 * x + 2];
        }
        std::memset(d + 3 * static_cast<size_t>(width), 0, dstStride - 3 * static_cast<size_t>(width));
    }
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

bool ConvertRgb32(const uint8_t* src, int width, int height, TPictureFormat format, uint8_t* dst) {
    if (width < 1 || height < 1 || !src || !dst) return false;
    const size_t lumaBytes = static_cast<size_t>(width) * height;
    const size_t chromaBytes = static_cast<size_t>((width + 1) / 2) * ((height + 1) / 2);
    switch (format) {
        case TPictureFormat::Rgb32:
            std::memcpy(dst, src, PictureBytes(format, width, height));
            return true;
        case TPictureFormat::Rgb24:
            ToRgb24(src, width, height, dst);
            return true;
        case TPictureFormat::Yv12:
            ToPlanar(src, width, height, dst, dst + lumaBytes + chromaBytes, dst + lumaBytes);
            return true;
        case TPictureFormat::I420:
            ToPlanar(src, width, height, dst, dst + lumaBytes, dst + lumaBytes + chromaBytes);
            return true;
    }
    return false;
}

TYuv RgbToYuv(uint8_t red, uint8_t green, uint8_t blue) {
    const int r = red * 4, g = green * 4, b = blue * 4;  // the sum of four equal pixels
    return TYuv{static_cast<uint8_t>((kYr * red + kYg * green + kYb * blue + kYOffset) >> kShift),
                static_cast<uint8_t>((kUr * r + kUg * g + kUb * b + kChromaOffset) >> kChromaShift),
                static_cast<uint8_t>((kVr * r + kVg * g + kVb * b + kChromaOffset) >> kChromaShift)};
}

}  // namespace platform
