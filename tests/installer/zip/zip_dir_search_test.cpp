// The central-directory walk over archives made by Python's zipfile, the zip tool and the raw builder,
// with byte patches for the damaged variants.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/zip/zip_dir_search.h"
#include "tests/installer/zip/zip_test_support.h"
#include "tests/support/test_env.h"

using namespace hollarin;
using namespace zip_test;

namespace {

std::filesystem::path WriteZip(const fw_test::TempDir& dir, const std::string& name, const std::string& bytes) {
    std::filesystem::path p = dir / name;
    fw_test::WriteFile(p, bytes);
    return p;
}

std::vector<std::string> Names(const TWalk& walk) {
    std::vector<std::string> names;
    for (const auto& e : walk.Entries) names.push_back(e.Name);
    return names;
}

// Entries whose central records add up to exactly dirBytes (each record 46 + name length).
std::vector<TEntrySpec> EntriesFillingDirectory(size_t dirBytes) {
    std::vector<TEntrySpec> entries;
    size_t left = dirBytes;
    int i = 0;
    while (left > 0) {
        size_t nameLen = left >= 46 + 74 + 46 + 30 ? 74 : left - 46;
        std::string name = "vlc-3.0/plugins/f" + std::to_string(i++) + "_";
        name.resize(nameLen, 'x');
        entries.push_back(Entry(name, "d"));
        left -= 46 + nameLen;
    }
    return entries;
}

}  // namespace

TEST(ZipDirSearch, ArchivesMadeByPythonAndTheZipTool) {
    fw_test::TempDir dir;
    // Tiny, long comment (longer than one search block), a fake end signature inside the comment.
    const char* script = R"(
import sys, zipfile
d = sys.argv[1]
with zipfile.ZipFile(d + '/tiny.zip', 'w') as z:
    z.writestr('a.txt', 'hello')
with zipfile.ZipFile(d + '/comment.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('one.txt', 'x' * 1000)
    z.writestr('two/three.txt', 'y')
    z.comment = b'c' * 9000
with zipfile.ZipFile(d + '/fake.zip', 'w') as z:
    z.writestr('real.txt', 'r')
    z.comment = b'PK\x05\x06' + b'\x00' * 8 + b'\x10\x00\x00\x00\x99\x00\x00\x00' + b'\x00\x00' + b'tail'
with zipfile.ZipFile(d + '/empty.zip', 'w') as z:
    pass
)";
    ASSERT_EQ(RunPython(script, {dir.path().string()}), 0);
    fw_test::WriteFile(dir / "f1.txt", "first");
    std::filesystem::create_directories(dir / "sub");
    fw_test::WriteFile(dir / "sub" / "f2.txt", std::string(5000, 'q'));
    ASSERT_EQ(RunShell("cd '" + dir.path().string() + "' && zip -q -r tool.zip f1.txt sub"), 0);

    struct Case {
        const char* file;
        int final;
        std::vector<std::string> names;
    } cases[] = {
        {"tiny.zip", kZipDirEnd, {"a.txt"}},
        {"comment.zip", kZipDirEnd, {"one.txt", "two/three.txt"}},
        {"fake.zip", kZipDirEnd, {"real.txt"}},
        {"empty.zip", kZipDirEnd, {}},
        {"tool.zip", kZipDirEnd, {"f1.txt", "sub/", "sub/f2.txt"}},
    };
    for (const Case& c : cases) {
        TWalk walk = WalkArchive(dir / c.file);
        EXPECT_EQ(walk.FinalResult, c.final) << c.file;
        EXPECT_EQ(Names(walk), c.names) << c.file;
    }
    TWalk tiny = WalkArchive(dir / "tiny.zip");
    ASSERT_EQ(tiny.Entries.size(), 1u);
    EXPECT_EQ(tiny.Entries[0].Size, 5u);
    EXPECT_EQ(tiny.Entries[0].Crc, Crc32("hello"));
    EXPECT_EQ(tiny.Entries[0].HeaderOffset, 0u);
}

TEST(ZipDirSearch, HostDecidesWhetherAttributesAreDelivered) {
    fw_test::TempDir dir;
    const char* script = R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    for name, system, attr in [('dos.txt', 0, 0x21), ('dosdir/', 0, 0x10), ('unix.txt', 3, (0o644 << 16) | 0x01)]:
        i = zipfile.ZipInfo(name)
        i.create_system = system
        i.external_attr = attr
        z.writestr(i, '' if name.endswith('/') else 'data')
)";
    ASSERT_EQ(RunPython(script, {(dir / "attr.zip").string()}), 0);
    TWalk walk = WalkArchive(dir / "attr.zip");
    ASSERT_EQ(walk.Entries.size(), 3u);
    EXPECT_EQ(walk.Entries[0].Attr, 0x21);
    EXPECT_EQ(walk.Entries[1].Attr, 0x10);
    EXPECT_EQ(walk.Entries[1].Name, "dosdir/");
    EXPECT_EQ(walk.Entries[2].Attr, 0);
}

TEST(ZipDirSearch, NamesUseSlashesAndUnsafeNamesAreRefused) {
    fw_test::TempDir dir;
    struct Case {
        std::string stored;
        int first;
        std::string delivered;
    } cases[] = {
        {"vlc-2.1.5/plugins/", kZipDirEntry, "vlc-2.1.5/plugins/"},
        {"dir\\sub\\file.txt", kZipDirEntry, "dir/sub/file.txt"},
        {"a..b/..c/x...", kZipDirEntry, "a..b/..c/x..."},
        {std::string(259, 'n'), kZipDirEntry, std::string(259, 'n')},
        {std::string("cut\0here", 8), kZipDirEntry, "cut"},
        {"../evil.txt", kZipDirUnsafeName, ""},
        {"a/../../evil.txt", kZipDirUnsafeName, ""},
        {"..\\evil.txt", kZipDirUnsafeName, ""},
        {"a\\..\\..\\evil.txt", kZipDirUnsafeName, ""},
        {"/etc/passwd", kZipDirUnsafeName, ""},
        {"\\windows\\x.dll", kZipDirUnsafeName, ""},
        {"C:/x.dll", kZipDirUnsafeName, ""},
        {"c:\\x.dll", kZipDirUnsafeName, ""},
        {"", kZipDirUnsafeName, ""},
        {std::string(260, 'n'), kZipDirUnsafeName, ""},
    };
    for (const Case& c : cases) {
        auto zip = WriteZip(dir, "names.zip", BuildZip({Entry(c.stored, "x")}).Bytes);
        TZipDirSearch s;
        EXPECT_EQ(ZipFindFirst(zip.c_str(), s), c.first) << c.stored;
        if (c.first == kZipDirEntry) {
            EXPECT_EQ(std::string(s.FileName), c.delivered);
        } else {
            EXPECT_EQ(s.Buffer, nullptr) << "a refused walk is closed";
        }
        ZipFindClose(s);
    }
}

TEST(ZipDirSearch, DirectoriesAroundTheBufferSize) {
    fw_test::TempDir dir;
    // 63995 + 4 bytes fits the buffer; 63996 + 4 is read piecewise, as is a directory of 300 KB.
    struct Case {
        size_t dirBytes;
        bool piecewise;
    } cases[] = {{63995, false}, {63996, true}, {300000, true}};
    for (const Case& c : cases) {
        std::vector<TEntrySpec> entries = EntriesFillingDirectory(c.dirBytes);
        auto zip = WriteZip(dir, "big.zip", BuildZip(entries).Bytes);
        TZipDirSearch s;
        ASSERT_EQ(ZipFindFirst(zip.c_str(), s), kZipDirEntry);
        EXPECT_EQ(s.File != nullptr, c.piecewise) << c.dirBytes;
        EXPECT_LE(s.BufSize, kZipDirBufferBytes);
        ZipFindClose(s);
        TWalk walk = WalkArchive(zip);
        EXPECT_EQ(walk.FinalResult, kZipDirEnd) << c.dirBytes;
        ASSERT_EQ(walk.Entries.size(), entries.size()) << c.dirBytes;
        for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(walk.Entries[i].Name, entries[i].Name);
    }
}

TEST(ZipDirSearch, DamageReadsAsDamageNotAsTheEnd) {
    fw_test::TempDir dir;
    TBuiltZip small = BuildZip({Entry("a", "1"), Entry("b", "2"), Entry("c", "3")});
    const size_t dirStart = GetLe32(small.Bytes, small.Bytes.size() - 6);
    const size_t second = dirStart + 46 + 1;
    TBuiltZip big = BuildZip(EntriesFillingDirectory(200000));
    const size_t bigDir = GetLe32(big.Bytes, big.Bytes.size() - 6);
    const size_t far = bigDir + 700 * (46 + 74);  // a record beyond the first buffer

    struct Case {
        const char* what;
        std::string bytes;
        size_t entriesBefore;
    };
    std::vector<Case> cases;
    auto patched = [](std::string b, size_t at, uint32_t v) {
        PutLe32(b, at, v);
        return b;
    };
    auto patched16 = [](std::string b, size_t at, uint16_t v) {
        PutLe16(b, at, v);
        return b;
    };
    cases.push_back({"second record's signature", patched(small.Bytes, second, 0x12345678), 1});
    cases.push_back({"name length runs past the directory", patched16(small.Bytes, second + 28, 400), 1});
    cases.push_back({"end record counts one more", patched16(small.Bytes, small.Bytes.size() - 12, 4), 3});
    cases.push_back({"end record counts one less", patched16(small.Bytes, small.Bytes.size() - 12, 2), 3});
    cases.push_back({"record beyond the first buffer", patched(big.Bytes, far, 0), 700});
    for (const Case& c : cases) {
        auto zip = WriteZip(dir, "bad.zip", c.bytes);
        TWalk walk = WalkArchive(zip);
        EXPECT_EQ(walk.FinalResult, kZipDirError) << c.what;
        EXPECT_EQ(walk.Entries.size(), c.entriesBefore) << c.what;
    }
}

// An archive of the zip tool with Zip64 records, patched: values beyond 32 bits get their own answer;
// Zip64 records that do not fit the archive, and strays inside a comment, are not taken.
TEST(ZipDirSearch, Zip64BeyondThirtyTwoBitsIsRefusedAndStraysAreNotTaken) {
    fw_test::TempDir dir;
    fw_test::WriteFile(dir / "a.txt", std::string(3000, 'a'));
    fw_test::WriteFile(dir / "b.txt", "b");
    ASSERT_EQ(RunShell("cd '" + dir.path().string() + "' && zip -q -fz z64.zip a.txt b.txt"), 0);
    const std::string z64 = fw_test::ReadFile(dir / "z64.zip");
    ASSERT_EQ(Names(WalkArchive(dir / "z64.zip")), (std::vector<std::string>{"a.txt", "b.txt"}));
    const size_t zip64End = z64.rfind("PK\x06\x06");
    const size_t locator = z64.rfind("PK\x06\x07");
    const size_t end = z64.rfind("PK\x05\x06");
    const size_t central = z64.find("PK\x01\x02");
    ASSERT_NE(zip64End, std::string::npos);
    ASSERT_EQ(locator + 20, end);
    // The first directory record's Zip64 extra field (the tool escapes its uncompressed size).
    const size_t extraStart = central + 46 + GetLe16(z64, central + 28);
    const size_t zip64Extra = z64.find(std::string("\x01\x00\x08\x00", 4), extraStart);
    ASSERT_LT(zip64Extra, extraStart + GetLe16(z64, central + 30));
    ASSERT_EQ(GetLe32(z64, central + 24), 0xFFFFFFFFu);

    auto patch = [&](auto&& change) {
        std::string bytes = z64;
        change(bytes);
        return bytes;
    };
    // A comment holding a locator and an end record that lead nowhere.
    std::string stray;
    stray += "PK\x06\x07";
    stray += std::string(16, '\0');
    PutLe32(stray, 16, 1);
    stray += "PK\x05\x06";
    stray += std::string(8, '\0') + std::string(8, '\xff') + std::string(2, '\0');
    const std::string commented = patch([&](std::string& b) {
        PutLe16(b, end + 20, uint16_t(stray.size()));
        b += stray;
    });
    const struct {
        const char* what;
        std::string bytes;
        int first;
        std::vector<std::string> names;
    } cases[] = {
        {"entry count beyond 32 bits", patch([&](std::string& b) {
             PutLe64(b, zip64End + 24, (uint64_t(1) << 32) + 2);
             PutLe64(b, zip64End + 32, (uint64_t(1) << 32) + 2);
             PutLe16(b, end + 8, 0xFFFF);
             PutLe16(b, end + 10, 0xFFFF);
         }), kZipDirNeeds64Bit, {}},
        {"entry size beyond 32 bits", patch([&](std::string& b) { PutLe64(b, zip64Extra + 4, uint64_t(5) << 30); }),
         kZipDirNeeds64Bit, {}},
        {"escaped size without its Zip64 field", patch([&](std::string& b) { PutLe16(b, zip64Extra, 0x9999); }),
         kZipDirError, {}},
        {"end records that disagree on the count", patch([&](std::string& b) {
             PutLe64(b, zip64End + 24, 3);
             PutLe64(b, zip64End + 32, 3);
         }), kZipDirError, {}},
        {"locator naming no Zip64 end record", patch([&](std::string& b) { PutLe64(b, locator + 8, 0); }),
         kZipDirError, {}},
        {"stray records in the comment", commented, kZipDirEntry, {"a.txt", "b.txt"}},
    };
    for (const auto& c : cases) {
        auto zip = WriteZip(dir, "patched.zip", c.bytes);
        TZipDirSearch s;
        EXPECT_EQ(ZipFindFirst(zip.c_str(), s), c.first) << c.what;
        ZipFindClose(s);
        TWalk walk = WalkArchive(zip);
        EXPECT_EQ(Names(walk), c.names) << c.what;
        if (c.first == kZipDirEntry) {
            EXPECT_EQ(walk.FinalResult, kZipDirEnd) << c.what;
        }
    }
}

TEST(ZipDirSearch, FilesThatAreNoArchive) {
    fw_test::TempDir dir;
    std::string onlyEnd = BuildZip({}).Bytes;
    std::string shifted = BuildZip({Entry("a", "1")}).Bytes;
    struct Case {
        const char* what;
        std::string bytes;
        int result;
    } cases[] = {
        {"zero-length file", "", kZipDirError},
        {"text file", std::string(10000, 't'), kZipDirError},
        {"small text file", "PK", kZipDirError},
        {"end record pointing before itself wrongly", [&] {
             std::string b = shifted;
             PutLe32(b, b.size() - 6, 1);
             return b;
         }(), kZipDirError},
        {"end record with entries but no room for them", [&] {
             std::string b = onlyEnd;
             PutLe16(b, 10, 1);
             PutLe16(b, 8, 1);
             return b;
         }(), kZipDirEndTooNear},
        {"empty archive", onlyEnd, kZipDirEnd},
    };
    for (const Case& c : cases) {
        auto zip = WriteZip(dir, "no.zip", c.bytes);
        TZipDirSearch s;
        EXPECT_EQ(ZipFindFirst(zip.c_str(), s), c.result) << c.what;
        EXPECT_EQ(s.Buffer, nullptr) << c.what;
    }
    TZipDirSearch s;
    EXPECT_EQ(ZipFindFirst((dir / "missing.zip").c_str(), s), kZipDirError);
    EXPECT_EQ(ZipFindFirst(nullptr, s), kZipDirError);
}

TEST(ZipDirSearch, AfterTheEndTheWalkIsClosed) {
    fw_test::TempDir dir;
    auto zip = WriteZip(dir, "two.zip", BuildZip({Entry("a", "1"), Entry("b", "2")}).Bytes);
    TZipDirSearch s;
    ASSERT_EQ(ZipFindFirst(zip.c_str(), s), kZipDirEntry);
    EXPECT_EQ(ZipFindNext(s), kZipDirEntry);
    EXPECT_EQ(ZipFindNext(s), kZipDirEnd);
    EXPECT_EQ(ZipFindNext(s), kZipDirClosed);
    ZipFindClose(s);
    ZipFindClose(s);
    EXPECT_EQ(ZipFindNext(s), kZipDirClosed);
}

TEST(ZipDirSearch, EveryFailingReadEndsTheWalkCleanly) {
    for (size_t dirBytes : {size_t(2000), size_t(150000)}) {
        std::string bytes = BuildZip(EntriesFillingDirectory(dirBytes)).Bytes;
        TFailingOpener counter(bytes, 0);
        TWalk full = WalkArchive("mem.zip", counter);
        ASSERT_EQ(full.FinalResult, kZipDirEnd);
        for (int n = 1; n <= counter.Reads(); ++n) {
            TFailingOpener failing(bytes, n);
            TWalk walk = WalkArchive("mem.zip", failing);
            EXPECT_EQ(walk.FinalResult, kZipDirError) << "read " << n;
            EXPECT_LT(walk.Entries.size(), full.Entries.size());
        }
    }
}
