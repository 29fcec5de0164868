#include "platform/filters/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace platform {

void TMemoryStream::Seek(size_t position) noexcept { position_ = std::min(position, bytes_.size()); }

bool TMemoryStream::SetSize(size_t size) noexcept {
    try {
        bytes_.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    position_ = std::min(position_, size);
    return true;
}

size_t TMemoryStream::Write(const void* data, size_t bytes) noexcept {
    if (bytes == 0 || !data) return 0;
    if (bytes > bytes_.max_size() - position_) return 0;
    if (position_ + bytes > bytes_.size() && !SetSize(position_ + bytes)) return 0;
    std::memcpy(bytes_.data() + position_, data, bytes);
    position_ += bytes;
    return bytes;
}

size_t TMemoryStream::Read(void* data, size_t bytes) noexcept {
    const size_t n = std::min(bytes, bytes_.size() - position_);
    if (n == 0 || !data) return 0;
    std::memcpy(data, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

void TMemoryStream::Clear() noexcept {
    std::vector<uint8_t>().swap(bytes_);
    position_ = 0;
}

}  // namespace platform
