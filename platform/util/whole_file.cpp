#include "platform/util/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/util/unique_fd.h"

namespace platform {

namespace {
constexpr size_t kReadBlockBytes = 64 * 1024;
}

WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes, int* error, uint64_t maxBytes) {
    auto fail = [error](WholeFileRead result, int code) {
        if (error) *error = code;
        return result;
    };
    bytes.clear();
    TUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) return fail(errno == ENOENT ? WholeFileRead::Missing : WholeFileRead::CannotOpen, errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return fail(WholeFileRead::CannotOpen, errno);
    if (!S_ISREG(st.st_mode)) return fail(WholeFileRead::CannotOpen, EISDIR);
    if (static_cast<uint64_t>(st.st_size) > maxBytes) return fail(WholeFileRead::TooLarge, EFBIG);
    std::array<char, kReadBlockBytes> block;
    for (;;) {
        const ssize_t n = ::read(fd.Get(), block.data(), block.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(WholeFileRead::CannotRead, errno);
        if (n == 0) return WholeFileRead::Ok;
        bytes.append(block.data(), static_cast<size_t>(n));
        if (bytes.size() > maxBytes) return fail(WholeFileRead::TooLarge, EFBIG);
    }
}

}  // namespace platform
