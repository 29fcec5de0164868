// The stream a grabbed picture travels in from the screen-capture filter to its caller.
#pragma once

#include <cstddef>

// A growable byte stream with a position, in the manner of the class library's memory stream. The
// caller owns it; the filter replaces its whole content with one bitmap file.
class IFrameStream {
public:
    virtual size_t Size() const noexcept = 0;
    virtual size_t Position() const noexcept = 0;
    // Positions beyond the end are clamped to the end.
    virtual void Seek(size_t position) noexcept = 0;
    // Grows (zero-filled) or shrinks; the position is clamped. False when memory ran out (nothing changed).
    virtual bool SetSize(size_t size) noexcept = 0;
    // Writes at the position, growing the stream; returns the bytes written (0 when memory ran out).
    virtual size_t Write(const void* data, size_t bytes) noexcept = 0;
    // Reads from the position; returns the bytes read.
    virtual size_t Read(void* data, size_t bytes) noexcept = 0;

protected:
    ~IFrameStream() = default;
};
