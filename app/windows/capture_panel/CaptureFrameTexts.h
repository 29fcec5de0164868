// The texts the capture panel and the share tabs show for a capture job's settings and live values.
// A value outside a list gives std::nullopt: the field keeps what it showed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/settings/app_globals.h"

namespace app {

// The capture name in the title bar: shown whole up to kTitleWholeWidthPx, otherwise cut one
// character at a time until it is at most kTitleCutWidthPx wide (or empty) and "..." appended.
constexpr int kTitleWholeWidthPx = 170;
constexpr int kTitleCutWidthPx = 160;
using TTextWidth = std::function<int(const std::string& text)>;
std::string FitTitle(const std::string& name, const TTextWidth& width);

std::optional<std::string> CaptureMethodText(uint8_t capEncoder);  // "VLC", "DirectX", "System"
struct TSourceKindText {
    std::string Text;
    uint8_t Scheme;  // bevel-label scheme of the source field
};
std::optional<TSourceKindText> SourceKindText(uint8_t capKind);

struct TPixelFormat {
    std::optional<std::string> Text;  // "1 bit" .. "32 bit"
    int Bits = 0;                     // 0 for an unknown format
};
TPixelFormat PixelFormatOf(uint8_t capPixelFormat);
// Kilobytes of one picture of width x height at bits per pixel, rounded, digits grouped by three.
std::string BitmapKiloBytesText(int bits, int32_t width, int32_t height, char thousandSeparator);

std::optional<std::string> VideoCodecText(uint8_t vidCodec);
std::optional<std::string> AudioCodecText(uint8_t audCodec);
std::optional<std::string> SnapshotFormatText(uint8_t capImageFormat);

// The watched folder's file format and what the program converts it to ("" for no conversion).
struct TFileFormatText {
    std::optional<std::string> Format;
    std::string Convert;
};
struct TConversionSettings {
    bool BmpConvAct = false;
    bool Bmp2Jpg = false;
    bool Bmp2Png = false;
    bool Svg2Png = false;
};
TFileFormatText FileFormatText(uint8_t capiFileFmt, const TConversionSettings& conversion);

// "hhh:mm:ss" with hours padded to three digits.
std::string RunTimeText(int hours, int minutes, int seconds);

// value with decimals digits after the locale's decimal separator, with or without thousands groups.
std::string FormatDecimal(double value, int decimals, bool groupThousands, const TLocaleSettings& locale);
// bytes as whole kilobytes (at least 1), digits grouped by three.
std::string KiloBytesText(int64_t bytes, char thousandSeparator);
// An integer with its digits grouped by three.
std::string GroupedNumber(int64_t value, char thousandSeparator);

}  // namespace app
