// Little-endian field access for zip records: every multi-byte value is read straight from the bytes.
#pragma once

#include <cstdint>

namespace hollarin {

inline uint16_t ZipLe16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t ZipLe32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t ZipLe64(const uint8_t* p) { return uint64_t(ZipLe32(p)) | (uint64_t(ZipLe32(p + 4)) << 32); }

// Record signatures: the letters PK and two bytes naming the record.
constexpr uint32_t kZipLocalHeaderSig = 0x04034b50;   // PK 3 4
constexpr uint32_t kZipCentralRecordSig = 0x02014b50; // PK 1 2
constexpr uint32_t kZipEndRecordSig = 0x06054b50;     // PK 5 6
constexpr uint32_t kZipDescriptorSig = 0x08074b50;    // PK 7 8
constexpr uint32_t kZip64EndRecordSig = 0x06064b50;   // PK 6 6
constexpr uint32_t kZip64LocatorSig = 0x07064b50;     // PK 6 7

}  // namespace hollarin
