// A file opened for sending: the descriptor stays open for the whole transfer, so a writer that
// replaces the published file (temporary name + rename) never mixes its bytes into a running answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/util/unique_fd.h"

namespace engine {

class TServedFile {
public:
    enum class TOpenResult { Opened, NotRegular, Failed };

    // Opens path read-only without following a final link and without blocking on a FIFO; only a
    // regular file is kept open.
    TOpenResult Open(const std::filesystem::path& path);

    bool IsOpen() const { return fd_.Valid(); }
    uint64_t Size() const { return size_; }
    // A writer still has the file open (IsOpenFileInUse on the descriptor held).
    bool BeingWritten() const;
    const std::filesystem::path& Path() const { return path_; }
    // The open descriptor, for sending the file without reading it here; -1 when closed.
    int Descriptor() const { return fd_.Get(); }

    // Up to count bytes at offset; 0 at the end of the file, -1 on an error.
    long ReadAt(uint64_t offset, char* buffer, size_t count) const;

private:
    void Close();

    platform::TUniqueFd fd_;
    uint64_t size_ = 0;
    std::filesystem::path path_;
};

}  // namespace engine
