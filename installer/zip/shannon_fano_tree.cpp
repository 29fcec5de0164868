#include "installer/zip/shannon_fano_tree.h"

#include <algorithm>
#include <numeric>

namespace hollarin {

bool TShannonFanoTree::Read(TZipInput& in, unsigned symbols) {
    uint8_t count = 0;
    if (!in.TakeByte(count)) return false;
    std::vector<uint8_t> lengths;
    for (unsigned i = 0; i <= count; ++i) {
        uint8_t b = 0;
        if (!in.TakeByte(b)) return false;
        const unsigned run = (b >> 4) + 1u;
        if (lengths.size() + run > symbols) return false;
        lengths.insert(lengths.end(), run, uint8_t((b & 0x0F) + 1));
    }
    return lengths.size() == symbols && Build(lengths);
}

bool TShannonFanoTree::Build(const std::vector<uint8_t>& lengths) {
    for (auto& v : values_) v.clear();
    std::vector<uint16_t> order(lengths.size());
    std::iota(order.begin(), order.end(), uint16_t(0));
    std::stable_sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) { return lengths[a] < lengths[b]; });
    // Codes are handed out from the longest down, each one step above the last, in 16-bit space.
    uint32_t code = 0;
    uint32_t step = 0;
    unsigned lastLength = 0;
    for (size_t i = order.size(); i-- > 0;) {
        const unsigned len = lengths[order[i]];
        if (len < 1 || len > kMaxCodeBits) return false;
        code += step;
        if (len != lastLength) {
            lastLength = len;
            step = 1u << (kMaxCodeBits - len);
        }
        if (code + step > (1u << kMaxCodeBits)) return false;  // oversubscribed
        if (values_[len].empty()) firstCode_[len] = code >> (kMaxCodeBits - len);
        values_[len].push_back(order[i]);
    }
    return code + step == (1u << kMaxCodeBits);  // complete
}

int TShannonFanoTree::Decode(TZipInput& in) const {
    uint32_t code = 0;
    for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
        code = (code << 1) | in.Bits(1);
        const uint32_t index = code - firstCode_[len];
        if (!values_[len].empty() && code >= firstCode_[len] && index < values_[len].size()) return values_[len][index];
    }
    return -1;
}

}  // namespace hollarin
