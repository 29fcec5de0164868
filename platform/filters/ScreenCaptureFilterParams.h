// The 716-byte record that hands the capture settings to the screen-capture filter: zero-filled, integers
// little-endian, texts as a length byte followed by that many bytes, the rest of their field zero.
// Both sides use the offsets below: the program packs the record, the filter unpacks it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct TScreenCaptureFilterParams {
    uint8_t Bytes[716];
};
static_assert(sizeof(TScreenCaptureFilterParams) == 716);

namespace screen_capture_record {

constexpr size_t kCaptureMode = 0;             // byte
constexpr size_t kParamsKind = 4;              // byte, always kParamsKindValue
constexpr size_t kScalePercent = 8;            // 32-bit
constexpr size_t kLeft = 12;                   // 32-bit
constexpr size_t kTop = 16;                    // 32-bit
constexpr size_t kWidth = 20;                  // 32-bit
constexpr size_t kHeight = 24;                 // 32-bit
constexpr size_t kWindowClass = 28;            // short string field of kWindowTextField bytes
constexpr size_t kWindowCaption = 284;         // short string field of kWindowTextField bytes
constexpr size_t kFrameRate = 540;             // 32-bit
constexpr size_t kMonitorNo = 544;             // 32-bit
constexpr size_t kCaptureMouse = 548;          // byte
constexpr size_t kOutWidth = 552;              // 32-bit
constexpr size_t kOutHeight = 556;             // 32-bit
constexpr size_t kPixelFormat = 560;           // byte
constexpr size_t kSnapshotOutput = 564;        // byte
constexpr size_t kImageFreq = 568;             // 32-bit
constexpr size_t kTimeDisplayActive = 572;     // byte
constexpr size_t kTimeDisplayPos = 573;        // byte (low byte of the position code)
constexpr size_t kTimeDisplayFont = 574;       // short string field of kFontField bytes
constexpr size_t kTimeDisplaySize = 676;       // 32-bit
constexpr size_t kTimeDisplayColor = 680;      // 32-bit
constexpr size_t kTimeDisplayBold = 684;       // byte
constexpr size_t kTimeDisplayBkColor = 688;    // 32-bit
constexpr size_t kTimeDisplayTransparent = 692;  // byte
constexpr size_t kReserved = 696;              // four 32-bit zeros
constexpr size_t kVideoOutput = 712;           // byte

constexpr size_t kWindowTextField = 256;  // length byte + at most 255 bytes
constexpr size_t kWindowTextBytes = kWindowTextField - 1;  // of a window's class name or caption
constexpr size_t kFontField = 101;        // length byte + at most 100 bytes
constexpr uint8_t kParamsKindValue = 4;

void PutByte(TScreenCaptureFilterParams& rec, size_t offset, uint8_t value);
void PutInt32(TScreenCaptureFilterParams& rec, size_t offset, int32_t value);
// Writes text into a field of fieldBytes bytes: the length byte, then at most fieldBytes - 1 bytes of
// the text, cut before a UTF-8 character that would not fit whole; the rest of the field is zeroed.
void PutShortString(TScreenCaptureFilterParams& rec, size_t offset, size_t fieldBytes, std::string_view text);

uint8_t GetByte(const TScreenCaptureFilterParams& rec, size_t offset);
int32_t GetInt32(const TScreenCaptureFilterParams& rec, size_t offset);
// A length byte larger than the field allows reads as the whole field.
std::string GetShortString(const TScreenCaptureFilterParams& rec, size_t offset, size_t fieldBytes);

}  // namespace screen_capture_record
