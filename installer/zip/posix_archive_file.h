// An archive on the local file system, read with pread.
#pragma once

#include "installer/zip/zip_archive_file.h"
#include "platform/util/unique_fd.h"

namespace hollarin {

class TPosixArchiveFile final : public TZipArchiveFile {
public:
    // None when the file cannot be opened or is not a regular file.
    static std::unique_ptr<TPosixArchiveFile> Open(const char* name);

    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* dst, size_t n, size_t& got) override;

private:
    TPosixArchiveFile(platform::TUniqueFd fd, uint64_t size) : fd_(std::move(fd)), size_(size) {}
    platform::TUniqueFd fd_;
    uint64_t size_;
};

}  // namespace hollarin
