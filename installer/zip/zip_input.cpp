#include "installer/zip/zip_input.h"

#include <algorithm>

namespace hollarin {

TZipInput::TZipInput(TZipArchiveFile& file, uint64_t dataOffset, uint64_t compressedSize, TZipProgress& progress)
    : file_(file), dataOffset_(dataOffset), compressedSize_(compressedSize), progress_(progress) {}

bool TZipInput::Refill() {
    pos_ = end_ = 0;
    const uint64_t limit = compressedSize_ + kReadSlackBytes;
    if (endOfInput_ || bytesRead_ >= limit) {
        endOfInput_ = true;
        return false;
    }
    progress_.Pump();
    progress_.Check(bytesRead_, compressedSize_);
    const size_t want = size_t(std::min<uint64_t>(kInputBlockBytes, limit - bytesRead_));
    size_t got = 0;
    if (!file_.ReadAt(dataOffset_ + bytesRead_, buffer_, want, got) || got == 0) {
        endOfInput_ = true;
        return false;
    }
    bytesRead_ += got;
    end_ = got;
    return true;
}

std::span<const uint8_t> TZipInput::TakeBlock() {
    if (pos_ == end_ && !Refill()) return {};
    std::span<const uint8_t> block(buffer_ + pos_, end_ - pos_);
    bytesTaken_ += end_ - pos_;
    pos_ = end_;
    return block;
}

bool TZipInput::ReadPiece(uint8_t* dst, size_t n) {
    size_t got = 0;
    if (!file_.ReadAt(dataOffset_ + bytesRead_, dst, n, got) || got != n) {
        endOfInput_ = true;
        return false;
    }
    bytesRead_ += n;
    bytesTaken_ += n;
    return true;
}

bool TZipInput::TakeByte(uint8_t& b) {
    if (pos_ == end_ && !Refill()) return false;
    b = buffer_[pos_++];
    ++bytesTaken_;
    return true;
}

uint32_t TZipInput::Bits(unsigned n) {
    while (bitCount_ < n) {
        uint8_t b = 0;
        TakeByte(b);  // past the end: zero bits, end-of-input set
        bitBuffer_ |= uint32_t(b) << bitCount_;
        bitCount_ += 8;
    }
    const uint32_t value = bitBuffer_ & ((uint32_t(1) << n) - 1);
    bitBuffer_ >>= n;
    bitCount_ -= n;
    return value;
}

uint64_t TZipInput::BitsLeft() const {
    if (endOfInput_) return 0;
    const uint64_t used = bytesTaken_ * 8 - bitCount_;
    const uint64_t total = compressedSize_ * 8;
    return used < total ? total - used : 0;
}

}  // namespace hollarin
