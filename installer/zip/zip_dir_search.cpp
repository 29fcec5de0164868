#include "installer/zip/zip_dir_search.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "installer/zip/zip_bytes.h"
#include "installer/zip/zip_entry_name.h"
#include "installer/zip/zip_extra_field.h"
#include "installer/zip/zip_log.h"

namespace hollarin {
namespace {

constexpr uint64_t kZip64LocatorBytes = 20;
constexpr uint64_t kZip64EndRecordBytes = 56;  // up to the extensible data
constexpr uint64_t kZip64EndRecordLeadBytes = 12;  // signature and the record's own size field

struct TEndRecord {
    uint64_t Offset = 0;      // file offset of the end record
    uint64_t DirStart = 0;    // file offset of the central directory
    uint64_t DirEnd = 0;      // where the directory ends: at the Zip64 end record, or at the end record
    uint32_t DirEndSig = kZipEndRecordSig;
    uint64_t Entries = 0;     // total entry count
};

enum class TEndVerdict { Taken, NotPlausible, Needs64Bit, ReadFailed };

// A field of the end record agrees with its Zip64 counterpart when it holds the value itself or the
// escape that sends the reader to the Zip64 record.
bool AgreesWithZip64(uint64_t classic, uint64_t escape, uint64_t zip64) { return classic == escape || classic == zip64; }

// The Zip64 end record that the locator right before the end record names. It is taken only when it
// lies between the directory and the locator with nothing else in between, and the end record's own
// fields agree with it; a locator-shaped stray (say, inside the archive comment) is not.
TEndVerdict ReadZip64End(TZipArchiveFile& file, const uint8_t* rec, uint64_t offset, TEndRecord& end) {
    uint8_t locator[kZip64LocatorBytes];
    const uint64_t locatorOffset = offset - kZip64LocatorBytes;
    if (!file.ReadExactAt(locatorOffset, locator, sizeof locator)) return TEndVerdict::ReadFailed;
    const uint64_t zip64Offset = ZipLe64(locator + 8);
    const uint32_t totalDisks = ZipLe32(locator + 16);
    if (ZipLe32(locator + 4) != 0 || totalDisks > 1) return TEndVerdict::NotPlausible;
    if (zip64Offset > locatorOffset || locatorOffset - zip64Offset < kZip64EndRecordBytes)
        return TEndVerdict::NotPlausible;
    uint8_t zip64[kZip64EndRecordBytes];
    if (!file.ReadExactAt(zip64Offset, zip64, sizeof zip64)) return TEndVerdict::ReadFailed;
    if (ZipLe32(zip64) != kZip64EndRecordSig ||
        ZipLe64(zip64 + 4) != locatorOffset - zip64Offset - kZip64EndRecordLeadBytes)
        return TEndVerdict::NotPlausible;
    const uint64_t entries = ZipLe64(zip64 + 32);
    const uint64_t dirSize = ZipLe64(zip64 + 40);
    const uint64_t dirStart = ZipLe64(zip64 + 48);
    if (dirStart > zip64Offset || dirSize != zip64Offset - dirStart) return TEndVerdict::NotPlausible;
    if (!AgreesWithZip64(ZipLe16(rec + 10), kZip64Escape16, entries) ||
        !AgreesWithZip64(ZipLe32(rec + 12), kZip64Escape32, dirSize) ||
        !AgreesWithZip64(ZipLe32(rec + 16), kZip64Escape32, dirStart))
        return TEndVerdict::NotPlausible;
    if (entries > UINT32_MAX || dirSize > UINT32_MAX || dirStart > UINT32_MAX) return TEndVerdict::Needs64Bit;
    end.Offset = offset;
    end.DirStart = dirStart;
    end.DirEnd = zip64Offset;
    end.DirEndSig = kZip64EndRecordSig;
    end.Entries = entries;
    return TEndVerdict::Taken;
}

// An end record is taken only when it describes a directory that ends right where the record begins
// (or where its Zip64 end record begins) and its comment stays inside the file; a stray signature
// (say, inside the archive comment) does not.
TEndVerdict ReadEndRecord(TZipArchiveFile& file, const uint8_t* rec, uint64_t offset, uint64_t fileSize,
                          TEndRecord& end) {
    const uint64_t dirSize = ZipLe32(rec + 12);
    const uint64_t dirStart = ZipLe32(rec + 16);
    const uint64_t commentLen = ZipLe16(rec + 20);
    if (offset + kZipEndRecordBytes + commentLen > fileSize) return TEndVerdict::NotPlausible;
    if (offset >= kZip64LocatorBytes) {
        uint8_t signature[4];
        if (!file.ReadExactAt(offset - kZip64LocatorBytes, signature, sizeof signature)) return TEndVerdict::ReadFailed;
        if (ZipLe32(signature) == kZip64LocatorSig) {
            // Those four bytes may also end the last directory record of a plain archive.
            const TEndVerdict verdict = ReadZip64End(file, rec, offset, end);
            if (verdict != TEndVerdict::NotPlausible) return verdict;
        }
    }
    if (dirStart > offset || dirStart + dirSize != offset) return TEndVerdict::NotPlausible;
    end.Offset = offset;
    end.DirStart = dirStart;
    end.DirEnd = offset;
    end.DirEndSig = kZipEndRecordSig;
    end.Entries = ZipLe16(rec + 10);
    return TEndVerdict::Taken;
}

// Backward search in blocks of kZipEndSearchBlockBytes that overlap by one end record, so the record
// nearest the end of the file wins.
int FindEndRecord(TZipArchiveFile& file, std::string_view name, TEndRecord& end) {
    const uint64_t fileSize = file.Size();
    const uint64_t blockSize = std::min<uint64_t>(kZipEndSearchBlockBytes, fileSize);
    std::vector<uint8_t> block(blockSize);
    uint64_t start = fileSize - blockSize;
    for (;;) {
        if (!file.ReadExactAt(start, block.data(), blockSize)) {
            ZipLog(name, "cannot read the end of the archive");
            return kZipDirError;
        }
        if (blockSize >= uint64_t(kZipEndRecordBytes)) {
            for (int64_t i = int64_t(blockSize) - kZipEndRecordBytes; i >= 0; --i) {
                if (ZipLe32(&block[i]) != kZipEndRecordSig) continue;
                switch (ReadEndRecord(file, &block[i], start + uint64_t(i), fileSize, end)) {
                    case TEndVerdict::Taken: return kZipDirEntry;
                    case TEndVerdict::NotPlausible: break;
                    case TEndVerdict::Needs64Bit:
                        ZipLog(name, "the directory needs 64-bit sizes or counts (Zip64): not supported");
                        return kZipDirNeeds64Bit;
                    case TEndVerdict::ReadFailed:
                        ZipLog(name, "cannot read the end of the archive");
                        return kZipDirError;
                }
            }
        }
        if (start == 0) {
            ZipLog(name, "no end record: not a zip archive");
            return kZipDirError;
        }
        uint64_t step = blockSize - kZipEndRecordBytes;
        start = start > step ? start - step : 0;
    }
}

void CloseWalk(TZipDirSearch& s) {
    s.Buffer.reset();
    s.File.reset();
    s.BufSize = 0;
    s.Pos = 0;
    s.DirBytesLeft = 0;
}

// Large mode: moves the unread rest to the front and reads the freed tail from the file.
bool RefillBuffer(TZipDirSearch& s) {
    if (!s.File || s.DirBytesLeft == 0 || s.Pos == 0) return true;
    int32_t rest = s.BufSize - s.Pos;
    std::memmove(s.Buffer.get(), s.Buffer.get() + s.Pos, size_t(rest));
    size_t want = size_t(std::min<uint64_t>(uint64_t(s.Pos), s.DirBytesLeft));
    if (!s.File->ReadExactAt(s.NextReadOffset, s.Buffer.get() + rest, want)) return false;
    s.NextReadOffset += want;
    s.DirBytesLeft -= want;
    s.BufSize = rest + int32_t(want);
    s.Pos = 0;
    return true;
}

int32_t RecordLength(const uint8_t* rec) {
    return kZipCentralRecordBytes + ZipLe16(rec + 28) + ZipLe16(rec + 30) + ZipLe16(rec + 32);
}

}  // namespace

int ZipFindFirst(const char* ZipName, TZipDirSearch& search) {
    return ZipFindFirst(ZipName, search, PosixArchiveOpener());
}

int ZipFindFirst(const char* ZipName, TZipDirSearch& s, TZipArchiveOpener& opener) {
    CloseWalk(s);
    s.EntriesSeen = 0;
    s.ArchiveName = ZipName ? ZipName : "";
    const std::string& name = s.ArchiveName;
    std::unique_ptr<TZipArchiveFile> file = opener.Open(ZipName);
    if (!file) {
        ZipLog(name, "cannot open the archive");
        return kZipDirError;
    }
    if (file->Size() == 0) {
        ZipLog(name, "the archive is empty (0 bytes)");
        return kZipDirError;
    }
    TEndRecord end;
    if (int rc = FindEndRecord(*file, name, end); rc != kZipDirEntry) return rc;
    s.EntriesExpected = uint32_t(end.Entries);
    s.DirEndSig = end.DirEndSig;
    if (end.DirEnd < uint64_t(kZipCentralRecordBytes)) {
        // Too near the start for even one entry: a well-formed empty archive, or a damaged one.
        if (end.Entries == 0 && end.DirStart == end.DirEnd) return kZipDirEnd;
        ZipLog(name, "the end record lies too near the start of the file");
        return kZipDirEndTooNear;
    }
    // The directory up to and including the signature of the record behind it.
    const uint64_t dirBytes = end.DirEnd - end.DirStart + 4;
    const bool large = dirBytes >= uint64_t(kZipDirBufferBytes);
    s.BufSize = large ? kZipDirBufferBytes : int32_t(dirBytes);
    s.Buffer.reset(new uint8_t[size_t(s.BufSize) + 1]);
    if (!file->ReadExactAt(end.DirStart, s.Buffer.get(), size_t(s.BufSize))) {
        ZipLog(name, "cannot read the central directory");
        CloseWalk(s);
        return kZipDirError;
    }
    s.NextReadOffset = end.DirStart + uint64_t(s.BufSize);
    s.DirBytesLeft = dirBytes - uint64_t(s.BufSize);
    if (large) s.File = std::move(file);
    s.Pos = 0;
    int rc = ParseDirEntry(s);
    if (rc != kZipDirEntry) CloseWalk(s);
    return rc;
}

int ParseDirEntry(TZipDirSearch& s) {
    if (!s.Buffer) return kZipDirClosed;
    auto remaining = [&] { return s.BufSize - s.Pos; };
    if (s.File && (remaining() < kZipCentralRecordBytes ||
                   remaining() < RecordLength(s.Buffer.get() + s.Pos))) {
        if (!RefillBuffer(s)) {
            ZipLog(s.ArchiveName, "cannot read on in the central directory");
            return kZipDirError;
        }
    }
    const uint8_t* rec = s.Buffer.get() + s.Pos;
    // What is left of the directory is exactly the signature of the record behind it: the regular end.
    if (uint64_t(remaining()) + s.DirBytesLeft == 4) {
        if (ZipLe32(rec) != s.DirEndSig) {
            ZipLog(s.ArchiveName, "the central directory does not end at its end record");
            return kZipDirError;
        }
        if (s.EntriesSeen != s.EntriesExpected) {
            ZipLog(s.ArchiveName, "the end record counts " + std::to_string(s.EntriesExpected) +
                                    " entries, the directory holds " + std::to_string(s.EntriesSeen));
            return kZipDirError;
        }
        return kZipDirEnd;
    }
    if (remaining() < kZipCentralRecordBytes || ZipLe32(rec) != kZipCentralRecordSig ||
        remaining() < RecordLength(rec)) {
        ZipLog(s.ArchiveName, "damaged directory record " + std::to_string(s.EntriesSeen + 1));
        return kZipDirError;
    }
    s.Flags = ZipLe16(rec + 8);
    s.Method = ZipLe16(rec + 10);
    s.DateTime = ZipLe32(rec + 12);
    s.Crc = ZipLe32(rec + 16);
    s.CompressedSize = ZipLe32(rec + 20);
    s.Size = ZipLe32(rec + 24);
    s.Attr = rec[5] == 0 ? rec[38] : 0;  // host 0: MS-DOS-compatible attributes
    s.HeaderOffset = ZipLe32(rec + 42);
    const std::span<const uint8_t> extra(rec + kZipCentralRecordBytes + ZipLe16(rec + 28), ZipLe16(rec + 30));
    switch (ReadZip64Fields(extra, {&s.Size, &s.CompressedSize, &s.HeaderOffset})) {
        case TZip64Read::Done: break;
        case TZip64Read::Missing:
            ZipLog(s.ArchiveName, "directory record " + std::to_string(s.EntriesSeen + 1) + " lacks its Zip64 sizes");
            return kZipDirError;
        case TZip64Read::TooLarge:
            ZipLog(s.ArchiveName, "directory record " + std::to_string(s.EntriesSeen + 1) +
                                    " needs 64-bit sizes or offsets (Zip64): not supported");
            return kZipDirNeeds64Bit;
    }

    const uint16_t nameLen = ZipLe16(rec + 28);
    const char* raw = reinterpret_cast<const char*>(rec + kZipCentralRecordBytes);
    size_t len = 0;
    while (len < nameLen && raw[len] != '\0') ++len;
    std::string entryName(raw, len);
    std::replace(entryName.begin(), entryName.end(), '\\', '/');
    if (len > size_t(kZipMaxNameChars) || !IsSafeZipEntryName(entryName)) {
        ZipLog(s.ArchiveName, "entry name refused: \"" + entryName.substr(0, 80) + "\"");
        return kZipDirUnsafeName;
    }
    std::memcpy(s.FileName, entryName.data(), len);
    s.FileName[len] = '\0';

    s.Pos += RecordLength(rec);
    ++s.EntriesSeen;
    return kZipDirEntry;
}

int ZipFindNext(TZipDirSearch& s) {
    if (!s.Buffer) return kZipDirClosed;
    int rc = ParseDirEntry(s);
    if (rc != kZipDirEntry) CloseWalk(s);
    return rc;
}

void ZipFindClose(TZipDirSearch& s) { CloseWalk(s); }

}  // namespace hollarin
