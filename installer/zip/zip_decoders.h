// The decoders of the compression methods: each takes the entry's data from the input, writes the
// decoded bytes to the output and answers with a result code of zip_extract_result.h.
#pragma once

#include <cstdint>

#include "installer/zip/zip_input.h"
#include "installer/zip/zip_output.h"

namespace hollarin {

// Method 0: copied in pieces of one window.
int DecodeStored(TZipInput& in, TZipOutput& out);
// Method 8 (RFC 1951, on zlib). consumed: compressed bytes the stream took up.
int DecodeDeflated(TZipInput& in, TZipOutput& out, uint64_t& consumed);
// Method 1: dynamic LZW, 9 to 13 bits, partial clearing.
int DecodeShrunk(TZipInput& in, TZipOutput& out);
// Methods 2 to 5: follower sets and the given compression factor (1 to 4).
int DecodeReduced(TZipInput& in, TZipOutput& out, int factor);
// Method 6: flag bit 1 selects the 8 KB dictionary, flag bit 2 the literal tree.
int DecodeImploded(TZipInput& in, TZipOutput& out, uint16_t flags);

// The window the reduced methods decode through.
constexpr size_t kReduceWindowBytes = 16384;

}  // namespace hollarin
