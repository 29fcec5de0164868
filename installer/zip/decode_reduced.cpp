#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extract_result.h"

namespace hollarin {
namespace {

constexpr uint8_t kReduceEscape = 144;  // DLE: starts a (length, distance) pair
constexpr unsigned kFollowerCountBits = 6;

// Bits of an index into a follower set of n entries: enough for n - 1, at least one.
unsigned IndexBits(unsigned n) {
    unsigned bits = 1;
    while ((1u << bits) < n) ++bits;
    return bits;
}

struct TFollowerSets {
    uint8_t count[256] = {};
    uint8_t follower[256][1 << kFollowerCountBits] = {};
};

}  // namespace

int DecodeReduced(TZipInput& in, TZipOutput& out, int factor) {
    TFollowerSets sets;
    for (int j = 255; j >= 0; --j) {
        sets.count[j] = uint8_t(in.Bits(kFollowerCountBits));
        for (unsigned i = 0; i < sets.count[j]; ++i) sets.follower[j][i] = uint8_t(in.Bits(8));
    }
    if (in.EndOfInput()) return kZipExtractRead;

    const unsigned lengthMask = 0x7Fu >> (factor - 1);  // L(X): the low 8 - factor bits
    enum { kLiteral, kPairStart, kLongLength, kDistance } state = kLiteral;
    uint8_t last = 0;
    unsigned pair = 0;
    unsigned length = 0;
    while (out.Total() < out.Declared()) {
        if (in.Progress().Aborted()) return kZipExtractAborted;
        // The probabilistic stage: a byte is a follower of the last one, or given in full.
        uint8_t c;
        const unsigned n = sets.count[last];
        if (n == 0 || in.Bits(1) == 1) {
            c = uint8_t(in.Bits(8));
        } else {
            const unsigned index = in.Bits(IndexBits(n));
            if (index >= n) return kZipExtractData;
            c = sets.follower[last][index];
        }
        if (in.EndOfInput()) return kZipExtractRead;
        last = c;
        // The repeat stage.
        switch (state) {
            case kLiteral:
                if (c != kReduceEscape) {
                    if (int rc = out.Put(c); rc != kZipExtractOk) return rc;
                } else {
                    state = kPairStart;
                }
                break;
            case kPairStart:
                if (c == 0) {
                    if (int rc = out.Put(kReduceEscape); rc != kZipExtractOk) return rc;
                    state = kLiteral;
                } else {
                    pair = c;
                    length = c & lengthMask;
                    state = length == lengthMask ? kLongLength : kDistance;
                }
                break;
            case kLongLength:
                length += c;
                state = kDistance;
                break;
            case kDistance: {
                const size_t distance = ((pair >> (8 - factor)) << 8) + c + 1;
                for (unsigned i = 0; i < length + 3 && out.Total() < out.Declared(); ++i)
                    if (int rc = out.Put(out.Back(distance)); rc != kZipExtractOk) return rc;
                state = kLiteral;
                break;
            }
        }
    }
    return out.Flush();
}

}  // namespace hollarin
