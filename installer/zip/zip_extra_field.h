// The extra fields of zip records, and the Zip64 extended information among them: where a size or an
// offset did not fit its 32-bit field, that field holds 0xFFFFFFFF and the value follows, 8 bytes
// wide, in the extra field of id 0x0001.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace hollarin {

constexpr uint16_t kZip64ExtraId = 0x0001;
// What a 32-bit field of a record holds when its value lies in the Zip64 extra field.
constexpr uint32_t kZip64Escape32 = 0xFFFFFFFF;
constexpr uint16_t kZip64Escape16 = 0xFFFF;

// The data of the first extra field with the id; empty (data() null) when there is none or the
// fields run past the extra bytes.
std::span<const uint8_t> FindZipExtraField(std::span<const uint8_t> extra, uint16_t id);

enum class TZip64Read {
    Done,      // every escaped field holds its value now
    Missing,   // a field is escaped but the Zip64 extra field is absent or too short for it
    TooLarge,  // a value needs more than 32 bits
};

// Fills, in the given order, each field that holds kZip64Escape32 from the next 8 bytes of the Zip64
// extra field; fields that hold other values are skipped, as the format skips them. With every, each
// given field takes the next 8 bytes, escaped or not (the local header, where both sizes come as a pair).
TZip64Read ReadZip64Fields(std::span<const uint8_t> extra, std::initializer_list<uint32_t*> fields,
                           bool every = false);

}  // namespace hollarin
