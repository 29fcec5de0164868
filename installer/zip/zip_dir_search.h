// Walks the central directory of a zip archive entry by entry, the way a file search walks a folder:
// ZipFindFirst opens the archive, finds the end record and reads the directory, ZipFindNext delivers the
// following entries, ZipFindClose lets everything go. At most kZipDirBufferBytes of the directory are in
// memory at a time; a larger directory is read on as the walk goes, with the archive kept open.
//
// Archives with Zip64 records (a Zip64 end record and its locator before the end record, Zip64 extra
// fields in the directory records) are read as long as every size, offset and count fits 32 bits, as
// the zip tool writes them with -fz or to a pipe; one that needs more is refused with its own answer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "installer/zip/zip_archive_file.h"

namespace hollarin {

constexpr int32_t kZipDirBufferBytes = 64000;
constexpr int32_t kZipEndSearchBlockBytes = 4096;
constexpr int32_t kZipEndRecordBytes = 22;
constexpr int32_t kZipCentralRecordBytes = 46;
constexpr int kZipMaxNameChars = 259;

// Answers of ZipFindFirst / ZipFindNext.
constexpr int kZipDirEntry = 0;        // an entry was delivered
constexpr int kZipDirEnd = 1;          // the directory holds no (further) entry
constexpr int kZipDirError = -1;       // cannot open or read, no end record, or a damaged directory
constexpr int kZipDirEndTooNear = -2;  // ZipFindFirst: the end record lies too near the start of the file
constexpr int kZipDirClosed = -2;      // ZipFindNext: the walk is already closed
constexpr int kZipDirUnsafeName = -3;  // an entry name that would leave the target folder, or is too long
constexpr int kZipDirNeeds64Bit = -4;  // a size, offset or entry count that does not fit 32 bits

struct TZipDirSearch {
    std::unique_ptr<uint8_t[]> Buffer;  // directory bytes; none when the walk is closed
    int32_t BufSize = 0;                // valid directory bytes in Buffer
    int32_t Pos = 0;                    // offset in Buffer of the next directory record
    uint32_t DateTime = 0;              // DOS time (low 16 bits) and date (high 16 bits)
    uint32_t Size = 0;                  // uncompressed size
    uint32_t CompressedSize = 0;
    uint32_t HeaderOffset = 0;          // file offset of the entry's local header
    uint32_t Crc = 0;
    char FileName[kZipMaxNameChars + 1] = {};  // "/" between components; "\" in the archive becomes "/"
    uint16_t Method = 0;
    uint16_t Attr = 0;   // DOS attributes when made on an MS-DOS-compatible host, else 0
    uint16_t Flags = 0;

    // Walk bookkeeping.
    std::string ArchiveName;                // for log lines
    std::unique_ptr<TZipArchiveFile> File;  // kept open only while the directory is read piecewise
    uint64_t NextReadOffset = 0;            // where the next piece of the directory starts in the file
    uint64_t DirBytesLeft = 0;              // directory bytes not yet read into Buffer
    uint32_t EntriesExpected = 0;           // entry count of the end record
    uint32_t DirEndSig = 0;                 // the signature right behind the directory (end or Zip64 end record)
    uint32_t EntriesSeen = 0;
};

int ZipFindFirst(const char* ZipName, TZipDirSearch& search);
int ZipFindFirst(const char* ZipName, TZipDirSearch& search, TZipArchiveOpener& opener);
int ParseDirEntry(TZipDirSearch& search);
int ZipFindNext(TZipDirSearch& search);
void ZipFindClose(TZipDirSearch& search);

}  // namespace hollarin
