// The extraction thread and its owner: completion codes, what lands in the target folder, the user's
// Escape, unreadable and hostile archives, and an owner that goes while the thread runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "installer/Unzip.h"
#include "tests/installer/installer_test_support.h"
#include "tests/installer/zip/zip_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
using installer_test::SpinFor;
using installer_test::SpinUntil;
using zip_test::Entry;
namespace fs = std::filesystem;

class TEscapeHeld final : public platform::TKeyboardState {
public:
    bool IsKeyDown(uint16_t key) override { return key == platform::kVirtualKeyEscape; }
};

class TThrowingOpener final : public TZipArchiveOpener {
public:
    std::unique_ptr<TZipArchiveFile> Open(const char*) override { throw std::runtime_error("no memory"); }
};

struct TOutcome {
    int Code = -1;
    bool Done = false;
};

class UnzipTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installer_test::EnsureQtApplication(); }

    void WriteZip(const std::vector<zip_test::TEntrySpec>& entries) { fw_test::WriteFile(zip, zip_test::BuildZip(entries).Bytes); }

    // failure: receives the sender's Failure() in OnDone.
    std::optional<TOutcome> Run(TUnzipSources sources = {}, std::optional<TUnzipFailure>* failure = nullptr) {
        std::optional<TOutcome> outcome;
        TUnzip unzip;
        unzip.SetZipFile(zip.string());
        unzip.SetTargetDir(target);
        unzip.SetSources(std::move(sources));
        unzip.OnDone = [&](TUnzip& sender, int code, bool done) {
            EXPECT_EQ(&sender, &unzip);
            outcome = TOutcome{code, done};
            if (failure) *failure = sender.Failure();
        };
        EXPECT_TRUE(unzip.Start());
        SpinUntil([&] { return outcome.has_value() && unzip.Ended(); });
        return outcome;
    }

    fw_test::TempDir temp;
    fs::path zip = temp / "vlc.zip";
    std::string target = (temp / "vlc_zip").string() + "/";
};

TEST_F(UnzipTest, EveryEntryLandsBelowTheTargetFolder) {
    const std::string big = zip_test::SampleData(200000, 3);
    WriteZip({Entry("vlc-3.0/", ""), Entry("vlc-3.0/libvlc.so.5", big, 8), Entry("vlc-3.0/README.txt", "read me"),
              Entry("vlc-3.0/plugins/codec/libx_plugin.so", "plugin", 8)});
    const auto outcome = Run();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Code, kUnzipOk);
    EXPECT_TRUE(outcome->Done);
    EXPECT_EQ(installer_test::FilesBelow(target),
              (std::vector<std::string>{"vlc-3.0/README.txt", "vlc-3.0/libvlc.so.5", "vlc-3.0/plugins/codec/libx_plugin.so"}));
    EXPECT_EQ(fw_test::ReadFile(fs::path(target) / "vlc-3.0/libvlc.so.5"), big);

    // A second archive extracts over what the first left there.
    WriteZip({Entry("vlc-3.0/README.txt", "newer"), Entry("vlc-3.0/NEWS.txt", "news")});
    const auto again = Run();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Code, kUnzipOk);
    EXPECT_EQ(fw_test::ReadFile(fs::path(target) / "vlc-3.0/README.txt"), "newer");
    EXPECT_TRUE(fs::exists(fs::path(target) / "vlc-3.0/libvlc.so.5"));
}

// An archive of the zip tool whose Zip64 extra field claims an entry of 5 GB.
std::string ArchiveNeeding64Bits(const fs::path& dir) {
    fs::create_directories(dir);
    fw_test::WriteFile(dir / "a.txt", "a");
    EXPECT_EQ(zip_test::RunShell("cd '" + dir.string() + "' && zip -q -fz z64.zip a.txt"), 0);
    std::string bytes = fw_test::ReadFile(dir / "z64.zip");
    const size_t central = bytes.find("PK\x01\x02");
    const size_t field = bytes.find(std::string("\x01\x00\x08\x00", 4), central + 46);
    EXPECT_NE(field, std::string::npos);
    if (field != std::string::npos) zip_test::PutLe64(bytes, field + 4, uint64_t(5) << 30);
    return bytes;
}

TEST_F(UnzipTest, BadArchivesEndWithCode100AndSayWhy) {
    zip_test::TEntrySpec damaged = Entry("vlc-3.0/b.txt", "second entry", 8);
    damaged.CrcWrong = true;
    zip_test::TEntrySpec encrypted = Entry("vlc-3.0/e.txt", "secret", 0);
    encrypted.Flags = 0x01;
    const struct {
        std::vector<zip_test::TEntrySpec> entries;
        std::string bytes;  // used when entries is empty
        const char* why;
        std::vector<std::string> extracted;
        TUnzipFailure failure;
    } cases[] = {
        {{Entry("vlc-3.0/a.txt", "first"), damaged, Entry("vlc-3.0/c.txt", "third")}, "", "CRC error", {"vlc-3.0/a.txt"},
         TUnzipFailure::DamagedEntry},
        {{encrypted}, "", "encrypted entry", {}, TUnzipFailure::UnsupportedEntry},
        {{Entry("../outside.txt", "escape")}, "", "name leaving the target folder", {}, TUnzipFailure::UnsafeName},
        {{Entry("/etc/absolute.txt", "escape")}, "", "absolute name", {}, TUnzipFailure::UnsafeName},
        {{}, "this is not a zip archive at all", "no end record", {}, TUnzipFailure::NotAnArchive},
        {{}, std::string(), "empty file", {}, TUnzipFailure::NotAnArchive},
        {{}, ArchiveNeeding64Bits(temp / "z64"), "an entry of 5 GB", {}, TUnzipFailure::Needs64Bit},
    };
    for (const auto& c : cases) {
        fs::remove_all(target);
        if (c.entries.empty()) fw_test::WriteFile(zip, c.bytes);
        else WriteZip(c.entries);
        std::optional<TUnzipFailure> failure;
        const auto outcome = Run({}, &failure);
        ASSERT_TRUE(outcome) << c.why;
        EXPECT_EQ(outcome->Code, kUnzipFailed) << c.why;
        EXPECT_TRUE(outcome->Done) << c.why;
        EXPECT_EQ(failure, c.failure) << c.why;
        EXPECT_EQ(installer_test::FilesBelow(target), c.extracted) << c.why;
    }
    EXPECT_FALSE(fs::exists(temp / "outside.txt"));

    fs::remove(zip);
    const auto missing = Run();
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Code, kUnzipFailed);
}

TEST_F(UnzipTest, EscapeHeldDownStopsTheExtraction) {
    WriteZip({Entry("vlc-3.0/libvlccore.so.9", zip_test::SampleData(400000, 5), 8)});
    std::optional<TUnzipFailure> failure;
    const auto outcome = Run({nullptr, std::make_shared<TEscapeHeld>()}, &failure);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Code, kUnzipFailed);
    EXPECT_EQ(failure, TUnzipFailure::Stopped);
    EXPECT_TRUE(installer_test::FilesBelow(target).empty());
}

TEST_F(UnzipTest, ReadErrorsAndUnexpectedErrorsHaveTheirCodes) {
    const std::string bytes = zip_test::BuildZip({Entry("vlc-3.0/a.txt", zip_test::SampleData(50000, 1), 8),
                                                  Entry("vlc-3.0/b.txt", zip_test::SampleData(50000, 2), 8)}).Bytes;
    fw_test::WriteFile(zip, bytes);
    // A healthy read-through first, to learn how many reads the walk and extraction make.
    auto counting = std::make_shared<zip_test::TFailingOpener>(bytes, 0);
    auto outcome = Run({counting, nullptr});
    ASSERT_TRUE(outcome);
    ASSERT_EQ(outcome->Code, kUnzipOk);
    const int reads = counting->Reads();
    ASSERT_GT(reads, 2);
    for (int failFrom : {1, 2, reads / 2, reads}) {
        fs::remove_all(target);
        outcome = Run({std::make_shared<zip_test::TFailingOpener>(bytes, failFrom), nullptr});
        ASSERT_TRUE(outcome) << failFrom;
        EXPECT_EQ(outcome->Code, kUnzipFailed) << "reads fail from " << failFrom << " of " << reads;
    }

    std::optional<TUnzipFailure> failure;
    outcome = Run({std::make_shared<TThrowingOpener>(), nullptr}, &failure);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Code, kUnzipException);
    EXPECT_EQ(failure, TUnzipFailure::Error);
    EXPECT_TRUE(outcome->Done);
}

TEST_F(UnzipTest, StartNeedsNamesAndRunsOnce) {
    WriteZip({Entry("a.txt", "a")});
    TUnzip unnamed;
    EXPECT_FALSE(unnamed.Start());
    unnamed.SetZipFile(zip.string());
    EXPECT_FALSE(unnamed.Start()) << "no target folder";

    TUnzip blocked;
    fw_test::WriteFile(temp / "a_file", "x");
    blocked.SetZipFile(zip.string());
    blocked.SetTargetDir((temp / "a_file" / "below").string() + "/");
    EXPECT_FALSE(blocked.Start()) << "the target folder cannot be created";

    TUnzip unzip;
    int calls = 0;
    unzip.SetZipFile(zip.string());
    unzip.SetTargetDir(target);
    unzip.OnDone = [&](TUnzip&, int, bool) { ++calls; };
    ASSERT_TRUE(unzip.Start());
    EXPECT_FALSE(unzip.Start());
    ASSERT_TRUE(SpinUntil([&] { return calls > 0 && unzip.Ended(); }));
    SpinFor(std::chrono::milliseconds(50));
    EXPECT_EQ(calls, 1);
}

TEST_F(UnzipTest, OwnerMayGoBeforeOrInsideTheCompletion) {
    std::vector<zip_test::TEntrySpec> entries;
    for (int i = 0; i < 40; ++i) entries.push_back(Entry("vlc-3.0/f" + std::to_string(i), zip_test::SampleData(20000, i), 8));
    WriteZip(entries);

    // Gone while the thread runs: nothing is called, the thread stops between entries.
    bool called = false;
    auto early = std::make_unique<TUnzip>();
    early->SetZipFile(zip.string());
    early->SetTargetDir(target);
    early->OnDone = [&](TUnzip&, int, bool) { called = true; };
    ASSERT_TRUE(early->Start());
    early.reset();
    SpinFor(std::chrono::milliseconds(300));
    EXPECT_FALSE(called);

    // Freed by its own completion handler, as the install step does.
    auto owned = std::make_unique<TUnzip>();
    std::optional<int> code;
    owned->SetZipFile(zip.string());
    owned->SetTargetDir(target);
    owned->OnDone = [&](TUnzip&, int c, bool) {
        code = c;
        owned.reset();
    };
    ASSERT_TRUE(owned->Start());
    ASSERT_TRUE(SpinUntil([&] { return code.has_value(); }));
    EXPECT_EQ(*code, kUnzipOk);
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(installer_test::FilesBelow(fs::path(target) / "vlc-3.0").size(), 40u);
}

}  // namespace
