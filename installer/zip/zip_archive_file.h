// Read access to an archive: the directory reader and the extraction read through this small interface,
// so tests can hand them an archive whose Nth read fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace hollarin {

class TZipArchiveFile {
public:
    virtual ~TZipArchiveFile() = default;
    virtual uint64_t Size() const = 0;
    // Reads up to n bytes at offset into dst; false on a read error. got receives the count (0 at the end).
    virtual bool ReadAt(uint64_t offset, void* dst, size_t n, size_t& got) = 0;

    // Reads exactly n bytes; a short read counts as a failure.
    bool ReadExactAt(uint64_t offset, void* dst, size_t n) {
        size_t got = 0;
        return ReadAt(offset, dst, n, got) && got == n;
    }
};

class TZipArchiveOpener {
public:
    virtual ~TZipArchiveOpener() = default;
    // None when the archive cannot be opened for reading.
    virtual std::unique_ptr<TZipArchiveFile> Open(const char* name) = 0;
};

// Opens archives on the local file system (read-only).
TZipArchiveOpener& PosixArchiveOpener();

}  // namespace hollarin
