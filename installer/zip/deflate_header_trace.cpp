#include "installer/zip/deflate_header_trace.h"

#include <algorithm>
#include <optional>

namespace hollarin {
namespace {

constexpr unsigned kDynamicBlockType = 2;
constexpr unsigned kCodeLengthCodes = 19;
constexpr unsigned kMaxCodeLengthBits = 7;
// The order in which a dynamic header gives the lengths of the code-length code (RFC 1951, 3.2.7).
constexpr uint8_t kCodeLengthOrder[kCodeLengthCodes] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                         11, 4,  12, 3, 13, 2, 14, 1, 15};

class TBitReader {
public:
    TBitReader(std::span<const uint8_t> bytes, unsigned firstBit) : bytes_(bytes), bit_(firstBit) {}
    // n bits, least significant first; none past the end.
    std::optional<unsigned> Bits(unsigned n) {
        unsigned value = 0;
        for (unsigned i = 0; i < n; ++i) {
            const std::optional<unsigned> b = Bit();
            if (!b) return std::nullopt;
            value |= *b << i;
        }
        return value;
    }
    std::optional<unsigned> Bit() {
        if (bit_ / 8 >= bytes_.size()) return std::nullopt;
        const unsigned b = (bytes_[bit_ / 8] >> (bit_ % 8)) & 1u;
        ++bit_;
        return b;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t bit_;
};

// The code-length code as canonical Huffman codes, decoded bit by bit (codes are sent from their most
// significant bit).
class TCodeLengthCode {
public:
    explicit TCodeLengthCode(const uint8_t (&lengths)[kCodeLengthCodes]) : lengths_(lengths) {
        unsigned count[kMaxCodeLengthBits + 1] = {};
        for (uint8_t length : lengths) ++count[length];
        count[0] = 0;
        unsigned code = 0;
        for (unsigned bits = 1; bits <= kMaxCodeLengthBits; ++bits) {
            code = (code + count[bits - 1]) << 1;
            firstCode_[bits] = code;
        }
    }
    std::optional<unsigned> Decode(TBitReader& in) const {
        unsigned code = 0;
        for (unsigned bits = 1; bits <= kMaxCodeLengthBits; ++bits) {
            const std::optional<unsigned> b = in.Bit();
            if (!b) return std::nullopt;
            code = (code << 1) | *b;
            // Symbols of one length take consecutive codes in the order of their values.
            unsigned next = firstCode_[bits];
            for (unsigned symbol = 0; symbol < kCodeLengthCodes; ++symbol) {
                if (lengths_[symbol] != bits) continue;
                if (next == code) return symbol;
                ++next;
            }
        }
        return std::nullopt;
    }

private:
    const uint8_t (&lengths_)[kCodeLengthCodes];
    unsigned firstCode_[kMaxCodeLengthBits + 1] = {};
};

}  // namespace

void TDeflateHeaderTrace::Took(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return;
    const size_t room = header_.size() < kMaxDynamicHeaderBytes ? kMaxDynamicHeaderBytes - header_.size() : 0;
    header_.insert(header_.end(), bytes.begin(), bytes.begin() + std::min(room, bytes.size()));
    lastByte_ = bytes.back();
    tookAny_ = true;
}

void TDeflateHeaderTrace::BlockEnded(unsigned unusedBits) {
    header_.clear();
    firstBit_ = 0;
    if (unusedBits == 0 || !tookAny_) return;
    header_.push_back(lastByte_);
    firstBit_ = 8 - unusedBits;
}

int TDeflateHeaderTrace::OverrunningRepeatCode() const {
    TBitReader in(header_, firstBit_);
    const std::optional<unsigned> final = in.Bits(1);
    const std::optional<unsigned> type = in.Bits(2);
    const std::optional<unsigned> literals = in.Bits(5);
    const std::optional<unsigned> distances = in.Bits(5);
    const std::optional<unsigned> codeLengthCount = in.Bits(4);
    if (!final || !type || *type != kDynamicBlockType || !literals || !distances || !codeLengthCount) return 0;
    uint8_t lengths[kCodeLengthCodes] = {};
    for (unsigned i = 0; i < *codeLengthCount + 4; ++i) {
        const std::optional<unsigned> length = in.Bits(3);
        if (!length) return 0;
        lengths[kCodeLengthOrder[i]] = uint8_t(*length);
    }
    const TCodeLengthCode code(lengths);
    const unsigned total = *literals + 257 + *distances + 1;
    unsigned have = 0;
    while (have < total) {
        const std::optional<unsigned> symbol = code.Decode(in);
        if (!symbol) return 0;
        if (*symbol < 16) {
            ++have;
            continue;
        }
        // A repeat of the previous length needs one; without it the code is invalid, not an overrun.
        if (*symbol == 16 && have == 0) return 0;
        const unsigned extraBits = *symbol == 16 ? 2 : *symbol == 17 ? 3 : 7;
        const unsigned base = *symbol == 18 ? 11 : 3;
        const std::optional<unsigned> extra = in.Bits(extraBits);
        if (!extra) return 0;
        have += base + *extra;
        if (have > total) return int(*symbol);
    }
    return 0;
}

}  // namespace hollarin
