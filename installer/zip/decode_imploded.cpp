#include "installer/zip/shannon_fano_tree.h"
#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extract_result.h"

namespace hollarin {
namespace {

constexpr uint16_t kFlagLargeDictionary = 0x02;  // 8 KB instead of 4 KB
constexpr uint16_t kFlagLiteralTree = 0x04;      // three trees, literals coded too
constexpr unsigned kLengthSymbols = 64;
constexpr unsigned kDistanceSymbols = 64;
constexpr unsigned kLiteralSymbols = 256;
constexpr int kLongLengthSymbol = 63;  // followed by 8 more bits of length

}  // namespace

int DecodeImploded(TZipInput& in, TZipOutput& out, uint16_t flags) {
    const bool literalTree = (flags & kFlagLiteralTree) != 0;
    const unsigned distanceLowBits = (flags & kFlagLargeDictionary) ? 7 : 6;
    const unsigned minMatch = literalTree ? 3 : 2;
    TShannonFanoTree literals, lengths, distances;
    if (literalTree && !literals.Read(in, kLiteralSymbols)) return in.EndOfInput() ? kZipExtractRead : kZipExtractData;
    if (!lengths.Read(in, kLengthSymbols) || !distances.Read(in, kDistanceSymbols))
        return in.EndOfInput() ? kZipExtractRead : kZipExtractData;

    while (out.Total() < out.Declared()) {
        if (in.Progress().Aborted()) return kZipExtractAborted;
        if (in.Bits(1) == 1) {
            const int c = literalTree ? literals.Decode(in) : int(in.Bits(8));
            if (in.EndOfInput()) return kZipExtractRead;
            if (c < 0) return kZipExtractData;
            if (int rc = out.Put(uint8_t(c)); rc != kZipExtractOk) return rc;
            continue;
        }
        const uint32_t low = in.Bits(distanceLowBits);
        const int high = distances.Decode(in);
        int length = high < 0 ? -1 : lengths.Decode(in);
        if (length == kLongLengthSymbol) length += int(in.Bits(8));
        if (in.EndOfInput()) return kZipExtractRead;
        if (length < 0) return kZipExtractData;
        const size_t distance = ((uint32_t(high) << distanceLowBits) | low) + 1;
        for (unsigned i = 0; i < unsigned(length) + minMatch && out.Total() < out.Declared(); ++i)
            if (int rc = out.Put(out.Back(distance)); rc != kZipExtractOk) return rc;
    }
    return out.Flush();
}

}  // namespace hollarin
