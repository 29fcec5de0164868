// Windows bitmap files (".bmp"): the one codec the screen-capture filter, the capture graph and the
// snapshot writer share. Writing always produces 32 bits per pixel, uncompressed, rows bottom-up (the
// layout every bitmap reader accepts); reading accepts uncompressed 24- and 32-bit files in either row
// order and refuses anything else with a reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dshow/RowOrder.h"

namespace platform {

// A picture in memory: rows top-down, four bytes per pixel in the order blue, green, red, unused.
struct TBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;  // Width * Height * 4 bytes

    bool Empty() const { return Width < 1 || Height < 1; }
    const uint8_t* Row(int y) const { return Pixels.data() + static_cast<size_t>(y) * Width * 4; }
    uint8_t* Row(int y) { return Pixels.data() + static_cast<size_t>(y) * Width * 4; }
};

constexpr size_t kBmpHeaderBytes = 54;  // file header 14 + info header 40
constexpr int kMaxBmpSide = 32768;      // larger pictures are refused as damaged

// Bytes of the bitmap file for a 32-bit picture of the given size (0 for a size below 1).
size_t BmpFileBytes(int width, int height);
// Writes the bitmap file of a 32-bit picture (width * 4 bytes per row, rows in the given order) into out,
// which must hold BmpFileBytes(width, height) bytes. False for a size below 1 or above kMaxBmpSide.
bool WriteBmp32(const uint8_t* pixels, int width, int height, TRowOrder order, uint8_t* out);
std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap);

// Reads a bitmap file; false with a reason in *error when the bytes are no bitmap this codec reads.
bool DecodeBmp(const uint8_t* data, size_t size, TBitmap& out, std::string* error = nullptr);

}  // namespace platform
