// Fixtures for the zip tests: a raw archive builder (any method, flags, descriptor, host), byte
// patches, Python and zip-tool runs, an archive whose Nth read fails, and helpers that walk and extract
// an archive the way the extraction thread does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "installer/zip/zip_archive_file.h"
#include "installer/zip/zip_extract.h"

namespace zip_test {

enum class TDescriptor { None, WithSignature, WithoutSignature };

struct TEntrySpec {
    std::string Name;
    std::string Data;               // the uncompressed bytes
    uint16_t Method = 0;            // 0 stored, 8 deflated; others take Raw
    int Level = 6;                  // deflate level
    std::string Raw;                // compressed bytes for other methods (or to override)
    bool HasRaw = false;
    uint16_t Flags = 0;
    uint32_t DosDateTime = 0x52EF6A4F;  // 2021-07-15 13:18:30
    uint8_t Host = 3;                   // 0 MS-DOS, 3 Unix
    uint32_t ExternalAttr = 0;
    TDescriptor Descriptor = TDescriptor::None;  // written after the data; local sizes and CRC then 0
    bool CrcWrong = false;
};

// A plain entry: name, data and method; the other fields keep their defaults.
TEntrySpec Entry(std::string name, std::string data, uint16_t method = 0);

struct TBuiltZip {
    std::string Bytes;
    std::vector<uint32_t> HeaderOffsets;
};

TBuiltZip BuildZip(const std::vector<TEntrySpec>& entries, const std::string& comment = "");
std::string Deflate(const std::string& data, int level);
uint32_t Crc32(const std::string& data);
// Pseudo-random bytes with some repetition, so deflate has work to do.
std::string SampleData(size_t size, uint32_t seed);

void PutLe16(std::string& bytes, size_t at, uint16_t v);
void PutLe32(std::string& bytes, size_t at, uint32_t v);
void PutLe64(std::string& bytes, size_t at, uint64_t v);
uint16_t GetLe16(const std::string& bytes, size_t at);
uint32_t GetLe32(const std::string& bytes, size_t at);

// Runs /usr/bin/python3 -c code args...; returns its exit code (output into *out when given).
int RunPython(const std::string& code, const std::vector<std::string>& args, std::string* out = nullptr);
// Runs a shell command line (for the zip tool's pipes).
int RunShell(const std::string& command, std::string* out = nullptr);
// `unzip -t -q` of the archive: true when unzip reports no error.
bool UnzipTestPasses(const std::filesystem::path& zip, std::string* out = nullptr);

struct TWalkedEntry {
    std::string Name;
    uint32_t HeaderOffset = 0;
    uint16_t Attr = 0;
    uint16_t Method = 0;
    uint16_t Flags = 0;
    uint32_t Size = 0;
    uint32_t CompressedSize = 0;
    uint32_t Crc = 0;
    uint32_t DateTime = 0;
};
struct TWalk {
    std::vector<TWalkedEntry> Entries;
    int FinalResult = 0;  // the answer that ended the walk
};
TWalk WalkArchive(const std::filesystem::path& zip);
TWalk WalkArchive(const std::filesystem::path& zip, hollarin::TZipArchiveOpener& opener);

// Extracts every entry into target (as the extraction thread does); the result of each entry.
std::vector<int> ExtractAll(const std::filesystem::path& zip, const std::filesystem::path& target,
                            const hollarin::TZipExtractHooks& hooks);

// Files (recursively) below folder whose name holds ".part": leftovers of a failed extraction.
std::vector<std::string> LeftoverTempFiles(const std::filesystem::path& folder);

// An archive kept in memory whose reads fail from the Nth on (0: never).
class TFailingOpener final : public hollarin::TZipArchiveOpener {
public:
    TFailingOpener(std::string bytes, int failFromRead) : bytes_(std::move(bytes)), failFrom_(failFromRead) {}
    std::unique_ptr<hollarin::TZipArchiveFile> Open(const char* name) override;
    int Reads() const { return *reads_; }

private:
    std::string bytes_;
    int failFrom_;
    std::shared_ptr<int> reads_ = std::make_shared<int>(0);
};

}  // namespace zip_test
