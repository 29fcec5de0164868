#include "installer/zip/zip_output.h"

#include <zlib.h>

#include <algorithm>

#include "installer/zip/zip_extract_result.h"
#include "installer/zip/zip_log.h"

namespace hollarin {

TZipOutput::TZipOutput(TZipTargetFile& target, uint64_t declaredSize, TZipArchiveBudget& budget, std::string archive,
                       size_t windowLimit)
    : target_(target),
      declared_(declaredSize),
      budget_(budget),
      archive_(std::move(archive)),
      limit_(std::clamp<size_t>(windowLimit, 1, kWindowBytes)),
      window_(new uint8_t[kWindowBytes]()),
      crc_(uint32_t(crc32(0, nullptr, 0))) {}

int TZipOutput::Overrun() {
    ZipLog(archive_, "the data decodes to more than the declared " + std::to_string(declared_) + " bytes");
    return kZipExtractData;
}

int TZipOutput::Flush() {
    if (fill_ == 0) return kZipExtractOk;
    if (!budget_.Take(fill_)) {
        ZipLog(archive_, "the archive's output passes its cap of " + std::to_string(budget_.Cap()) + " bytes");
        return kZipExtractWrite;
    }
    if (!target_.Write(window_.get(), fill_)) return kZipExtractWrite;
    crc_ = uint32_t(crc32(crc_, window_.get(), uInt(fill_)));
    flushed_ += fill_;
    fill_ = 0;
    return kZipExtractOk;
}

int TZipOutput::Advance(size_t n) {
    fill_ += n;
    if (Total() > declared_) return Overrun();
    return fill_ == limit_ ? Flush() : kZipExtractOk;
}

int TZipOutput::Put(uint8_t b) {
    if (Total() >= declared_) return Overrun();
    window_[fill_++] = b;
    return fill_ == limit_ ? Flush() : kZipExtractOk;
}

}  // namespace hollarin
