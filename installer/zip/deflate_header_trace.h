// The start of the deflate block being decoded, kept so that a fault zlib reports in a dynamic block's
// header can be told apart the way this program's results need: a code-length repeat by code 16 or 17
// that runs past the announced count of code lengths answers kZipExtractCrc, one by code 18 (like every
// other invalid code) kZipExtractData. zlib gives all of them one message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hollarin {

class TDeflateHeaderTrace {
public:
    // A dynamic block's header ends within this many bytes of its first one: 17 header bits, 19
    // three-bit lengths and at most 320 code lengths of at most 14 bits each.
    static constexpr size_t kMaxDynamicHeaderBytes = 600;

    // Bytes the decoder took from its input, in order.
    void Took(std::span<const uint8_t> bytes);
    // The decoder stopped at the end of a block; unusedBits (0 to 7) of the last byte taken belong to
    // the next block.
    void BlockEnded(unsigned unusedBits);

    // The repeat code (16, 17 or 18) whose repeat runs past the count of code lengths announced by the
    // current block's header; 0 when the header read so far holds no such repeat.
    int OverrunningRepeatCode() const;

private:
    std::vector<uint8_t> header_;  // the current block from the byte its header begins in
    unsigned firstBit_ = 0;        // where in header_[0] it begins
    uint8_t lastByte_ = 0;
    bool tookAny_ = false;
};

}  // namespace hollarin
