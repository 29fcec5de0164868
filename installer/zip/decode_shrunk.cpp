#include <memory>

#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extract_result.h"

namespace hollarin {
namespace {

constexpr unsigned kShrinkFirstBits = 9;
constexpr unsigned kShrinkMaxBits = 13;
constexpr int kShrinkCodes = 1 << kShrinkMaxBits;
constexpr int kShrinkControl = 256;  // followed by 1 (one bit more) or 2 (partial clear)
constexpr int kShrinkFirstFree = 257;
constexpr int16_t kLiteralRoot = -2;
constexpr int16_t kFreeCode = -1;

// The code table: each code is its parent's string plus one byte. Literals 0..255 have no parent.
struct TShrinkTable {
    int16_t parent[kShrinkCodes];
    uint8_t value[kShrinkCodes];
    uint8_t stack[kShrinkCodes];  // one string, last byte first

    TShrinkTable() {
        for (int c = 0; c < kShrinkCodes; ++c) {
            parent[c] = c < kShrinkControl ? kLiteralRoot : kFreeCode;
            value[c] = uint8_t(c);
        }
    }

    // Frees every code that is no other code's parent (the leaves of the tree).
    void PartialClear() {
        bool hasChild[kShrinkCodes] = {};
        for (int c = kShrinkFirstFree; c < kShrinkCodes; ++c)
            if (parent[c] >= kShrinkFirstFree) hasChild[parent[c]] = true;
        for (int c = kShrinkFirstFree; c < kShrinkCodes; ++c)
            if (parent[c] != kFreeCode && !hasChild[c]) parent[c] = kFreeCode;
    }

    // Puts the string of code on the stack; its length, or 0 for a broken chain (a loop, a freed link).
    int Spell(int code) {
        int len = 0;
        while (code != kLiteralRoot) {
            if (code < 0 || parent[code] == kFreeCode || len == kShrinkCodes) return 0;
            stack[len++] = value[code];
            code = parent[code];
        }
        return len;
    }

    int NextFree(int after) const {
        for (int c = after + 1; c < kShrinkCodes; ++c)
            if (parent[c] == kFreeCode) return c;
        return kShrinkCodes;
    }
};

}  // namespace

int DecodeShrunk(TZipInput& in, TZipOutput& out) {
    auto table = std::make_unique<TShrinkTable>();
    unsigned codeBits = kShrinkFirstBits;
    if (out.Declared() == 0 || in.BitsLeft() < codeBits) return out.Flush();
    int previous = int(in.Bits(codeBits));
    if (previous >= kShrinkControl) return kZipExtractData;  // the first code is always a literal
    if (int rc = out.Put(uint8_t(previous)); rc != kZipExtractOk) return rc;
    int lastFree = kShrinkControl;

    while (out.Total() < out.Declared() && in.BitsLeft() >= codeBits) {
        if (in.Progress().Aborted()) return kZipExtractAborted;
        const int code = int(in.Bits(codeBits));
        if (code == kShrinkControl) {
            if (in.BitsLeft() < codeBits) break;
            const uint32_t control = in.Bits(codeBits);
            if (control == 1) {
                if (++codeBits > kShrinkMaxBits) return kZipExtractData;
            } else if (control == 2) {
                table->PartialClear();
                lastFree = kShrinkControl;
            } else {
                return kZipExtractData;
            }
            continue;
        }
        const int freeCode = table->NextFree(lastFree);
        // A code not yet in the table can only be the one about to be made: previous string + its first byte.
        const bool pending = table->parent[code] == kFreeCode;
        if (pending && code != freeCode) return kZipExtractData;
        const int len = table->Spell(pending ? previous : code);
        if (len == 0) return kZipExtractData;
        const uint8_t first = table->stack[len - 1];
        for (int i = len - 1; i >= 0; --i)
            if (int rc = out.Put(table->stack[i]); rc != kZipExtractOk) return rc;
        if (pending)
            if (int rc = out.Put(first); rc != kZipExtractOk) return rc;
        if (freeCode < kShrinkCodes) {
            table->parent[freeCode] = int16_t(previous);
            table->value[freeCode] = first;
            lastFree = freeCode;
        }
        previous = code;
    }
    return out.Flush();
}

}  // namespace hollarin
