#include "tests/installer/zip/zip_test_support.h"

#include <zlib.h>

#include <cstring>
#include <stdexcept>

#include "installer/zip/zip_dir_search.h"
#include "tests/support/test_env.h"

namespace zip_test {

void PutLe16(std::string& b, size_t at, uint16_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
void PutLe32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}
void PutLe64(std::string& b, size_t at, uint64_t v) {
    for (int i = 0; i < 8; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}
uint16_t GetLe16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8));
}
uint32_t GetLe32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | (uint32_t(uint8_t(b[at + 1])) << 8) | (uint32_t(uint8_t(b[at + 2])) << 16) |
           (uint32_t(uint8_t(b[at + 3])) << 24);
}

namespace {
void Append16(std::string& b, uint16_t v) {
    b.push_back(char(v & 0xFF));
    b.push_back(char(v >> 8));
}
void Append32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xFF));
}
}  // namespace

TEntrySpec Entry(std::string name, std::string data, uint16_t method) {
    TEntrySpec e;
    e.Name = std::move(name);
    e.Data = std::move(data);
    e.Method = method;
    return e;
}

uint32_t Crc32(const std::string& data) {
    return uint32_t(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

std::string Deflate(const std::string& data, int level) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, uLong(data.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string SampleData(size_t size, uint32_t seed) {
    std::string out;
    out.reserve(size);
    uint32_t x = seed * 2654435761u + 12345;
    static const char* words[] = {"libvlc ", "plugin ", "codec ", "module ", "\n", "access_", "demux ", "0x7f "};
    while (out.size() < size) {
        x = x * 1103515245u + 12345;
        if ((x >> 16) % 3 == 0) {
            out += words[(x >> 8) % 8];
        } else {
            out.push_back(char(x >> 24));
        }
    }
    out.resize(size);
    return out;
}

TBuiltZip BuildZip(const std::vector<TEntrySpec>& entries, const std::string& comment) {
    TBuiltZip zip;
    std::string central;
    for (const TEntrySpec& e : entries) {
        std::string raw = e.HasRaw ? e.Raw : e.Method == 8 ? Deflate(e.Data, e.Level) : e.Data;
        uint32_t crc = Crc32(e.Data) ^ (e.CrcWrong ? 0x5A5A5A5Au : 0u);
        uint16_t flags = uint16_t(e.Flags | (e.Descriptor != TDescriptor::None ? 0x08 : 0));
        bool zeroLocal = e.Descriptor != TDescriptor::None;
        uint32_t offset = uint32_t(zip.Bytes.size());
        zip.HeaderOffsets.push_back(offset);
        std::string& b = zip.Bytes;
        Append32(b, 0x04034b50);
        Append16(b, 20);
        Append16(b, flags);
        Append16(b, e.Method);
        Append32(b, e.DosDateTime);
        Append32(b, zeroLocal ? 0 : crc);
        Append32(b, zeroLocal ? 0 : uint32_t(raw.size()));
        Append32(b, zeroLocal ? 0 : uint32_t(e.Data.size()));
        Append16(b, uint16_t(e.Name.size()));
        Append16(b, 0);
        b += e.Name;
        b += raw;
        if (e.Descriptor == TDescriptor::WithSignature) Append32(b, 0x08074b50);
        if (e.Descriptor != TDescriptor::None) {
            Append32(b, crc);
            Append32(b, uint32_t(raw.size()));
            Append32(b, uint32_t(e.Data.size()));
        }
        Append32(central, 0x02014b50);
        central.push_back(char(20));
        central.push_back(char(e.Host));
        Append16(central, 20);
        Append16(central, flags);
        Append16(central, e.Method);
        Append32(central, e.DosDateTime);
        Append32(central, crc);
        Append32(central, uint32_t(raw.size()));
        Append32(central, uint32_t(e.Data.size()));
        Append16(central, uint16_t(e.Name.size()));
        Append16(central, 0);
        Append16(central, 0);
        Append16(central, 0);
        Append16(central, 0);
        Append32(central, e.ExternalAttr);
        Append32(central, offset);
        central += e.Name;
    }
    uint32_t dirStart = uint32_t(zip.Bytes.size());
    zip.Bytes += central;
    Append32(zip.Bytes, 0x06054b50);
    Append16(zip.Bytes, 0);
    Append16(zip.Bytes, 0);
    Append16(zip.Bytes, uint16_t(entries.size()));
    Append16(zip.Bytes, uint16_t(entries.size()));
    Append32(zip.Bytes, uint32_t(central.size()));
    Append32(zip.Bytes, dirStart);
    Append16(zip.Bytes, uint16_t(comment.size()));
    zip.Bytes += comment;
    return zip;
}

int RunPython(const std::string& code, const std::vector<std::string>& args, std::string* out) {
    std::vector<std::string> argv = {"/usr/bin/python3", "-c", code};
    argv.insert(argv.end(), args.begin(), args.end());
    return fw_test::RunProgram(argv, out);
}

int RunShell(const std::string& command, std::string* out) {
    return fw_test::RunProgram({"/bin/sh", "-c", command}, out);
}

bool UnzipTestPasses(const std::filesystem::path& zip, std::string* out) {
    std::string text;
    int rc = fw_test::RunProgram({"unzip", "-t", "-q", zip.string()}, &text);
    if (out) *out = text;
    return rc == 0;
}

TWalk WalkArchive(const std::filesystem::path& zip) { return WalkArchive(zip, hollarin::PosixArchiveOpener()); }

TWalk WalkArchive(const std::filesystem::path& zip, hollarin::TZipArchiveOpener& opener) {
    hollarin::TZipDirSearch s;
    TWalk walk;
    int rc = hollarin::ZipFindFirst(zip.c_str(), s, opener);
    while (rc == hollarin::kZipDirEntry) {
        walk.Entries.push_back({s.FileName, s.HeaderOffset, s.Attr, s.Method, s.Flags, s.Size, s.CompressedSize, s.Crc,
                                s.DateTime});
        rc = hollarin::ZipFindNext(s);
    }
    hollarin::ZipFindClose(s);
    walk.FinalResult = rc;
    return walk;
}

std::vector<int> ExtractAll(const std::filesystem::path& zip, const std::filesystem::path& target,
                            const hollarin::TZipExtractHooks& hooks) {
    std::vector<int> results;
    TWalk walk = WalkArchive(zip);
    for (const TWalkedEntry& e : walk.Entries) {
        std::string out = (target / "").string() + e.Name;
        results.push_back(
            hollarin::ExtractZipEntry(zip.c_str(), out.c_str(), e.Attr, e.HeaderOffset, nullptr, 0, hooks));
    }
    return results;
}

std::vector<std::string> LeftoverTempFiles(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->path().filename().string().find(".part") != std::string::npos) found.push_back(it->path().string());
    return found;
}

namespace {
class TMemoryArchive final : public hollarin::TZipArchiveFile {
public:
    TMemoryArchive(const std::string& bytes, int failFrom, std::shared_ptr<int> reads)
        : bytes_(bytes), failFrom_(failFrom), reads_(std::move(reads)) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t offset, void* dst, size_t n, size_t& got) override {
        got = 0;
        ++*reads_;
        if (failFrom_ > 0 && *reads_ >= failFrom_) return false;
        if (offset >= bytes_.size()) return true;
        got = std::min<size_t>(n, bytes_.size() - size_t(offset));
        std::memcpy(dst, bytes_.data() + offset, got);
        return true;
    }

private:
    const std::string& bytes_;
    int failFrom_;
    std::shared_ptr<int> reads_;
};
}  // namespace

std::unique_ptr<hollarin::TZipArchiveFile> TFailingOpener::Open(const char*) {
    return std::make_unique<TMemoryArchive>(bytes_, failFrom_, reads_);
}

}  // namespace zip_test
