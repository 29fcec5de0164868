// Extraction of single entries: archives made by Python's zipfile, the zip tool and the raw builder,
// byte patches for the broken variants, fakes for the progress window, keyboard and failing reads.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>

#include "installer/zip/zip_dir_search.h"
#include "installer/zip/zip_extract.h"
#include "installer/zip/zip_extraction_lock.h"
#include "tests/installer/zip/zip_test_support.h"
#include "tests/support/test_env.h"

using namespace hollarin;
using namespace zip_test;
namespace fs = std::filesystem;

namespace {

class TRecordingWindow final : public TZipProgressWindow {
public:
    std::vector<uint16_t> values;
    uint16_t abortAt = 0xFFFF;  // answer kZipAbortPercent once this value is reported
    std::function<void()> during;
    void OnProgress(uint16_t progressId, uint16_t& percent) override {
        ids.push_back(progressId);
        values.push_back(percent);
        if (during) during();
        if (percent == abortAt) percent = kZipAbortPercent;
    }
    std::vector<uint16_t> ids;
};

class TFakeKeyboard final : public platform::TKeyboardState {
public:
    uint16_t down = 0;
    int asked = 0;
    std::function<void()> onAsk;
    bool IsKeyDown(uint16_t key) override {
        ++asked;
        if (onAsk) onAsk();
        return key == down;
    }
};

class TCountingPump final : public platform::TMessagePump {
public:
    int pumps = 0;
    void Pump() override { ++pumps; }
};

struct TFixture {
    fw_test::TempDir dir;
    fs::path zip = dir / "a.zip";
    fs::path out = dir / "out";

    // Writes the archive; the header offset of entry i.
    std::vector<uint32_t> Write(const TBuiltZip& built) {
        fw_test::WriteFile(zip, built.Bytes);
        return built.HeaderOffsets;
    }
    int Extract(uint32_t offset, const TZipExtractHooks& hooks = {}, const fs::path& target = {},
                TZipProgressWindow* window = nullptr, uint16_t id = 0, uint16_t attr = 0) {
        const fs::path& t = target.empty() ? out : target;
        return ExtractZipEntry(zip.c_str(), t.c_str(), attr, offset, window, id, hooks);
    }
};

time_t ModificationTime(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mtime;
}

}  // namespace

TEST(ZipExtract, SizesAroundTheBuffersAtLevelsZeroAndNine) {
    fw_test::TempDir dir;
    const std::vector<size_t> sizes = {0, 1, 2047, 2048, 2049, 32767, 32768, 32769, 65536, 100000, 300001};
    // Python's zipfile, stored and deflated at level 9.
    const char* script = R"(
import sys, zipfile, random
random.seed(5)
out, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
with zipfile.ZipFile(out, 'w') as z:
    for n in sizes:
        data = bytes(random.choice(b'libvlc plugin \n\x00\xff' + bytes([random.randrange(256)])) for _ in range(n))
        z.writestr('stored/%d.bin' % n, data, compress_type=zipfile.ZIP_STORED)
        z.writestr('deflated/%d.bin' % n, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
)";
    std::vector<std::string> args = {(dir / "py.zip").string()};
    for (size_t s : sizes) args.push_back(std::to_string(s));
    ASSERT_EQ(RunPython(script, args), 0);
    // The zip tool at -0 and -9 over the same files (unzipped by unzip itself, as the reference).
    ASSERT_EQ(RunShell("cd '" + dir.path().string() + "' && unzip -q py.zip -d ref && cd ref && zip -q -r -0 ../tool0.zip . && zip -q -r -9 ../tool9.zip ."), 0);
    for (const char* archive : {"py.zip", "tool0.zip", "tool9.zip"}) {
        const fs::path target = dir / (std::string("x_") + archive);
        TWalk walk = WalkArchive(dir / archive);
        ASSERT_EQ(walk.FinalResult, kZipDirEnd) << archive;
        std::vector<int> results = ExtractAll(dir / archive, target, {});
        int files = 0;
        for (size_t i = 0; i < walk.Entries.size(); ++i) {
            const std::string& name = walk.Entries[i].Name;
            EXPECT_EQ(results[i], kZipExtractOk) << archive << " " << name;
            if (name.back() == '/') continue;
            ++files;
            EXPECT_TRUE(fw_test::ReadFile(target / name) == fw_test::ReadFile(dir / "ref" / name)) << archive << " " << name;
        }
        EXPECT_EQ(files, int(2 * sizes.size())) << archive;
        EXPECT_TRUE(LeftoverTempFiles(target).empty());
    }
}

// The zip tool writes Zip64 records when told to (-fz) and when it reads from standard input: a Zip64
// end record and locator, Zip64 sizes in the directory and the local headers, and Zip64 data
// descriptors when its output is a pipe. Every such archive extracts to what unzip makes of it.
TEST(ZipExtract, Zip64ArchivesOfTheZipToolExtractLikeUnzip) {
    fw_test::TempDir dir;
    const fs::path src = dir / "src";
    fs::create_directories(src / "sub");
    fw_test::WriteFile(src / "big.bin", SampleData(150000, 8));
    fw_test::WriteFile(src / "small.txt", "hello\n");
    fw_test::WriteFile(src / "empty.txt", "");
    fw_test::WriteFile(src / "sub" / "deep.bin", SampleData(40000, 9));
    const struct {
        const char* archive;
        const char* command;  // run in dir
        bool zip64End;        // the archive ends with a Zip64 end record and its locator
    } cases[] = {
        {"fz.zip", "cd src && zip -q -r -fz ../fz.zip .", true},
        {"fz0.zip", "cd src && zip -q -r -fz -0 ../fz0.zip .", true},
        {"stdin.zip", "cat src/big.bin | zip -q - - > stdin.zip", true},
        {"stdinpipe.zip", "cat src/big.bin | zip -q - - | cat > stdinpipe.zip", false},
        {"piped.zip", "cd src && zip -q -r - . | cat > ../piped.zip", false},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(RunShell("cd '" + dir.path().string() + "' && " + c.command), 0) << c.archive;
        const std::string bytes = fw_test::ReadFile(dir / c.archive);
        EXPECT_EQ(bytes.find("PK\x06\x06") != std::string::npos && bytes.find("PK\x06\x07") != std::string::npos,
                  c.zip64End)
            << c.archive;
        const fs::path reference = dir / (std::string("unzip_") + c.archive);
        ASSERT_EQ(RunShell("unzip -q '" + (dir / c.archive).string() + "' -d '" + reference.string() + "'"), 0) << c.archive;

        const fs::path target = dir / (std::string("x_") + c.archive);
        TWalk walk = WalkArchive(dir / c.archive);
        EXPECT_EQ(walk.FinalResult, kZipDirEnd) << c.archive;
        const std::vector<int> results = ExtractAll(dir / c.archive, target, {});
        int files = 0;
        for (size_t i = 0; i < walk.Entries.size(); ++i) {
            const std::string& name = walk.Entries[i].Name;
            EXPECT_EQ(results[i], kZipExtractOk) << c.archive << " " << name;
            if (name.back() == '/') continue;
            ++files;
            EXPECT_TRUE(fw_test::ReadFile(target / name) == fw_test::ReadFile(reference / name)) << c.archive << " " << name;
        }
        int referenceFiles = 0;
        for (const auto& entry : fs::recursive_directory_iterator(reference)) referenceFiles += entry.is_regular_file();
        EXPECT_EQ(files, referenceFiles) << c.archive;
        EXPECT_GT(files, 0) << c.archive;
        EXPECT_TRUE(LeftoverTempFiles(target).empty()) << c.archive;
    }
    // What the stream to a pipe carries: Zip64 sizes in the local header, the real ones in the descriptor.
    const std::string streamed = fw_test::ReadFile(dir / "stdinpipe.zip");
    EXPECT_EQ(GetLe32(streamed, 18), 0xFFFFFFFFu);
    EXPECT_TRUE(GetLe16(streamed, 6) & 0x08);
}

TEST(ZipExtract, StoredPiecesAndProgressValues) {
    TFixture f;
    std::string data = SampleData(100000, 1);
    auto offsets = f.Write(BuildZip({Entry("s.bin", data, 0), Entry("d.bin", data, 8)}));
    TRecordingWindow window;
    TCountingPump pump;
    TZipExtractHooks hooks;
    hooks.Pump = &pump;
    ASSERT_EQ(f.Extract(offsets[0], hooks, {}, &window, 42), kZipExtractOk);
    EXPECT_EQ(window.values, (std::vector<uint16_t>{0, 32, 65, 98, 100, 100}));
    EXPECT_EQ(window.ids, std::vector<uint16_t>(6, 42));
    EXPECT_EQ(pump.pumps, 5);  // once before decoding, once per piece
    EXPECT_TRUE(fw_test::ReadFile(f.out) == data);

    TRecordingWindow deflated;
    ASSERT_EQ(f.Extract(offsets[1], hooks, {}, &deflated, 1), kZipExtractOk);
    ASSERT_GE(deflated.values.size(), 3u);
    EXPECT_EQ(deflated.values.front(), 0);
    EXPECT_EQ(deflated.values.back(), 100);
    EXPECT_TRUE(std::is_sorted(deflated.values.begin(), deflated.values.end()));
}

TEST(ZipExtract, BrokenEntriesLeaveNoFile) {
    TFixture f;
    const std::string data = SampleData(50000, 2);
    auto withCrcWrong = [&](uint16_t method) {
        TEntrySpec e = Entry("e", data, method);
        e.CrcWrong = true;
        return e;
    };
    auto withMethod = [&](uint16_t method) {
        TEntrySpec e = Entry("e", data, 0);
        e.Method = method;
        e.Raw = data;
        e.HasRaw = true;
        return e;
    };
    auto withFlags = [&](uint16_t flags) {
        TEntrySpec e = Entry("e", data, 8);
        e.Flags = flags;
        return e;
    };
    auto flipped = [&](size_t at) {
        TEntrySpec e = Entry("e", data, 8);
        e.Raw = Deflate(data, 9);
        e.Raw[at] = char(e.Raw[at] ^ 0x5A);
        e.HasRaw = true;
        return e;
    };
    auto storedBlockBadNlen = [&] {
        TEntrySpec e = Entry("e", "abc", 8);
        e.Raw = std::string("\x01\x03\x00\x00\x00" "abc", 8);  // NLEN must be ~LEN
        e.HasRaw = true;
        return e;
    };
    auto blockType3 = [&] {
        TEntrySpec e = Entry("e", "abc", 8);
        e.Raw = std::string("\x07\x00", 2);
        e.HasRaw = true;
        return e;
    };
    struct Case {
        const char* what;
        TEntrySpec entry;
        std::vector<int> results;  // accepted answers
    } cases[] = {
        {"stored, CRC wrong", withCrcWrong(0), {kZipExtractCrc}},
        {"deflated, CRC wrong", withCrcWrong(8), {kZipExtractCrc}},
        {"method 7", withMethod(7), {kZipExtractMethod}},
        {"method 9 (enhanced deflate)", withMethod(9), {kZipExtractMethod}},
        {"method 12", withMethod(12), {kZipExtractMethod}},
        {"method 99", withMethod(99), {kZipExtractMethod}},
        {"encrypted flag", withFlags(0x01), {kZipExtractEncrypted}},
        {"deflate byte flipped early", flipped(3), {kZipExtractData, kZipExtractCrc, kZipExtractRead}},
        {"deflate byte flipped late", flipped(20000), {kZipExtractData, kZipExtractCrc, kZipExtractRead}},
        {"stored block with a bad NLEN", storedBlockBadNlen(), {kZipExtractData}},
        {"block type 3", blockType3(), {kZipExtractData}},
    };
    for (const Case& c : cases) {
        auto offsets = f.Write(BuildZip({c.entry}));
        int rc = f.Extract(offsets[0]);
        EXPECT_NE(std::find(c.results.begin(), c.results.end(), rc), c.results.end()) << c.what << ": " << rc;
        EXPECT_FALSE(fs::exists(f.out)) << c.what;
        EXPECT_TRUE(LeftoverTempFiles(f.dir.path()).empty()) << c.what;
    }
}

// Raw deflate streams written bit by bit: values least significant bit first, Huffman codes most
// significant bit first (RFC 1951).
class TDeflateBits {
public:
    TDeflateBits& Put(uint32_t value, unsigned bits) {
        for (unsigned i = 0; i < bits; ++i) PutBit((value >> i) & 1u);
        return *this;
    }
    TDeflateBits& Code(uint32_t code, unsigned bits) {
        for (unsigned i = bits; i-- > 0;) PutBit((code >> i) & 1u);
        return *this;
    }
    // A fixed-code block of n literals 'A' and its end code.
    TDeflateBits& FixedLiterals(int n, bool final) {
        Put(final ? 1 : 0, 1).Put(1, 2);
        for (int i = 0; i < n; ++i) Code(0x30 + 'A', 8);
        return Code(0, 7);
    }
    // A dynamic block's header up to its code lengths: 257 literal/length and 1 distance code, and the
    // code-length code's lengths in their sending order (16, 17, 18, 0, 8, ...).
    TDeflateBits& DynamicHeader(const std::vector<unsigned>& codeLengthLengths) {
        Put(1, 1).Put(2, 2).Put(0, 5).Put(0, 5).Put(unsigned(codeLengthLengths.size() - 4), 4);
        for (unsigned length : codeLengthLengths) Put(length, 3);
        return *this;
    }
    std::string Bytes() const { return bytes_; }

private:
    void PutBit(unsigned bit) {
        if (count_ % 8 == 0) bytes_.push_back('\0');
        if (bit) bytes_.back() = char(uint8_t(bytes_.back()) | (1u << (count_ % 8)));
        ++count_;
    }
    std::string bytes_;
    size_t count_ = 0;
};

// Invalid codes in a deflate stream are invalid data; of the code-length repeats that run past the
// 258 code lengths announced, those by code 16 or 17 count as a header out of range.
TEST(ZipExtract, InvalidDeflateCodes) {
    TFixture f;
    // Code-length codes: 0 and 18 of one bit (0 -> "0", 18 -> "1").
    const std::vector<unsigned> zeroAnd18 = {0, 0, 1, 1};
    // 17 and 18 of one bit (17 -> "0", 18 -> "1").
    const std::vector<unsigned> codes17And18 = {0, 1, 1, 0};
    // 18 of one bit, 8 and 16 of two (18 -> "0", 8 -> "10", 16 -> "11").
    const std::vector<unsigned> codes8And16And18 = {2, 0, 1, 0, 2};
    auto overrunBy18 = [&](TDeflateBits bits) {
        return bits.DynamicHeader(zeroAnd18).Code(1, 1).Put(127, 7).Code(1, 1).Put(127, 7).Bytes();  // 138 + 138
    };
    auto overrunBy16 = [&](TDeflateBits bits) {
        return bits.DynamicHeader(codes8And16And18)
            .Code(0, 1).Put(127, 7).Code(0, 1).Put(105, 7)  // 138 + 116 zeros
            .Code(2, 2)                                      // one length 8: 255
            .Code(3, 2).Put(3, 2)                            // six more: 261
            .Bytes();
    };
    const struct {
        const char* what;
        std::string raw;
        int result;
    } cases[] = {
        {"over-subscribed code-length code", TDeflateBits().DynamicHeader({1, 1, 1, 1}).Bytes(), kZipExtractData},
        {"code 18 repeat past the count", overrunBy18(TDeflateBits()), kZipExtractData},
        {"code 18 repeat past the count, after 3000 literals", overrunBy18(TDeflateBits().FixedLiterals(3000, false)),
         kZipExtractData},
        {"code 16 with no length before it", TDeflateBits().DynamicHeader(codes8And16And18).Code(3, 2).Put(0, 2).Bytes(),
         kZipExtractData},
        {"code 17 repeat past the count",
         TDeflateBits()
             .DynamicHeader(codes17And18)
             .Code(1, 1).Put(127, 7).Code(1, 1).Put(106, 7)  // 138 + 117 zeros
             .Code(0, 1).Put(7, 3)                           // ten more: 265
             .Bytes(),
         kZipExtractCrc},
        {"code 16 repeat past the count", overrunBy16(TDeflateBits()), kZipExtractCrc},
        {"code 16 repeat past the count, after 3000 literals", overrunBy16(TDeflateBits().FixedLiterals(3000, false)),
         kZipExtractCrc},
        {"code 16 repeat past the count, after 2 literals", overrunBy16(TDeflateBits().FixedLiterals(2, false)),
         kZipExtractCrc},
    };
    for (const auto& c : cases) {
        TEntrySpec e = Entry("e", std::string(3000, 'A'), 8);  // room for the literals before the fault
        e.Raw = c.raw;
        e.HasRaw = true;
        auto offsets = f.Write(BuildZip({e}));
        EXPECT_EQ(f.Extract(offsets[0]), c.result) << c.what;
        EXPECT_FALSE(fs::exists(f.out)) << c.what;
        EXPECT_TRUE(LeftoverTempFiles(f.dir.path()).empty()) << c.what;
    }
}

// The history starts as the zero-filled window: a distance that reaches before the start of the data
// reads zeros there, as far back as the window's 32768 bytes, and the data after it as usual.
TEST(ZipExtract, DistancesBeforeTheStartOfTheDataReadZeros) {
    TFixture f;
    constexpr uint32_t kLiteralA = 0x30 + 'A', kLiteralB = 0x30 + 'B';  // fixed codes of 8 bits
    constexpr uint32_t kLength3 = 1, kLength4 = 2, kEndOfBlock = 0;    // fixed codes of 7 bits
    const auto fixedBlock = [] { return TDeflateBits().Put(1, 1).Put(1, 2); };
    const struct {
        const char* what;
        std::string raw;
        std::string data;
    } cases[] = {
        {"3 bytes from 1 back at the start",
         fixedBlock().Code(kLength3, 7).Code(0, 5).Code(kEndOfBlock, 7).Bytes(), std::string(3, '\0')},
        {"3 bytes from 5 back after one literal",
         fixedBlock().Code(kLiteralA, 8).Code(kLength3, 7).Code(4, 5).Put(0, 1).Code(kEndOfBlock, 7).Bytes(),
         std::string("A\0\0\0", 4)},
        {"3 bytes from the window's full reach after one literal",
         fixedBlock().Code(kLiteralA, 8).Code(kLength3, 7).Code(29, 5).Put(8191, 13).Code(kEndOfBlock, 7).Bytes(),
         std::string("A\0\0\0", 4)},
        {"4 bytes from 3 back after two literals: a zero, the data, the zero copied again",
         fixedBlock().Code(kLiteralA, 8).Code(kLiteralB, 8).Code(kLength4, 7).Code(2, 5).Code(kEndOfBlock, 7).Bytes(),
         std::string("AB\0AB\0", 6)},
    };
    for (const auto& c : cases) {
        TEntrySpec e = Entry("e", c.data, 8);
        e.Raw = c.raw;
        e.HasRaw = true;
        auto offsets = f.Write(BuildZip({e}));
        EXPECT_EQ(f.Extract(offsets[0]), kZipExtractOk) << c.what;
        EXPECT_TRUE(fw_test::ReadFile(f.out) == c.data) << c.what;
        fs::remove(f.out);
    }
}

TEST(ZipExtract, HeaderAndArchiveFaults) {
    TFixture f;
    std::string data = SampleData(9000, 3);
    TBuiltZip built = BuildZip({Entry("e", data, 8)});
    auto offsets = f.Write(built);
    EXPECT_EQ(f.Extract(offsets[0] + 1), kZipExtractData);  // no local header there
    EXPECT_EQ(f.Extract(uint32_t(built.Bytes.size()) + 100), kZipExtractData);
    EXPECT_EQ(ExtractZipEntry((f.dir / "missing.zip").c_str(), f.out.c_str(), 0, 0, nullptr, 0, {}), kZipExtractRead);
    // Data cut short: the archive ends inside the entry.
    fw_test::WriteFile(f.zip, built.Bytes.substr(0, 30 + 1 + 100));
    EXPECT_EQ(f.Extract(0), kZipExtractRead);
    TEntrySpec stored = Entry("s", data, 0);
    fw_test::WriteFile(f.zip, BuildZip({stored}).Bytes.substr(0, 4000));
    EXPECT_EQ(f.Extract(0), kZipExtractRead);
    EXPECT_FALSE(fs::exists(f.out));
    // An encrypted entry made by the zip tool is refused before any file exists.
    fw_test::WriteFile(f.dir / "plain.txt", data);
    ASSERT_EQ(RunShell("cd '" + f.dir.path().string() + "' && zip -q -P secret enc.zip plain.txt"), 0);
    EXPECT_EQ(ExtractZipEntry((f.dir / "enc.zip").c_str(), (f.dir / "sub/x").c_str(), 0, 0, nullptr, 0, {}),
              kZipExtractEncrypted);
    EXPECT_FALSE(fs::exists(f.dir / "sub"));
    // Zip64 sizes in the local header that need 64 bits are not supported; escaped sizes without them
    // make a damaged header.
    ASSERT_EQ(RunShell("cd '" + f.dir.path().string() + "' && zip -q -fz z64.zip plain.txt"), 0);
    const std::string z64 = fw_test::ReadFile(f.dir / "z64.zip");
    const size_t extraStart = 30 + GetLe16(z64, 26);
    const size_t field = z64.find(std::string("\x01\x00\x10\x00", 4), extraStart);
    ASSERT_LT(field, extraStart + GetLe16(z64, 28));
    std::string huge = z64;
    PutLe64(huge, field + 4 + 8, uint64_t(5) << 30);  // the compressed size
    std::string unmarked = z64;
    unmarked[field] = char(0x99);
    for (const auto& [bytes, result] : {std::pair{huge, kZipExtractMethod}, std::pair{unmarked, kZipExtractData}}) {
        fw_test::WriteFile(f.zip, bytes);
        EXPECT_EQ(f.Extract(0), result);
        EXPECT_FALSE(fs::exists(f.out));
    }
}

TEST(ZipExtract, OutputBeyondTheDeclaredSizeOrTheArchiveCapStops) {
    TFixture f;
    const std::string data(200000, 'z');
    TBuiltZip built = BuildZip({Entry("bomb", data, 8), Entry("b", data, 8), Entry("c", data, 8)});
    std::string lying = built.Bytes;
    PutLe32(lying, 22, 1000);  // the local header now declares 1000 bytes
    fw_test::WriteFile(f.zip, lying);
    EXPECT_EQ(f.Extract(built.HeaderOffsets[0]), kZipExtractData);
    EXPECT_FALSE(fs::exists(f.out));

    f.Write(built);
    TZipArchiveBudget budget(450000);
    TZipExtractHooks hooks;
    hooks.Budget = &budget;
    EXPECT_EQ(f.Extract(built.HeaderOffsets[0], hooks, f.dir / "1"), kZipExtractOk);
    EXPECT_EQ(f.Extract(built.HeaderOffsets[1], hooks, f.dir / "2"), kZipExtractOk);
    EXPECT_EQ(f.Extract(built.HeaderOffsets[2], hooks, f.dir / "3"), kZipExtractWrite);
    EXPECT_FALSE(fs::exists(f.dir / "3"));
    EXPECT_LE(budget.Used(), 450000u);
}

// Only a descriptor with its signature is read: without it, the bytes taken for the CRC would be some
// other field's, so such an entry fails as a CRC error that names the missing signature.
TEST(ZipExtract, DataDescriptorsWithAndWithoutSignature) {
    TFixture f;
    const std::string data = SampleData(70000, 4);
    const std::string noSignature = "CRC error (no data descriptor with its signature behind the data)";
    struct Case {
        const char* what;
        uint16_t method;
        TDescriptor descriptor;
        bool crcWrong;
        int result;
        std::string logged;  // part of the line logged, "" for none
    } cases[] = {
        {"deflated, signature", 8, TDescriptor::WithSignature, false, kZipExtractOk, ""},
        {"deflated, no signature", 8, TDescriptor::WithoutSignature, false, kZipExtractCrc, noSignature},
        {"deflated, signature, CRC wrong", 8, TDescriptor::WithSignature, true, kZipExtractCrc, "\": CRC error\n"},
        {"deflated, no signature, CRC wrong", 8, TDescriptor::WithoutSignature, true, kZipExtractCrc, noSignature},
        {"stored, signature", 0, TDescriptor::WithSignature, false, kZipExtractOk, ""},
        {"stored, no signature", 0, TDescriptor::WithoutSignature, false, kZipExtractCrc, noSignature},
    };
    for (const Case& c : cases) {
        TEntrySpec e = Entry("dd", data, c.method);
        e.Descriptor = c.descriptor;
        e.CrcWrong = c.crcWrong;
        TBuiltZip built = BuildZip({e, Entry("next", "after", 0)});
        if (c.method == 0) {  // a stored entry with a descriptor keeps its sizes in the local header
            PutLe32(built.Bytes, 18, uint32_t(data.size()));
            PutLe32(built.Bytes, 22, uint32_t(data.size()));
        }
        f.Write(built);
        testing::internal::CaptureStderr();
        EXPECT_EQ(f.Extract(built.HeaderOffsets[0]), c.result) << c.what;
        const std::string log = testing::internal::GetCapturedStderr();
        if (c.logged.empty()) {
            EXPECT_EQ(log, "") << c.what;
        } else {
            EXPECT_NE(log.find(c.logged), std::string::npos) << c.what << ": " << log;
        }
        EXPECT_EQ(fs::exists(f.out), c.result == kZipExtractOk) << c.what;
        if (c.result == kZipExtractOk) {
            EXPECT_TRUE(fw_test::ReadFile(f.out) == data) << c.what;
        }
        fs::remove(f.out);
    }
    // Streams written by the zip tool to a pipe and by Python to an unseekable file carry descriptors.
    fw_test::WriteFile(f.dir / "in.bin", data);
    ASSERT_EQ(RunShell("cd '" + f.dir.path().string() + "' && zip -q - in.bin | cat > piped.zip"), 0);
    const char* script = R"(
import sys, zipfile
class Pipe:
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
with open(sys.argv[1], 'wb') as raw:
    with zipfile.ZipFile(Pipe(raw), 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('in.bin', open(sys.argv[2], 'rb').read())
)";
    ASSERT_EQ(RunPython(script, {(f.dir / "py.zip").string(), (f.dir / "in.bin").string()}), 0);
    for (const char* archive : {"piped.zip", "py.zip"}) {
        TWalk walk = WalkArchive(f.dir / archive);
        ASSERT_EQ(walk.Entries.size(), 1u) << archive;
        EXPECT_TRUE(walk.Entries[0].Flags & 0x08) << archive;
        EXPECT_EQ(ExtractZipEntry((f.dir / archive).c_str(), f.out.c_str(), 0, walk.Entries[0].HeaderOffset, nullptr, 0,
                                  {}),
                  kZipExtractOk)
            << archive;
        EXPECT_TRUE(fw_test::ReadFile(f.out) == data) << archive;
    }
}

TEST(ZipExtract, DosTimeIsLocalTimeOfTheCurrentZone) {
    TFixture f;
    // 2021-07-15 13:18:30 and an impossible date (month 0).
    TEntrySpec good = Entry("t", "time", 0);
    good.DosDateTime = (uint32_t(41) << 25) | (7u << 21) | (15u << 16) | (13u << 11) | (18u << 5) | 15u;
    TEntrySpec bad = Entry("u", "time", 0);
    bad.DosDateTime = (uint32_t(41) << 25) | (0u << 21) | (15u << 16);
    auto offsets = f.Write(BuildZip({good, bad}));
    struct tm utc {};
    utc.tm_year = 121, utc.tm_mon = 6, utc.tm_mday = 15, utc.tm_hour = 13, utc.tm_min = 18, utc.tm_sec = 30;
    const time_t asUtc = timegm(&utc);
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    struct Zone {
        const char* tz;
        long offsetSeconds;  // local time minus UTC on that date
    } zones[] = {{"UTC0", 0}, {"JST-9", 9 * 3600}, {"EST5EDT,M3.2.0,M11.1.0", -4 * 3600}};
    for (const Zone& z : zones) {
        ::setenv("TZ", z.tz, 1);
        ::tzset();
        ASSERT_EQ(f.Extract(offsets[0]), kZipExtractOk);
        EXPECT_EQ(ModificationTime(f.out), asUtc - z.offsetSeconds) << z.tz;
    }
    oldTz ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    const time_t before = std::time(nullptr);
    ASSERT_EQ(f.Extract(offsets[1]), kZipExtractOk);  // the time is then left as it is
    EXPECT_GE(ModificationTime(f.out), before - 5);
}

TEST(ZipExtract, AttributesFoldersAndReplacing) {
    TFixture f;
    auto offsets = f.Write(BuildZip({Entry("ro.txt", "read only", 0), Entry("vlc/plugins/", "", 0)}));
    ASSERT_EQ(f.Extract(offsets[0], {}, {}, nullptr, 0, kDosAttrReadOnly), kZipExtractOk);
    struct stat st {};
    ASSERT_EQ(::stat(f.out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    // A second extraction replaces the read-only file.
    ASSERT_EQ(f.Extract(offsets[0]), kZipExtractOk);
    ASSERT_EQ(::stat(f.out.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0200, 0u);
    // A folder entry: a name ending in "/", or the directory attribute.
    EXPECT_EQ(f.Extract(offsets[1], {}, f.dir / "t/vlc/plugins/"), kZipExtractOk);
    EXPECT_TRUE(fs::is_directory(f.dir / "t/vlc/plugins"));
    EXPECT_EQ(f.Extract(offsets[1], {}, f.dir / "t/other", nullptr, 0, kDosAttrDirectory), kZipExtractOk);
    EXPECT_TRUE(fs::is_directory(f.dir / "t/other"));
    // Missing folders above a file are made.
    EXPECT_EQ(f.Extract(offsets[0], {}, f.dir / "deep/a/b/c.txt"), kZipExtractOk);
    EXPECT_EQ(fw_test::ReadFile(f.dir / "deep/a/b/c.txt"), "read only");
    // A folder standing where the file should go.
    fs::create_directories(f.dir / "isdir");
    EXPECT_EQ(f.Extract(offsets[0], {}, f.dir / "isdir"), kZipExtractWrite);
    EXPECT_TRUE(LeftoverTempFiles(f.dir.path()).empty());
}

TEST(ZipExtract, NothingIsWrittenOutsideTheTarget) {
    TFixture f;
    fs::path target = f.dir / "target";
    fs::path outside = f.dir / "outside";
    fs::create_directories(target);
    fs::create_directories(outside);
    fw_test::WriteFile(outside / "victim.txt", "keep me");
    fs::create_symlink(outside, target / "link");
    fs::create_symlink(outside / "victim.txt", target / "file.txt");
    auto offsets = f.Write(BuildZip({Entry("e", "payload", 0)}));
    TZipExtractHooks rooted;
    rooted.TargetRoot = target.string();
    struct Case {
        const char* what;
        fs::path out;
        const TZipExtractHooks& hooks;
        int result;
    } cases[] = {
        {"parent component", target / "../outside/victim.txt", {}, kZipExtractWrite},
        {"parent component below a root", target / "a/../../outside/victim.txt", rooted, kZipExtractWrite},
        {"outside the root", outside / "victim.txt", rooted, kZipExtractWrite},
        {"through a linked folder", target / "link/victim.txt", rooted, kZipExtractWrite},
        {"through a linked folder, new file", target / "link/new.txt", rooted, kZipExtractWrite},
        {"linked folder as a folder entry", target / "link/", rooted, kZipExtractWrite},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.Extract(offsets[0], c.hooks, c.out), c.result) << c.what;
        EXPECT_EQ(fw_test::ReadFile(outside / "victim.txt"), "keep me") << c.what;
        EXPECT_FALSE(fs::exists(outside / "new.txt")) << c.what;
    }
    // A link in the file's own place is replaced, never followed.
    EXPECT_EQ(f.Extract(offsets[0], rooted, target / "file.txt"), kZipExtractOk);
    EXPECT_FALSE(fs::is_symlink(target / "file.txt"));
    EXPECT_EQ(fw_test::ReadFile(target / "file.txt"), "payload");
    EXPECT_EQ(fw_test::ReadFile(outside / "victim.txt"), "keep me");
    EXPECT_EQ(f.Extract(offsets[0], rooted, target / "sub/ok.txt"), kZipExtractOk);
    EXPECT_EQ(fw_test::ReadFile(target / "sub/ok.txt"), "payload");
}

TEST(ZipExtract, AbortByWindowOrKey) {
    TFixture f;
    std::string data = SampleData(300000, 6);
    auto offsets = f.Write(BuildZip({Entry("s", data, 0), Entry("d", data, 8)}));
    for (uint32_t offset : offsets) {
        fs::remove(f.out);
        for (uint16_t abortAt : {uint16_t(0), uint16_t(65), uint16_t(100)}) {
            TRecordingWindow window;
            window.abortAt = abortAt;
            EXPECT_EQ(f.Extract(offset, {}, {}, &window, 7), kZipExtractAborted) << offset << " at " << abortAt;
            EXPECT_FALSE(fs::exists(f.out));
        }
        TFakeKeyboard keys;
        keys.down = platform::kVirtualKeyEscape;
        TZipExtractHooks hooks;
        hooks.Keyboard = &keys;
        EXPECT_EQ(f.Extract(offset, hooks, {}, nullptr, platform::kVirtualKeyEscape), kZipExtractAborted);
        EXPECT_FALSE(fs::exists(f.out));
        EXPECT_EQ(f.Extract(offset, hooks, {}, nullptr, 0), kZipExtractOk) << "id 0: no key aborts";
        keys.down = 'Q';
        EXPECT_EQ(f.Extract(offset, hooks, {}, nullptr, platform::kVirtualKeyEscape), kZipExtractOk);
        EXPECT_GT(keys.asked, 0);
        EXPECT_TRUE(LeftoverTempFiles(f.dir.path()).empty());

        // The owner's stop, asked before the entry or in its middle (here at the first key test).
        fs::remove(f.out);
        std::atomic<bool> stop{true};
        TZipExtractHooks stopping;
        stopping.Stop = &stop;
        EXPECT_EQ(f.Extract(offset, stopping), kZipExtractAborted) << "no key needed";
        EXPECT_FALSE(fs::exists(f.out));
        stop = false;
        keys.down = 0;
        keys.asked = 0;
        keys.onAsk = [&] { stop = true; };
        stopping.Keyboard = &keys;
        EXPECT_EQ(f.Extract(offset, stopping, {}, nullptr, platform::kVirtualKeyEscape), kZipExtractAborted);
        EXPECT_EQ(keys.asked, 1) << "it stops at the next check";
        EXPECT_FALSE(fs::exists(f.out));
        EXPECT_TRUE(LeftoverTempFiles(f.dir.path()).empty());
    }
}

TEST(ZipExtract, OneExtractionAtATime) {
    TFixture f;
    auto offsets = f.Write(BuildZip({Entry("a", SampleData(100000, 7), 0), Entry("b", "b", 0)}));
    TRecordingWindow window;
    std::vector<int> nested;
    window.during = [&] {
        nested.push_back(ExtractZipEntry(f.zip.c_str(), (f.dir / "nested").c_str(), 0, offsets[1], nullptr, 0, {}));
        std::thread other([&] {
            nested.push_back(ExtractZipEntry(f.zip.c_str(), (f.dir / "other").c_str(), 0, offsets[1], nullptr, 0, {}));
        });
        other.join();
    };
    EXPECT_EQ(f.Extract(offsets[0], {}, {}, &window, 1), kZipExtractOk);
    ASSERT_FALSE(nested.empty());
    for (int rc : nested) EXPECT_EQ(rc, kZipExtractBusy);
    EXPECT_FALSE(fs::exists(f.dir / "nested"));
    EXPECT_EQ(f.Extract(offsets[1]), kZipExtractOk) << "the lock is free again";
}

TEST(ZipExtract, LockIsTakenOverAfterThirtySilentSeconds) {
    TZipExtractionLock lock;
    const uint64_t first = lock.TryAcquire(1000);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(lock.TryAcquire(1000 + TZipExtractionLock::kStaleLockMs), 0u);
    lock.Touch(first, 20000);
    EXPECT_EQ(lock.TryAcquire(20000 + TZipExtractionLock::kStaleLockMs), 0u) << "a sign of life keeps it";
    const uint64_t second = lock.TryAcquire(20001 + TZipExtractionLock::kStaleLockMs);
    ASSERT_NE(second, 0u) << "silent for more than 30 s: taken over";
    lock.Release(first);  // the old holder's release frees nothing
    lock.Touch(first, 90000);
    EXPECT_EQ(lock.TryAcquire(60000), 0u);
    lock.Release(second);
    EXPECT_NE(lock.TryAcquire(60000), 0u);
}

TEST(ZipExtract, EveryFailingReadIsAFailureWithoutAFile) {
    std::string data = SampleData(20000, 8);
    for (uint16_t method : {0, 8}) {
        TBuiltZip built = BuildZip({Entry("e", data, method)});
        fw_test::TempDir dir;
        TFailingOpener counter(built.Bytes, 0);
        TZipExtractHooks hooks;
        hooks.Opener = &counter;
        ASSERT_EQ(ExtractZipEntry("mem.zip", (dir / "ok").c_str(), 0, 0, nullptr, 0, hooks), kZipExtractOk);
        for (int n = 1; n <= counter.Reads(); ++n) {
            TFailingOpener failing(built.Bytes, n);
            hooks.Opener = &failing;
            int rc = ExtractZipEntry("mem.zip", (dir / "out").c_str(), 0, 0, nullptr, 0, hooks);
            EXPECT_TRUE(rc == kZipExtractRead || rc == kZipExtractData || rc == kZipExtractCrc) << n << ": " << rc;
            EXPECT_FALSE(fs::exists(dir / "out")) << n;
        }
        EXPECT_TRUE(LeftoverTempFiles(dir.path()).empty());
    }
}
