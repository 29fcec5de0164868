// Answers of ExtractZipEntry (and of its decoders).
#pragma once

namespace hollarin {

constexpr int kZipExtractOk = 0;         // extracted, CRC matches
constexpr int kZipExtractCrc = 1;        // CRC mismatch; also a deflate code-length repeat by 16 or 17 past its count
constexpr int kZipExtractWrite = 2;      // the output cannot be created or written (or may not be)
constexpr int kZipExtractRead = 3;       // the archive cannot be opened, or its data ended or was unreadable
constexpr int kZipExtractData = 4;       // local header unreadable or wrong, or the compressed data invalid
constexpr int kZipExtractAborted = 5;    // the user stopped it
constexpr int kZipExtractMethod = 6;     // the compression method is not supported, or sizes need 64 bits
constexpr int kZipExtractEncrypted = 7;  // encrypted entries are not decoded
constexpr int kZipExtractBusy = -1;      // another extraction of this process is running

}  // namespace hollarin
