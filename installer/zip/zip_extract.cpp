#include "installer/zip/zip_extract.h"

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "installer/zip/dos_date_time.h"
#include "installer/zip/zip_bytes.h"
#include "installer/zip/zip_decoders.h"
#include "installer/zip/zip_extra_field.h"
#include "installer/zip/zip_extraction_lock.h"
#include "installer/zip/zip_log.h"
#include "installer/zip/zip_target_file.h"

namespace hollarin {
namespace {

constexpr size_t kLocalHeaderBytes = 30;
constexpr size_t kDescriptorBytes = 8;  // its signature and CRC; the sizes that follow are not used
constexpr uint16_t kFlagEncrypted = 0x01;
constexpr uint16_t kFlagDataDescriptor = 0x08;
constexpr uint32_t kSupportedMethods = 383;  // bits 0..6 and 8
constexpr uint32_t kUnknownSizeStandIn = 2147483547;  // 0x7FFFFF9B: sizes follow in the data descriptor
constexpr uint32_t kShrinkUnknownSize = 2147483647;

struct TLocalHeader {
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint32_t DateTime = 0;
    uint32_t Crc = 0;
    uint32_t CompressedSize = 0;
    uint32_t Size = 0;
    uint64_t DataOffset = 0;
    bool SizesUnknown = false;
};

int ReadLocalHeader(TZipArchiveFile& file, uint32_t offset, TLocalHeader& h, const std::string& zipName) {
    uint8_t raw[kLocalHeaderBytes];
    if (!file.ReadExactAt(offset, raw, sizeof raw) || ZipLe32(raw) != kZipLocalHeaderSig) {
        ZipLog(zipName, "no local header at offset " + std::to_string(offset));
        return kZipExtractData;
    }
    h.Flags = ZipLe16(raw + 6);
    h.Method = ZipLe16(raw + 8);
    h.DateTime = ZipLe32(raw + 10);
    h.Crc = ZipLe32(raw + 14);
    h.CompressedSize = ZipLe32(raw + 18);
    h.Size = ZipLe32(raw + 22);
    const uint64_t extraOffset = uint64_t(offset) + kLocalHeaderBytes + ZipLe16(raw + 26);
    const uint16_t extraBytes = ZipLe16(raw + 28);
    h.DataOffset = extraOffset + extraBytes;
    if (h.CompressedSize == kZip64Escape32 || h.Size == kZip64Escape32) {
        // Zip64: both sizes follow as a pair in the extra field (zeros when a data descriptor brings them).
        std::vector<uint8_t> extra(extraBytes);
        if (!file.ReadExactAt(extraOffset, extra.data(), extra.size())) {
            ZipLog(zipName, "cannot read the local header at offset " + std::to_string(offset));
            return kZipExtractData;
        }
        switch (ReadZip64Fields(extra, {&h.Size, &h.CompressedSize}, true)) {
            case TZip64Read::Done: break;
            case TZip64Read::Missing:
                ZipLog(zipName, "the local header at offset " + std::to_string(offset) + " lacks its Zip64 sizes");
                return kZipExtractData;
            case TZip64Read::TooLarge:
                ZipLog(zipName, "the entry at offset " + std::to_string(offset) +
                                    " needs 64-bit sizes (Zip64): not supported");
                return kZipExtractMethod;
        }
    }
    if ((h.Flags & kFlagDataDescriptor) && h.Method != 0 && h.CompressedSize == 0) {
        h.CompressedSize = h.Size = kUnknownSizeStandIn;
        h.Crc = 0;
        h.SizesUnknown = true;
    }
    return kZipExtractOk;
}

// Only deflate ends by itself; the older methods need the sizes, which a data descriptor withholds.
bool MethodSupported(const TLocalHeader& h) {
    if (h.Method > 8 || !((kSupportedMethods >> h.Method) & 1)) return false;
    if (h.Method >= 1 && h.Method <= 6 && h.SizesUnknown) return false;
    if (h.Method == 1 && h.CompressedSize == kShrinkUnknownSize) return false;
    return true;
}

int Decode(const TLocalHeader& h, TZipInput& in, TZipOutput& out, uint64_t& consumed) {
    consumed = h.CompressedSize;
    switch (h.Method) {
        case 0: return DecodeStored(in, out);
        case 1: return DecodeShrunk(in, out);
        case 6: return DecodeImploded(in, out, h.Flags);
        case 8: return DecodeDeflated(in, out, consumed);
        default: return DecodeReduced(in, out, h.Method - 1);
    }
}

// The CRC in the data descriptor right behind the data; none when the descriptor or its signature is
// missing: the CRC read from there would be some other field's bytes.
std::optional<uint32_t> DescriptorCrc(TZipArchiveFile& file, uint64_t offset) {
    uint8_t raw[kDescriptorBytes] = {};
    size_t got = 0;
    if (!file.ReadAt(offset, raw, sizeof raw, got) || got < sizeof raw || ZipLe32(raw) != kZipDescriptorSig)
        return std::nullopt;
    return ZipLe32(raw + 4);
}

int Extract(const std::string& zipName, std::string outName, uint16_t attr, uint32_t headerOffset,
            TZipProgressWindow* progressWnd, uint16_t progressId, const TZipExtractHooks& hooks,
            TZipExtractionLockHold& lock) {
    TZipArchiveOpener& opener = hooks.Opener ? *hooks.Opener : PosixArchiveOpener();
    std::unique_ptr<TZipArchiveFile> archive = opener.Open(zipName.c_str());
    if (!archive) {
        ZipLog(zipName, "cannot open the archive");
        return kZipExtractRead;
    }
    TLocalHeader h;
    if (const int rc = ReadLocalHeader(*archive, headerOffset, h, zipName); rc != kZipExtractOk) return rc;
    if (!MethodSupported(h)) {
        ZipLog(zipName, "\"" + outName + "\": compression method " + std::to_string(h.Method) + " is not supported");
        return kZipExtractMethod;
    }
    if (h.Flags & kFlagEncrypted) {
        ZipLog(zipName, "\"" + outName + "\" is encrypted: not extracted");
        return kZipExtractEncrypted;
    }

    if ((attr & kDosAttrDirectory) && !outName.empty() && outName.back() != '/') outName += '/';
    TZipTargetFile target(zipName);
    if (!target.Prepare(outName, hooks.TargetRoot)) return kZipExtractWrite;
    if (target.IsFolder()) return kZipExtractOk;

    TZipProgress progress(progressWnd, progressId, hooks.Pump, hooks.Keyboard,
                          [&lock] { lock.Touch(TZipExtractionLock::NowMs()); }, hooks.Stop);
    progress.Pump();
    progress.ReportStart();
    TZipArchiveBudget ownBudget;
    TZipInput in(*archive, h.DataOffset, h.CompressedSize, progress);
    TZipOutput out(target, h.Size, hooks.Budget ? *hooks.Budget : ownBudget, zipName,
                   h.Method >= 2 && h.Method <= 5 ? kReduceWindowBytes : TZipOutput::kWindowBytes);
    uint64_t consumed = 0;
    int result = Decode(h, in, out, consumed);

    std::optional<uint32_t> expectedCrc = h.Crc;
    if (result == kZipExtractOk && (h.Flags & kFlagDataDescriptor))
        expectedCrc = DescriptorCrc(*archive, h.DataOffset + consumed);
    archive.reset();

    if (result == kZipExtractOk && expectedCrc != out.Crc()) {
        ZipLog(zipName, "\"" + outName + "\": CRC error" +
                            (expectedCrc ? "" : " (no data descriptor with its signature behind the data)"));
        return kZipExtractCrc;
    }
    if (result != kZipExtractOk) return result;
    progress.ReportDone();
    if (progress.Aborted()) return kZipExtractAborted;
    time_t modified = 0;
    const bool timeKnown = DosDateTimeToUnix(h.DateTime, modified);
    if (!target.Commit(timeKnown ? &modified : nullptr, (attr & kDosAttrReadOnly) != 0)) return kZipExtractWrite;
    return kZipExtractOk;
}

}  // namespace

int ExtractZipEntry(const char* ZipName, const char* OutName, uint16_t Attr, uint32_t HeaderOffset,
                    TZipProgressWindow* ProgressWnd, uint16_t ProgressId, const TZipExtractHooks& hooks) {
    TZipExtractionLockHold lock(TZipExtractionLock::Process(), TZipExtractionLock::NowMs());
    if (!lock.Held()) return kZipExtractBusy;
    const std::string zipName = ZipName ? ZipName : "";
    const std::string outName = OutName ? OutName : "";
    if (outName.size() > size_t(kZipMaxOutNameChars)) {
        ZipLog(zipName, "the target name is longer than " + std::to_string(kZipMaxOutNameChars) + " characters");
        return kZipExtractWrite;
    }
    return Extract(zipName, outName, Attr, HeaderOffset, ProgressWnd, ProgressId, hooks, lock);
}

}  // namespace hollarin
