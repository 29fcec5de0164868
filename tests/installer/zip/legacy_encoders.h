// Small encoders for the old zip methods, used only to make test archives: shrink (LZW with partial
// clearing), implode (sliding dictionary + Shannon-Fano trees) and reduce (repeats + follower sets).
// Their output is checked with `unzip -t` where unzip can (shrink, implode), and the decoders are in
// addition checked against hand-worked streams (reduce).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zip_test {

// Bits packed least significant first.
class TBitWriter {
public:
    void Put(uint32_t value, unsigned bits);
    // A code given most significant bit first (as Shannon-Fano codes are read).
    void PutCodeMsbFirst(uint32_t code, unsigned bits);
    std::string Finish();

private:
    std::string out_;
    uint32_t buffer_ = 0;
    unsigned count_ = 0;
};

struct TShrinkOptions {
    // Emit a partial clear (right after a literal) whenever fewer free codes than this are left, as the
    // original compressor does before its table runs full.
    int ClearWhenFreeBelow = 2;
};
std::string ShrinkEncode(std::string_view data, const TShrinkOptions& options = {});

// flags as in the local header: bit 1 8 KB dictionary, bit 2 literal tree.
std::string ImplodeEncode(std::string_view data, uint16_t flags);

// factor 1..4 (methods 2..5); followers: use follower sets (else all sets are empty).
std::string ReduceEncode(std::string_view data, int factor, bool followers);

}  // namespace zip_test
