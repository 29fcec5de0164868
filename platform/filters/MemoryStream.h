// A byte stream held in memory: the IFrameStream the capture graph hands to the screen-capture filter.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/filters/FrameStream.h"

namespace platform {

class TMemoryStream final : public IFrameStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;
    virtual ~TMemoryStream() = default;

    size_t Size() const noexcept override { return bytes_.size(); }
    size_t Position() const noexcept override { return position_; }
    void Seek(size_t position) noexcept override;
    bool SetSize(size_t size) noexcept override;
    size_t Write(const void* data, size_t bytes) noexcept override;
    size_t Read(void* data, size_t bytes) noexcept override;

    const uint8_t* Data() const { return bytes_.data(); }
    // Frees the memory as well as emptying the stream.
    void Clear() noexcept;

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

}  // namespace platform
