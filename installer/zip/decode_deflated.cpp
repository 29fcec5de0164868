#include <zlib.h>

#include <cstring>

#include "installer/zip/deflate_header_trace.h"
#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extract_result.h"

namespace hollarin {
namespace {

constexpr size_t kHistoryBytes = size_t(1) << MAX_WBITS;

// A raw-deflate zlib stream, ended when it goes. Its history starts as 32 KiB of zeros, as the zero-filled
// output window it decodes into: a distance reaching before the start of the data reads zeros (the
// entry's CRC still tells whether that was what the archive meant) instead of failing the entry.
class TInflateStream {
public:
    TInflateStream() {
        initialised_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
        static const Bytef zeros[kHistoryBytes] = {};
        ok_ = initialised_ && inflateSetDictionary(&stream_, zeros, uInt(sizeof zeros)) == Z_OK;
    }
    ~TInflateStream() {
        if (initialised_) inflateEnd(&stream_);
    }
    TInflateStream(const TInflateStream&) = delete;
    TInflateStream& operator=(const TInflateStream&) = delete;
    bool Ok() const { return ok_; }
    z_stream* operator->() { return &stream_; }
    z_stream* Get() { return &stream_; }

private:
    z_stream stream_{};
    bool initialised_ = false;
    bool ok_ = false;
};

// inflate's data_type on return: the unused bits of the last byte taken, and whether it stopped at the
// end of a block.
constexpr int kUnusedBitsMask = 7;
constexpr int kAtBlockEnd = 128;

// Invalid compressed data, except a code-length repeat by code 16 or 17 that runs past the announced
// count of code lengths, which is told apart as a header out of range. zlib reports every repeat fault
// under one message; the block's header tells which code it was.
int DataErrorResult(const z_stream& stream, const TDeflateHeaderTrace& trace) {
    if (!stream.msg || std::strcmp(stream.msg, "invalid bit length repeat") != 0) return kZipExtractData;
    const int code = trace.OverrunningRepeatCode();
    return code == 16 || code == 17 ? kZipExtractCrc : kZipExtractData;
}

}  // namespace

int DecodeDeflated(TZipInput& in, TZipOutput& out, uint64_t& consumed) {
    consumed = 0;
    TInflateStream z;
    if (!z.Ok()) return kZipExtractRead;
    TDeflateHeaderTrace trace;
    for (;;) {
        if (in.Progress().Aborted()) return kZipExtractAborted;
        if (z->avail_in == 0) {
            std::span<const uint8_t> block = in.TakeBlock();
            if (block.empty()) return kZipExtractRead;
            z->next_in = const_cast<Bytef*>(block.data());
            z->avail_in = uInt(block.size());
        }
        z->next_out = out.FreeSpace();
        z->avail_out = uInt(out.FreeBytes());
        const uInt before = z->avail_out;
        const Bytef* taken = z->next_in;
        // Z_BLOCK: inflate stops at every block's end, so the trace knows where each block begins.
        const int rc = inflate(z.Get(), Z_BLOCK);
        trace.Took({taken, size_t(z->next_in - taken)});
        if (rc == Z_OK && (z->data_type & kAtBlockEnd)) trace.BlockEnded(unsigned(z->data_type & kUnusedBitsMask));
        if (int w = out.Advance(before - z->avail_out); w != kZipExtractOk) return w;
        switch (rc) {
            case Z_STREAM_END:
                consumed = z->total_in;
                return out.Flush();
            case Z_OK:
            case Z_BUF_ERROR:  // needs more input or more room: both come next round
                break;
            case Z_DATA_ERROR:
                return DataErrorResult(*z.Get(), trace);
            default:
                return kZipExtractRead;
        }
    }
}

}  // namespace hollarin
