#include "tests/installer/zip/legacy_encoders.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <queue>
#include <unordered_map>
#include <vector>

namespace zip_test {

void TBitWriter::Put(uint32_t value, unsigned bits) {
    for (unsigned i = 0; i < bits; ++i) {
        buffer_ |= ((value >> i) & 1u) << count_;
        if (++count_ == 8) {
            out_.push_back(char(buffer_));
            buffer_ = 0;
            count_ = 0;
        }
    }
}

void TBitWriter::PutCodeMsbFirst(uint32_t code, unsigned bits) {
    for (unsigned i = bits; i-- > 0;) Put((code >> i) & 1u, 1);
}

std::string TBitWriter::Finish() {
    if (count_ > 0) out_.push_back(char(buffer_));
    buffer_ = 0;
    count_ = 0;
    return std::move(out_);
}

// ---- shrink ---------------------------------------------------------------------------------------

namespace {

constexpr int kCodes = 8192;

// The encoder keeps the same table the decoder builds, step for step, so every code it sends is known
// to the decoder at that moment (or is the one code the decoder is about to make).
struct TShrinkModel {
    std::vector<int> parent = std::vector<int>(kCodes, -1);  // -1 free, -2 literal
    std::vector<uint8_t> value = std::vector<uint8_t>(kCodes, 0);
    std::unordered_map<int, int> child;  // parent * 256 + byte -> code

    TShrinkModel() {
        for (int c = 0; c < 256; ++c) parent[c] = -2;
    }
    int NextFree(int after) const {
        for (int c = after + 1; c < kCodes; ++c)
            if (parent[c] == -1) return c;
        return kCodes;
    }
    int FreeCount() const { return int(std::count(parent.begin() + 257, parent.end(), -1)); }
    void Add(int code, int par, uint8_t byte) {
        parent[code] = par;
        value[code] = byte;
        child[par * 256 + byte] = code;
    }
    void PartialClear() {
        std::vector<bool> hasChild(kCodes, false);
        for (int c = 257; c < kCodes; ++c)
            if (parent[c] >= 257) hasChild[parent[c]] = true;
        for (int c = 257; c < kCodes; ++c)
            if (parent[c] != -1 && !hasChild[c]) {
                child.erase(parent[c] * 256 + value[c]);
                parent[c] = -1;
            }
    }
};

}  // namespace

std::string ShrinkEncode(std::string_view data, const TShrinkOptions& options) {
    TBitWriter w;
    if (data.empty()) return "";
    TShrinkModel m;
    unsigned bits = 9;
    auto emit = [&](int code) {
        while (code >= (1 << bits)) {
            w.Put(256, bits);
            w.Put(1, bits);
            ++bits;
        }
        w.Put(uint32_t(code), bits);
    };
    int previous = uint8_t(data[0]);
    emit(previous);
    int lastFree = 256;
    size_t pos = 1;
    while (pos < data.size()) {
        const uint8_t first = uint8_t(data[pos]);
        const int slot = m.NextFree(lastFree);
        if (slot < kCodes) {
            m.Add(slot, previous, first);
            lastFree = slot;
        }
        const bool clearNow = m.FreeCount() < options.ClearWhenFreeBelow;
        int code = first;
        size_t len = 1;
        while (!clearNow && pos + len < data.size()) {
            auto it = m.child.find(code * 256 + uint8_t(data[pos + len]));
            if (it == m.child.end()) break;
            code = it->second;
            ++len;
        }
        emit(code);
        previous = code;
        pos += len;
        if (clearNow) {
            w.Put(256, bits);
            w.Put(2, bits);
            m.PartialClear();
            lastFree = 256;
        }
    }
    return w.Finish();
}

// ---- implode --------------------------------------------------------------------------------------

namespace {

// Huffman code lengths (every symbol gets one), flattened until none is longer than maxBits.
std::vector<uint8_t> CodeLengths(std::vector<uint64_t> freq, unsigned maxBits) {
    for (;;) {
        const size_t n = freq.size();
        std::vector<int> parentOf(2 * n, -1);
        using Node = std::pair<uint64_t, int>;
        std::priority_queue<Node, std::vector<Node>, std::greater<Node>> heap;
        for (size_t i = 0; i < n; ++i) heap.push({freq[i] + 1, int(i)});
        int next = int(n);
        while (heap.size() > 1) {
            Node a = heap.top();
            heap.pop();
            Node b = heap.top();
            heap.pop();
            parentOf[a.second] = parentOf[b.second] = next;
            heap.push({a.first + b.first, next++});
        }
        std::vector<uint8_t> lengths(n);
        unsigned longest = 0;
        for (size_t i = 0; i < n; ++i) {
            unsigned depth = 0;
            for (int p = parentOf[i]; p != -1; p = parentOf[p]) ++depth;
            lengths[i] = uint8_t(depth);
            longest = std::max(longest, depth);
        }
        if (longest <= maxBits) return lengths;
        for (auto& f : freq) f /= 2;
    }
}

// Codes by the application note's rule: sorted by length, handed out from the longest down.
std::vector<uint32_t> ShannonFanoCodes(const std::vector<uint8_t>& lengths) {
    std::vector<int> order(lengths.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lengths[a] < lengths[b]; });
    std::vector<uint32_t> codes(lengths.size());
    uint32_t code = 0, increment = 0;
    unsigned last = 0;
    for (int i = int(order.size()) - 1; i >= 0; --i) {
        code += increment;
        if (lengths[order[i]] != last) {
            last = lengths[order[i]];
            increment = 1u << (16 - last);
        }
        codes[order[i]] = code >> (16 - lengths[order[i]]);
    }
    return codes;
}

void PutTree(std::string& out, const std::vector<uint8_t>& lengths) {
    std::string runs;
    for (size_t i = 0; i < lengths.size();) {
        size_t j = i;
        while (j < lengths.size() && lengths[j] == lengths[i] && j - i < 16) ++j;
        runs.push_back(char(((j - i - 1) << 4) | (lengths[i] - 1)));
        i = j;
    }
    out.push_back(char(runs.size() - 1));
    out += runs;
}

struct TToken {
    bool literal;
    uint8_t byte;
    unsigned length;
    unsigned distance;
};

// Greedy matching through hash chains of three bytes.
std::vector<TToken> FindRepeats(std::string_view data, unsigned minMatch, unsigned maxMatch, unsigned window) {
    std::vector<TToken> tokens;
    std::unordered_map<uint32_t, std::vector<size_t>> seen;
    auto key = [&](size_t i) {
        return uint32_t(uint8_t(data[i])) | (uint32_t(uint8_t(data[i + 1])) << 8) |
               (i + 2 < data.size() ? uint32_t(uint8_t(data[i + 2])) << 16 : 0);
    };
    size_t i = 0;
    while (i < data.size()) {
        unsigned bestLen = 0, bestDist = 0;
        if (i + 2 < data.size()) {
            auto& list = seen[key(i)];
            int tries = 0;
            for (auto it = list.rbegin(); it != list.rend() && tries < 48; ++it, ++tries) {
                size_t dist = i - *it;
                if (dist > window) break;
                unsigned len = 0;
                while (len < maxMatch && i + len < data.size() && data[*it + len] == data[i + len]) ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = unsigned(dist);
                }
            }
        }
        size_t step = bestLen >= minMatch ? bestLen : 1;
        if (bestLen >= minMatch)
            tokens.push_back({false, 0, bestLen, bestDist});
        else
            tokens.push_back({true, uint8_t(data[i]), 0, 0});
        for (size_t k = i; k < i + step && k + 2 < data.size(); ++k) seen[key(k)].push_back(k);
        i += step;
    }
    return tokens;
}

}  // namespace

std::string ImplodeEncode(std::string_view data, uint16_t flags) {
    const bool literalTree = flags & 4;
    const unsigned lowBits = (flags & 2) ? 7 : 6;
    const unsigned minMatch = literalTree ? 3 : 2;
    const unsigned window = (flags & 2) ? 8192 : 4096;
    std::vector<TToken> tokens = FindRepeats(data, minMatch, minMatch + 63 + 255, window);
    std::vector<uint64_t> litFreq(256), lenFreq(64), distFreq(64);
    for (const TToken& t : tokens) {
        if (t.literal) {
            ++litFreq[t.byte];
        } else {
            ++lenFreq[std::min(t.length - minMatch, 63u)];
            ++distFreq[(t.distance - 1) >> lowBits];
        }
    }
    auto litLen = CodeLengths(litFreq, 16), lenLen = CodeLengths(lenFreq, 16), distLen = CodeLengths(distFreq, 16);
    auto litCode = ShannonFanoCodes(litLen), lenCode = ShannonFanoCodes(lenLen), distCode = ShannonFanoCodes(distLen);
    std::string out;
    if (literalTree) PutTree(out, litLen);
    PutTree(out, lenLen);
    PutTree(out, distLen);
    TBitWriter w;
    for (const TToken& t : tokens) {
        if (t.literal) {
            w.Put(1, 1);
            if (literalTree)
                w.PutCodeMsbFirst(litCode[t.byte], litLen[t.byte]);
            else
                w.Put(t.byte, 8);
            continue;
        }
        w.Put(0, 1);
        const unsigned d = t.distance - 1;
        w.Put(d & ((1u << lowBits) - 1), lowBits);
        w.PutCodeMsbFirst(distCode[d >> lowBits], distLen[d >> lowBits]);
        const unsigned l = t.length - minMatch;
        const unsigned sym = std::min(l, 63u);
        w.PutCodeMsbFirst(lenCode[sym], lenLen[sym]);
        if (sym == 63) w.Put(l - 63, 8);
    }
    return out + w.Finish();
}

// ---- reduce ---------------------------------------------------------------------------------------

std::string ReduceEncode(std::string_view data, int factor, bool followers) {
    const unsigned mask = 0x7Fu >> (factor - 1);
    const unsigned window = ((0xFFu >> (8 - factor)) << 8) + 256;
    // Repeat stage; a match needs length 4 when its distance fits one byte, so its first byte is not 0.
    std::vector<TToken> tokens = FindRepeats(data, 4, mask + 255 + 3, window);
    std::string mid;
    for (const TToken& t : tokens) {
        if (t.literal) {
            mid.push_back(char(t.byte));
            if (t.byte == 144) mid.push_back(0);
            continue;
        }
        const unsigned len = t.length - 3, d = t.distance - 1;
        mid.push_back(char(144));
        mid.push_back(char(((d >> 8) << (8 - factor)) | std::min(len, mask)));
        if (len >= mask) mid.push_back(char(len - mask));
        mid.push_back(char(d & 0xFF));
    }
    // Follower stage: per byte the (up to 32) most frequent bytes that follow it.
    std::array<std::vector<uint8_t>, 256> sets;
    if (followers) {
        std::array<std::array<unsigned, 256>, 256> count{};
        uint8_t last = 0;
        for (char ch : mid) {
            ++count[last][uint8_t(ch)];
            last = uint8_t(ch);
        }
        for (int j = 0; j < 256; ++j) {
            std::vector<int> bytes(256);
            std::iota(bytes.begin(), bytes.end(), 0);
            std::stable_sort(bytes.begin(), bytes.end(), [&](int a, int b) { return count[j][a] > count[j][b]; });
            for (int k = 0; k < 32 && count[j][bytes[k]] > 1; ++k) sets[j].push_back(uint8_t(bytes[k]));
        }
    }
    TBitWriter w;
    for (int j = 255; j >= 0; --j) {
        w.Put(unsigned(sets[j].size()), 6);
        for (uint8_t b : sets[j]) w.Put(b, 8);
    }
    uint8_t last = 0;
    for (char ch : mid) {
        const uint8_t c = uint8_t(ch);
        const auto& set = sets[last];
        if (set.empty()) {
            w.Put(c, 8);
        } else {
            auto it = std::find(set.begin(), set.end(), c);
            if (it == set.end()) {
                w.Put(1, 1);
                w.Put(c, 8);
            } else {
                unsigned bits = 1;
                while ((1u << bits) < set.size()) ++bits;
                w.Put(0, 1);
                w.Put(unsigned(it - set.begin()), bits);
            }
        }
        last = c;
    }
    return w.Finish();
}

}  // namespace zip_test
