#include <zlib.h>

#include <cstring>

#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extract_result.h"

namespace hollarin {
namespace {

// A raw-deflate zlib stream, ended when it goes.
class TInflateStream {
public:
    TInflateStream() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~TInflateStream() {
        if (ok_) inflateEnd(&stream_);
    }
    TInflateStream(const TInflateStream&) = delete;
    TInflateStream& operator=(const TInflateStream&) = delete;
    bool Ok() const { return ok_; }
    z_stream* operator->() { return &stream_; }
    z_stream* Get() { return &stream_; }

private:
    z_stream stream_{};
    bool ok_ = false;
};

// zlib names the one fault that the classic decoder reported apart: a code-length repeat that runs past
// the announced count of code lengths.
int DataErrorResult(const z_stream& stream) {
    if (stream.msg && std::strcmp(stream.msg, "invalid bit length repeat") == 0) return kZipExtractCrc;
    return kZipExtractData;
}

}  // namespace

int DecodeDeflated(TZipInput& in, TZipOutput& out, uint64_t& consumed) {
    consumed = 0;
    TInflateStream z;
    if (!z.Ok()) return kZipExtractRead;
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
        const int rc = inflate(z.Get(), Z_NO_FLUSH);
        if (int w = out.Advance(before - z->avail_out); w != kZipExtractOk) return w;
        switch (rc) {
            case Z_STREAM_END:
                consumed = z->total_in;
                return out.Flush();
            case Z_OK:
            case Z_BUF_ERROR:  // needs more input or more room: both come next round
                break;
            case Z_DATA_ERROR:
                return DataErrorResult(*z.Get());
            default:
                return kZipExtractRead;
        }
    }
}

}  // namespace hollarin
