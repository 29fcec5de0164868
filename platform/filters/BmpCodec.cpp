#include "platform/filters/BmpCodec.h"

#include <cstring>
#include <utility>

namespace platform {
namespace {

constexpr uint16_t kBmpMagic = 0x4D42;  // "BM"
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

size_t BmpFileBytes(int width, int height) {
    if (width < 1 || height < 1) return 0;
    return kBmpHeaderBytes + static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
}

bool WriteBmp32(const uint8_t* pixels, int width, int height, TRowOrder order, uint8_t* out) {
    if (width < 1 || height < 1 || width > kMaxBmpSide || height > kMaxBmpSide || !pixels || !out) return false;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const size_t fileBytes = BmpFileBytes(width, height);
    std::memset(out, 0, kBmpHeaderBytes);
    Put16(out, kBmpMagic);
    Put32(out + 2, static_cast<uint32_t>(fileBytes));
    Put32(out + 10, static_cast<uint32_t>(kBmpHeaderBytes));
    Put32(out + 14, kInfoHeaderBytes);
    Put32(out + 18, static_cast<uint32_t>(width));
    Put32(out + 22, static_cast<uint32_t>(height));  // positive: rows bottom-up
    Put16(out + 26, 1);
    Put16(out + 28, 32);
    Put32(out + 30, kBiRgb);
    Put32(out + 34, static_cast<uint32_t>(fileBytes - kBmpHeaderBytes));
    uint8_t* dst = out + kBmpHeaderBytes;
    if (order == TRowOrder::BottomUp) {
        std::memcpy(dst, pixels, rowBytes * height);
    } else {
        for (int y = 0; y < height; ++y)
            std::memcpy(dst + rowBytes * (height - 1 - y), pixels + rowBytes * y, rowBytes);
    }
    return true;
}

std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap) {
    std::vector<uint8_t> out(BmpFileBytes(bitmap.Width, bitmap.Height));
    if (out.empty() || bitmap.Pixels.size() < out.size() - kBmpHeaderBytes ||
        !WriteBmp32(bitmap.Pixels.data(), bitmap.Width, bitmap.Height, TRowOrder::TopDown, out.data()))
        return {};
    return out;
}

bool DecodeBmp(const uint8_t* data, size_t size, TBitmap& out, std::string* error) {
    if (!data || size < kBmpHeaderBytes) return Fail(error, "too short for a bitmap header");
    if (Get16(data) != kBmpMagic) return Fail(error, "no bitmap signature");
    const uint32_t pixelOffset = Get32(data + 10);
    const uint32_t infoBytes = Get32(data + 14);
    if (infoBytes < kInfoHeaderBytes) return Fail(error, "unsupported bitmap header");
    const int32_t width = static_cast<int32_t>(Get32(data + 18));
    const int32_t rawHeight = static_cast<int32_t>(Get32(data + 22));
    const uint16_t bitCount = Get16(data + 28);
    const uint32_t compression = Get32(data + 30);
    if (width < 1 || width > kMaxBmpSide || rawHeight == 0 || rawHeight < -kMaxBmpSide || rawHeight > kMaxBmpSide)
        return Fail(error, "bitmap size out of range");
    if (bitCount != 24 && bitCount != 32) return Fail(error, "only 24- and 32-bit bitmaps are read");
    if (!(compression == kBiRgb || (compression == kBiBitfields && bitCount == 32)))
        return Fail(error, "compressed bitmaps are not read");
    if (compression == kBiBitfields) {
        // Masks follow a 40-byte header; only the usual 8-8-8 layout is accepted.
        const size_t masksAt = 14 + kInfoHeaderBytes;
        if (infoBytes == kInfoHeaderBytes && size < masksAt + 12) return Fail(error, "truncated bitmap masks");
        if (Get32(data + masksAt) != 0x00FF0000 || Get32(data + masksAt + 4) != 0x0000FF00 ||
            Get32(data + masksAt + 8) != 0x000000FF)
            return Fail(error, "unsupported bitmap colour masks");
    }
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const size_t bytesPerPixel = bitCount / 8;
    const size_t rowBytes = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
    if (pixelOffset < 14 + infoBytes || pixelOffset > size || size - pixelOffset < rowBytes * height)
        return Fail(error, "truncated bitmap pixels");

    TBitmap result;
    result.Width = width;
    result.Height = height;
    result.Pixels.resize(static_cast<size_t>(width) * height * 4);
    const uint8_t* pixels = data + pixelOffset;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = pixels + rowBytes * (rawHeight > 0 ? height - 1 - y : y);
        uint8_t* dst = result.Row(y);
        if (bytesPerPixel == 4) {
            std::memcpy(dst, src, static_cast<size_t>(width) * 4);
        } else {
            for (int x = 0; x < width; ++x) {
                dst[4 * x] = src[3 * x];
                dst[4 * x + 1] = src[3 * x + 1];
                dst[4 * x + 2] = src[3 * x + 2];
                dst[4 * x + 3] = 0;
            }
        }
    }
    out = std::move(result);
    return true;
}

}  // namespace platform
