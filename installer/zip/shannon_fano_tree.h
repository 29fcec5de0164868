// One Shannon-Fano code tree of the imploding method: read from its compact form (a count byte, then
// bytes of "how many codes" in the high and "bit length - 1" in the low nibble) and decoded bit by bit.
// Only complete trees are accepted.
#pragma once

#include <cstdint>
#include <vector>

#include "installer/zip/zip_input.h"

namespace hollarin {

class TShannonFanoTree {
public:
    static constexpr unsigned kMaxCodeBits = 16;

    // False for a tree that is damaged, incomplete or does not describe exactly `symbols` values.
    bool Read(TZipInput& in, unsigned symbols);
    // Builds the codes from bit lengths given in value order.
    bool Build(const std::vector<uint8_t>& lengths);
    // The next value, or -1 for a bit sequence that is no code.
    int Decode(TZipInput& in) const;

private:
    // Per bit length: the first code (read most significant bit first) and the values in code order.
    uint32_t firstCode_[kMaxCodeBits + 1] = {};
    std::vector<uint16_t> values_[kMaxCodeBits + 1];
};

}  // namespace hollarin
