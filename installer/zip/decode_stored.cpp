#include <algorithm>

#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extract_result.h"

namespace hollarin {

int DecodeStored(TZipInput& in, TZipOutput& out) {
    uint64_t left = in.CompressedSize();
    while (left > 0) {
        const size_t piece = size_t(std::min<uint64_t>(left, out.FreeBytes()));
        if (!in.ReadPiece(out.FreeSpace(), piece)) return kZipExtractRead;
        if (int rc = out.Advance(piece); rc != kZipExtractOk) return rc;
        if (int rc = out.Flush(); rc != kZipExtractOk) return rc;
        left -= piece;
        in.Progress().Pump();
        in.Progress().Check(in.BytesRead(), in.CompressedSize());
        if (in.Progress().Aborted()) return kZipExtractAborted;
    }
    return kZipExtractOk;
}

}  // namespace hollarin
