#include "installer/zip/zip_extra_field.h"

#include "installer/zip/zip_bytes.h"

namespace hollarin {

std::span<const uint8_t> FindZipExtraField(std::span<const uint8_t> extra, uint16_t id) {
    size_t pos = 0;
    while (pos + 4 <= extra.size()) {
        const uint16_t fieldId = ZipLe16(extra.data() + pos);
        const size_t length = ZipLe16(extra.data() + pos + 2);
        if (pos + 4 + length > extra.size()) return {};
        if (fieldId == id) return extra.subspan(pos + 4, length);
        pos += 4 + length;
    }
    return {};
}

TZip64Read ReadZip64Fields(std::span<const uint8_t> extra, std::initializer_list<uint32_t*> fields, bool every) {
    bool anyEscaped = false;
    for (const uint32_t* field : fields) anyEscaped = anyEscaped || *field == kZip64Escape32;
    if (!anyEscaped) return TZip64Read::Done;
    const std::span<const uint8_t> zip64 = FindZipExtraField(extra, kZip64ExtraId);
    size_t pos = 0;
    for (uint32_t* field : fields) {
        if (!every && *field != kZip64Escape32) continue;
        if (zip64.data() == nullptr || pos + 8 > zip64.size()) return TZip64Read::Missing;
        const uint64_t value = ZipLe64(zip64.data() + pos);
        pos += 8;
        if (value > UINT32_MAX) return TZip64Read::TooLarge;
        *field = uint32_t(value);
    }
    return TZip64Read::Done;
}

}  // namespace hollarin
