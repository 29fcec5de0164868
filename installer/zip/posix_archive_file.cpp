#include "installer/zip/posix_archive_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace hollarin {

std::unique_ptr<TPosixArchiveFile> TPosixArchiveFile::Open(const char* name) {
    if (!name || !*name) return nullptr;
    platform::TUniqueFd fd(::open(name, O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) return nullptr;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    return std::unique_ptr<TPosixArchiveFile>(new TPosixArchiveFile(std::move(fd), uint64_t(st.st_size)));
}

bool TPosixArchiveFile::ReadAt(uint64_t offset, void* dst, size_t n, size_t& got) {
    got = 0;
    auto* out = static_cast<uint8_t*>(dst);
    while (got < n) {
        ssize_t r = ::pread(fd_.Get(), out + got, n - got, off_t(offset + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) break;
        got += size_t(r);
    }
    return true;
}

namespace {
class TPosixArchiveOpener final : public TZipArchiveOpener {
public:
    std::unique_ptr<TZipArchiveFile> Open(const char* name) override { return TPosixArchiveFile::Open(name); }
};
}  // namespace

TZipArchiveOpener& PosixArchiveOpener() {
    static TPosixArchiveOpener opener;
    return opener;
}

}  // namespace hollarin
