#include "app/windows/capture_panel/CaptureFrameTexts.h"

#include <cmath>
#include <cstdio>

#include "engine/util/number_strings.h"

namespace app {

namespace {
constexpr int kDigitGroup = 3;
constexpr const char* kCutMark = "...";

template <size_t N>
std::optional<std::string> FromTable(const char* const (&table)[N], uint8_t index) {
    if (index >= N) return std::nullopt;
    return std::string(table[index]);
}

// Removes the last UTF-8 character (never half of one).
void PopCharacter(std::string& text) {
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((last & 0xC0) != 0x80) return;
    }
}
}  // namespace

std::string FitTitle(const std::string& name, const TTextWidth& width) {
    if (width(name) <= kTitleWholeWidthPx) return name;
    std::string cut = name;
    do {
        PopCharacter(cut);
    } while (!cut.empty() && width(cut) > kTitleCutWidthPx);
    return cut + kCutMark;
}

std::optional<std::string> CaptureMethodText(uint8_t capEncoder) {
    static const char* const kTexts[] = {"VLC", "DirectX", "System"};
    return FromTable(kTexts, capEncoder);
}

std::optional<TSourceKindText> SourceKindText(uint8_t capKind) {
    static const TSourceKindText kTexts[] = {{"All Desk.", 4}, {"Desktop", 4}, {"Window", 4},
                                             {"Desk-Area", 4}, {"UDP", 6},     {"Files", 4}};
    if (capKind >= std::size(kTexts)) return std::nullopt;
    return kTexts[capKind];
}

TPixelFormat PixelFormatOf(uint8_t capPixelFormat) {
    static const int kBits[] = {1, 4, 8, 15, 16, 24, 32};
    if (capPixelFormat >= std::size(kBits)) return {};
    const int bits = kBits[capPixelFormat];
    return {std::to_string(bits) + " bit", bits};
}

std::string BitmapKiloBytesText(int bits, int32_t width, int32_t height, char thousandSeparator) {
    const double kiloBytes = double(bits) * width * height / 8.0 / 1000.0;
    return GroupedNumber(static_cast<int64_t>(std::nearbyint(kiloBytes)), thousandSeparator);
}

std::optional<std::string> VideoCodecText(uint8_t vidCodec) {
    static const char* const kTexts[] = {"none", "orig", "H.264", "MP4", "VP8", "H.265"};
    return FromTable(kTexts, vidCodec);
}

std::optional<std::string> AudioCodecText(uint8_t audCodec) {
    static const char* const kTexts[] = {"none", "orig", "MP3"};
    return FromTable(kTexts, audCodec);
}

std::optional<std::string> SnapshotFormatText(uint8_t capImageFormat) {
    static const char* const kTexts[] = {"PNG", "JPG", "BMP"};
    return FromTable(kTexts, capImageFormat);
}

TFileFormatText FileFormatText(uint8_t capiFileFmt, const TConversionSettings& conversion) {
    static const char* const kTexts[] = {"BMP", "JPG", "SVG", "PNG", "Unk"};
    TFileFormatText result;
    result.Format = FromTable(kTexts, capiFileFmt);
    if (capiFileFmt == 0 && conversion.BmpConvAct) {
        if (conversion.Bmp2Jpg) result.Convert = "JPG";
        if (conversion.Bmp2Png) result.Convert = "PNG";
    } else if (capiFileFmt == 2 && conversion.Svg2Png) {
        result.Convert = "PNG";
    }
    return result;
}

std::string RunTimeText(int hours, int minutes, int seconds) {
    return engine::ZeroPadStr(std::to_string(hours), 3) + ":" + engine::ZeroPadStr(std::to_string(minutes), 2) + ":" +
           engine::ZeroPadStr(std::to_string(seconds), 2);
}

std::string GroupedNumber(int64_t value, char thousandSeparator) {
    const std::string digits = engine::GroupNumStr(std::to_string(value < 0 ? -value : value), kDigitGroup,
                                                   thousandSeparator);
    return value < 0 ? "-" + digits : digits;
}

std::string FormatDecimal(double value, int decimals, bool groupThousands, const TLocaleSettings& locale) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.erase(0, 1);
    const size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (groupThousands) whole = engine::GroupNumStr(whole, kDigitGroup, locale.ThousandSeparator);
    std::string result = negative ? "-" + whole : whole;
    if (!fraction.empty()) result += locale.DecimalSeparator + fraction;
    return result;
}

std::string KiloBytesText(int64_t bytes, char thousandSeparator) {
    int64_t kiloBytes = bytes / 1000;
    if (kiloBytes == 0) kiloBytes = 1;
    return GroupedNumber(kiloBytes, thousandSeparator);
}

}  // namespace app
