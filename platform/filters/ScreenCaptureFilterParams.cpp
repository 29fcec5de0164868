#include "platform/filters/ScreenCaptureFilterParams.h"

#include <algorithm>
#include <cstring>

#include "platform/util/utf8_text.h"

namespace screen_capture_record {

void PutByte(TScreenCaptureFilterParams& rec, size_t offset, uint8_t value) { rec.Bytes[offset] = value; }

void PutInt32(TScreenCaptureFilterParams& rec, size_t offset, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) rec.Bytes[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutShortString(TScreenCaptureFilterParams& rec, size_t offset, size_t fieldBytes, std::string_view text) {
    const size_t length = platform::Utf8PrefixLength(text, std::min<size_t>(fieldBytes - 1, 255));
    std::memset(rec.Bytes + offset, 0, fieldBytes);
    rec.Bytes[offset] = static_cast<uint8_t>(length);
    std::memcpy(rec.Bytes + offset + 1, text.data(), length);
}

uint8_t GetByte(const TScreenCaptureFilterParams& rec, size_t offset) { return rec.Bytes[offset]; }

int32_t GetInt32(const TScreenCaptureFilterParams& rec, size_t offset) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(rec.Bytes[offset + i]) << (8 * i);
    return static_cast<int32_t>(v);
}

std::string GetShortString(const TScreenCaptureFilterParams& rec, size_t offset, size_t fieldBytes) {
    const size_t length = std::min<size_t>(rec.Bytes[offset], fieldBytes - 1);
    return std::string(reinterpret_cast<const char*>(rec.Bytes + offset + 1), length);
}

}  // namespace screen_capture_record
