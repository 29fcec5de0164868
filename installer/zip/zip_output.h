// The decoded bytes of one entry: a window of kWindowBytes (zero-filled, so that references before the
// start of the data read zeros) written to the target whenever it fills and at the end, with the
// running CRC-32. Output beyond the entry's declared size, or beyond the archive's budget, is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "installer/zip/zip_archive_budget.h"
#include "installer/zip/zip_target_file.h"

namespace hollarin {

class TZipOutput {
public:
    static constexpr size_t kWindowBytes = 32768;

    // windowLimit: how much of the window is used before it is written out (at most kWindowBytes).
    TZipOutput(TZipTargetFile& target, uint64_t declaredSize, TZipArchiveBudget& budget, std::string archive,
               size_t windowLimit = kWindowBytes);

    // Free room at the end of the window for a decoder that writes in place (inflate).
    uint8_t* FreeSpace() { return window_.get() + fill_; }
    size_t FreeBytes() const { return limit_ - fill_; }
    // Counts n bytes written into FreeSpace(); flushes a full window. A result code.
    int Advance(size_t n);

    // One byte; flushes a full window. A result code.
    int Put(uint8_t b);
    // The byte `distance` (>= 1, at most the window limit) positions back; zero before the start.
    uint8_t Back(size_t distance) const { return window_[(fill_ + limit_ - distance) % limit_]; }

    // Writes what the window holds; a result code.
    int Flush();

    uint64_t Total() const { return flushed_ + fill_; }
    uint64_t Declared() const { return declared_; }
    uint32_t Crc() const { return crc_; }

private:
    int Overrun();

    TZipTargetFile& target_;
    uint64_t declared_;
    TZipArchiveBudget& budget_;
    std::string archive_;
    size_t limit_;
    std::unique_ptr<uint8_t[]> window_;
    size_t fill_ = 0;
    uint64_t flushed_ = 0;
    uint32_t crc_;
};

}  // namespace hollarin
