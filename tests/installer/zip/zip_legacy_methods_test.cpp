// Shrunk, reduced and imploded entries: streams made by the test encoders (checked with `unzip -t`,
// which knows unshrink and explode) and hand-worked reduce streams with outputs worked out by hand.
#include <gtest/gtest.h>

#include "installer/zip/zip_dir_search.h"
#include "installer/zip/zip_extract.h"
#include "tests/installer/zip/legacy_encoders.h"
#include "tests/installer/zip/zip_test_support.h"
#include "tests/support/test_env.h"

using namespace hollarin;
using namespace zip_test;

namespace {

TEntrySpec Legacy(const std::string& name, const std::string& data, uint16_t method, const std::string& raw,
                  uint16_t flags = 0) {
    TEntrySpec e = Entry(name, data, method);
    e.Raw = raw;
    e.HasRaw = true;
    e.Flags = flags;
    return e;
}

// Extracts the single entry of zip into dir/out; the result, and the bytes written.
int ExtractOne(const fw_test::TempDir& dir, const std::string& zipBytes, std::string* written) {
    fw_test::WriteFile(dir / "in.zip", zipBytes);
    TWalk walk = WalkArchive(dir / "in.zip");
    if (walk.Entries.size() != 1) return 100;
    std::filesystem::remove(dir / "out");
    TZipExtractHooks hooks;
    int rc = ExtractZipEntry((dir / "in.zip").c_str(), (dir / "out").c_str(), 0, walk.Entries[0].HeaderOffset,
                             nullptr, 0, hooks);
    if (written) *written = std::filesystem::exists(dir / "out") ? fw_test::ReadFile(dir / "out") : "";
    return rc;
}

std::string Text(size_t size) {
    std::string s;
    const char* words[] = {"the ", "plugin ", "folder ", "holds ", "libvlc ", "and ", "its ", "codecs ", "\n"};
    for (uint32_t x = 7; s.size() < size; x = x * 1103515245u + 12345) s += words[(x >> 16) % 9];
    s.resize(size);
    return s;
}

struct TInput {
    const char* what;
    std::string data;
};

std::vector<TInput> Inputs() {
    return {
        {"one byte", "A"},
        {"a run that codes itself (KwKwK)", "ABABABABABAAAAAAAAAAAAAAAAAAAAAAAAAB"},
        {"text of 6 KB", Text(6000)},
        {"binary of 40 KB", SampleData(40000, 3)},
        {"zeros", std::string(20000, '\0')},
    };
}

}  // namespace

TEST(ZipLegacyMethods, ShrunkEntriesMatchUnzipAndDecode) {
    fw_test::TempDir dir;
    std::vector<TInput> inputs = Inputs();
    // Enough distinct strings to fill the 13-bit table several times: partial clears, codes reused.
    inputs.push_back({"200 KB, several partial clears", SampleData(200000, 9)});
    for (const TInput& in : inputs) {
        std::string zip = BuildZip({Legacy("s.bin", in.data, 1, ShrinkEncode(in.data))}).Bytes;
        fw_test::WriteFile(dir / "shrunk.zip", zip);
        std::string report;
        EXPECT_TRUE(UnzipTestPasses(dir / "shrunk.zip", &report)) << in.what << "\n" << report;
        std::string written;
        EXPECT_EQ(ExtractOne(dir, zip, &written), kZipExtractOk) << in.what;
        EXPECT_TRUE(written == in.data) << in.what;
    }
}

TEST(ZipLegacyMethods, DamagedShrunkStreams) {
    fw_test::TempDir dir;
    const std::string data = "ABABABAB";
    auto stream = [](std::vector<std::pair<uint32_t, unsigned>> codes) {
        TBitWriter w;
        for (auto [code, bits] : codes) w.Put(code, bits);
        return w.Finish();
    };
    struct Case {
        const char* what;
        std::string raw;
        int result;
    } cases[] = {
        {"unknown control code", stream({{'A', 9}, {256, 9}, {3, 9}, {'B', 9}}), kZipExtractData},
        {"code size beyond 13 bits",
         stream({{'A', 9}, {256, 9}, {1, 9}, {256, 10}, {1, 10}, {256, 11}, {1, 11}, {256, 12}, {1, 12}, {256, 13},
                 {1, 13}}),
         kZipExtractData},
        {"a code far beyond the table", stream({{'A', 9}, {300, 9}}), kZipExtractData},
        {"first code is no literal", stream({{258, 9}}), kZipExtractData},
        {"stream too short", stream({{'A', 9}, {'B', 9}}), kZipExtractCrc},
    };
    for (const Case& c : cases) {
        std::string written;
        EXPECT_EQ(ExtractOne(dir, BuildZip({Legacy("s", data, 1, c.raw)}).Bytes, &written), c.result) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << c.what;
    }
}

TEST(ZipLegacyMethods, ImplodedEntriesOfAllFourVariantsMatchUnzipAndDecode) {
    fw_test::TempDir dir;
    for (uint16_t flags : {0, 2, 4, 6}) {
        for (const TInput& in : Inputs()) {
            std::string zip = BuildZip({Legacy("i.bin", in.data, 6, ImplodeEncode(in.data, flags), flags)}).Bytes;
            fw_test::WriteFile(dir / "imploded.zip", zip);
            std::string report;
            EXPECT_TRUE(UnzipTestPasses(dir / "imploded.zip", &report)) << in.what << " flags " << flags << "\n" << report;
            std::string written;
            EXPECT_EQ(ExtractOne(dir, zip, &written), kZipExtractOk) << in.what << " flags " << flags;
            EXPECT_TRUE(written == in.data) << in.what << " flags " << flags;
        }
    }
}

TEST(ZipLegacyMethods, DamagedImplodedStreams) {
    fw_test::TempDir dir;
    const std::string data = Text(3000);
    const std::string good = ImplodeEncode(data, 4);
    std::string incomplete = good;
    incomplete[1] = char((uint8_t(incomplete[1]) & 0xF0) | 0x0F);  // first run of codes now 16 bits long
    std::string wrongCount = good;
    wrongCount[0] = char(uint8_t(wrongCount[0]) - 1);  // the literal tree describes too few values
    struct Case {
        const char* what;
        std::string raw;
        int result;
    } cases[] = {
        {"incomplete tree", incomplete, kZipExtractData},
        {"tree of the wrong size", wrongCount, kZipExtractData},
        {"cut after the trees", good.substr(0, 60), kZipExtractRead},
        {"cut in the middle", good.substr(0, good.size() / 2), kZipExtractRead},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractOne(dir, BuildZip({Legacy("i", data, 6, c.raw, 4)}).Bytes, nullptr), c.result) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << c.what;
    }
}

// Reduce with every follower set empty: the bit stream is 256 six-bit zeros (192 bytes), then the
// repeat stage's bytes, each in 8 bits.
TEST(ZipLegacyMethods, HandWorkedReducedStreams) {
    fw_test::TempDir dir;
    const std::string noSets(192, '\0');
    struct Case {
        const char* what;
        int factor;
        std::string stage;     // bytes of the repeat stage
        std::string expected;  // worked out by hand
    } cases[] = {
        {"literals and an escaped 144", 1, std::string("AB\x90\x00" "C", 5), std::string("AB\x90" "C", 4)},
        // 144, V=1 (length 1 + 3), C=3: four bytes from 4 back.
        {"short repeat", 1, std::string("AB\x90\x00" "C\x90\x01\x03", 8), std::string("AB\x90" "CAB\x90" "C", 8)},
        // 144, V=0x7F (longest short length: one more byte follows), 1 -> length 128 + 3, C=1: distance 2.
        {"long repeat", 1, std::string("xy\x90\x7F\x01\x01", 6), "xy" + [] {
             std::string s;
             for (int i = 0; i < 131; ++i) s += (i % 2 ? 'y' : 'x');
             return s;
         }()},
        // Before the start of the output everything reads as zero: 144, V=5, C=99 -> 8 zeros.
        {"repeat before the start", 2, std::string("\x90\x05\x63" "Z", 4), std::string(8, '\0') + "Z"},
        // Factor 4: V=0x35 -> length 5 + 3, distance (3 * 256) + 0x10 + 1 = 785.
        {"factor 4 distance", 4, "", ""},
    };
    for (Case c : cases) {
        if (c.factor == 4) {
            for (int i = 0; i < 1000; ++i) c.stage.push_back(char('a' + i % 23));
            c.expected = c.stage;
            c.stage += std::string("\x90\x35\x10", 3);
            c.expected += c.expected.substr(1000 - 785, 8);
        }
        std::string written;
        EXPECT_EQ(ExtractOne(dir, BuildZip({Legacy("r", c.expected, uint16_t(1 + c.factor), noSets + c.stage)}).Bytes,
                             &written),
                  kZipExtractOk)
            << c.what;
        EXPECT_TRUE(written == c.expected) << c.what;
    }
}

// Follower sets: S(0) = {x, y, z} (indexes of 2 bits), S('x') = {y} (1 bit), every other set empty.
TEST(ZipLegacyMethods, HandWorkedFollowerSets) {
    fw_test::TempDir dir;
    TBitWriter w;
    for (int j = 255; j >= 0; --j) {
        if (j == 'x') {
            w.Put(1, 6);
            w.Put('y', 8);
        } else if (j == 0) {
            w.Put(3, 6);
            w.Put('x', 8);
            w.Put('y', 8);
            w.Put('z', 8);
        } else {
            w.Put(0, 6);
        }
    }
    w.Put(0, 1), w.Put(0, 2);    // after 0: follower 0 -> 'x'
    w.Put(0, 1), w.Put(0, 1);    // after 'x': follower 0 -> 'y'
    w.Put('q', 8);               // after 'y' (empty set): 8 bits
    w.Put('x', 8);               // after 'q' (empty set)
    w.Put(1, 1), w.Put('w', 8);  // after 'x': not a follower
    w.Put('z', 8);               // after 'w' (empty set)
    std::string written;
    EXPECT_EQ(ExtractOne(dir, BuildZip({Legacy("f", "xyqxwz", 2, w.Finish())}).Bytes, &written), kZipExtractOk);
    EXPECT_EQ(written, "xyqxwz");

    // A follower index past the set's end is invalid data.
    TBitWriter bad;
    for (int j = 255; j >= 0; --j) {
        bad.Put(j == 0 ? 3 : 0, 6);
        if (j == 0) bad.Put('x', 8), bad.Put('y', 8), bad.Put('z', 8);
    }
    bad.Put(0, 1), bad.Put(3, 2);
    EXPECT_EQ(ExtractOne(dir, BuildZip({Legacy("f", "x", 2, bad.Finish())}).Bytes, nullptr), kZipExtractData);
}

TEST(ZipLegacyMethods, ReducedRoundTripsForEveryFactor) {
    fw_test::TempDir dir;
    for (int factor = 1; factor <= 4; ++factor) {
        for (bool followers : {false, true}) {
            for (const TInput& in : Inputs()) {
                std::string raw = ReduceEncode(in.data, factor, followers);
                std::string written;
                EXPECT_EQ(ExtractOne(dir, BuildZip({Legacy("r", in.data, uint16_t(1 + factor), raw)}).Bytes, &written),
                          kZipExtractOk)
                    << in.what << " factor " << factor;
                EXPECT_TRUE(written == in.data) << in.what << " factor " << factor << " followers " << followers;
            }
        }
        // Cut short, the data ends before the declared size (the bytes read past it may also decode as
        // invalid data first).
        std::string data = Text(5000);
        std::string raw = ReduceEncode(data, factor, true);
        int rc = ExtractOne(dir, BuildZip({Legacy("r", data, uint16_t(1 + factor), raw.substr(0, raw.size() / 2))}).Bytes,
                            nullptr);
        EXPECT_TRUE(rc == kZipExtractRead || rc == kZipExtractData) << rc;
        EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    }
}
