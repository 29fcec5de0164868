// The compressed data of one entry as its decoders see it: read from the archive kInputBlockBytes at a
// time (the message pump and the progress check run once per block), as whole blocks (inflate), as
// bytes or as bits taken least significant first. Reading stops kReadSlackBytes past the entry's
// compressed size; asking for more sets the end-of-input flag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "installer/zip/zip_archive_file.h"
#include "installer/zip/zip_progress.h"

namespace hollarin {

class TZipInput {
public:
    static constexpr size_t kInputBlockBytes = 2048;
    static constexpr uint64_t kReadSlackBytes = 2;

    TZipInput(TZipArchiveFile& file, uint64_t dataOffset, uint64_t compressedSize, TZipProgress& progress);

    // The next block; empty once the data is used up (end-of-input is then set).
    std::span<const uint8_t> TakeBlock();
    // Stored data: exactly n bytes read straight into dst; false when fewer came.
    bool ReadPiece(uint8_t* dst, size_t n);
    bool TakeByte(uint8_t& b);
    // n (at most 24) bits; bits past the end read as 0 and set end-of-input.
    uint32_t Bits(unsigned n);
    // Bits of the entry's compressed data not yet taken.
    uint64_t BitsLeft() const;

    bool EndOfInput() const { return endOfInput_; }
    uint64_t BytesRead() const { return bytesRead_; }
    uint64_t CompressedSize() const { return compressedSize_; }
    TZipProgress& Progress() { return progress_; }

private:
    bool Refill();

    TZipArchiveFile& file_;
    uint64_t dataOffset_;
    uint64_t compressedSize_;
    TZipProgress& progress_;
    uint8_t buffer_[kInputBlockBytes];
    size_t pos_ = 0;
    size_t end_ = 0;
    uint64_t bytesRead_ = 0;   // archive bytes read for this entry
    uint64_t bytesTaken_ = 0;  // of those, handed to the decoder
    bool endOfInput_ = false;
    uint32_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
};

}  // namespace hollarin
