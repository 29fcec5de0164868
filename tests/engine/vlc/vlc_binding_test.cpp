// The libVLC binding against fake libraries: folder choice, load errors, entry points, unloading and
// the version rule.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/util/vlc_version.h"
#include "engine/vlc/VlcLib.h"
#include "tests/engine/vlc/fake_vlc_folder.h"
#include "tests/support/test_env.h"

namespace {

using namespace engine;
using fw_test::FakeVlc;
using fw_test::FillFakeVlcFolder;

class VlcBindingTest : public ::testing::Test {
protected:
    void TearDown() override {
        UnloadVlcLibraries();
        SetVlcLibPath("");
    }
    fw_test::TempDir temp;
};

int BoundEntryPoints() {
    int bound = 0;
#define FW_COUNT(name) bound += VlcFunctions().name != nullptr ? 1 : 0;
    FW_VLC_ENTRY_POINTS(FW_COUNT)
#undef FW_COUNT
    return bound;
}

TEST(VlcVersionTest, VersionWordTakesTheFirstWord) {
    const struct {
        const char* text;
        const char* word;
    } cases[] = {{"3.0.24 Vetinari", "3.0.24"}, {"  2.1.5 Rincewind", "2.1.5"}, {"3.0.24", ""}, {"", ""}, {"   ", ""}};
    for (const auto& c : cases) EXPECT_EQ(VlcVersionWord(c.text), c.word) << '"' << c.text << '"';
}

TEST(VlcVersionTest, WordMatchesTheRequiredVersionOrItsPointReleases) {
    const struct {
        const char* word;
        bool matches;
    } cases[] = {{"3.0", true}, {"3.0.24", true}, {"3.0.24.1", true}, {"3.01", false}, {"3.00", false},
                 {"13.0", false}, {"2.1.5", false}, {"", false}, {"3", false}};
    for (const auto& c : cases) EXPECT_EQ(VlcVersionMatches(c.word), c.matches) << c.word;
    EXPECT_EQ(kRequiredVlcVersion, "3.0");
    EXPECT_FALSE(VlcVersionMatches("2.1.50", "2.1.5"));
    EXPECT_FALSE(VlcVersionMatches("3.0", ""));
}

TEST_F(VlcBindingTest, FolderWithoutCoreLibraryFallsBackToTheDefaultFolder) {
    const std::string folder = FillFakeVlcFolder(temp / "only_libvlc", FakeVlc::Full, /*withCore=*/false);
    SetVlcLibPath(folder);
    // The default "LIB_VLC/" beside the test program does not exist; its path is answered anyway.
    EXPECT_EQ(GetVlcLibPath(), DefaultVlcLibFolder());
    EXPECT_FALSE(std::filesystem::exists(DefaultVlcLibFolder()));
    EXPECT_FALSE(VlcLibPathExists());
    EXPECT_EQ(LoadVlcFunctions(), kVlcErrorLibrary);
    EXPECT_EQ(VlcLastError(), kVlcErrorLibrary);
    EXPECT_EQ(BoundEntryPoints(), 0);
}

TEST_F(VlcBindingTest, BrokenLibraryFileGivesLibraryError) {
    const std::string folder = FillFakeVlcFolder(temp / "broken", FakeVlc::Full);
    fw_test::WriteFile(std::filesystem::path(folder) / kVlcCoreLibraryFile, "not a library");
    SetVlcLibPath(folder);
    EXPECT_EQ(GetVlcLibPath(), folder);
    EXPECT_EQ(LoadVlcFunctions(), kVlcErrorLibrary);
    EXPECT_FALSE(VlcLibrariesLoaded());
}

TEST_F(VlcBindingTest, CompleteLibraryResolvesAll35EntryPoints) {
    SetVlcLibPath(FillFakeVlcFolder(temp / "full", FakeVlc::Full));
    EXPECT_EQ(LoadVlcFunctions(), 0);
    EXPECT_TRUE(VlcFunctionsLoaded());
    EXPECT_EQ(VlcEntryPointNames().size(), 35u);
    EXPECT_EQ(BoundEntryPoints(), 35);
    EXPECT_EQ(GetLibVlcVersion(), "3.0.24 Fake");
    EXPECT_EQ(GetVlcVersion(), "3.0.24");
    EXPECT_TRUE(IsVlcVersion(std::string(kRequiredVlcVersion)));
    EXPECT_FALSE(IsVlcVersion("3.0.2"));
    void* address = nullptr;
    EXPECT_EQ(GetVlcProcAddress("libvlc_no_such_call", &address), kVlcErrorEntryPoint);
    EXPECT_EQ(address, nullptr);
}

TEST_F(VlcBindingTest, LibraryLackingOneUnusedEntryPointIsRefused) {
    SetVlcLibPath(FillFakeVlcFolder(temp / "no_pause", FakeVlc::WithoutPauseMedia));
    EXPECT_EQ(LoadVlcFunctions(), kVlcErrorEntryPoint);
    EXPECT_EQ(VlcFunctions().libvlc_vlm_pause_media, nullptr);
    EXPECT_EQ(BoundEntryPoints(), 34);  // the others are still resolved
    EXPECT_NE(VlcFunctions().libvlc_vlm_get_media_instance_rate, nullptr);
}

TEST_F(VlcBindingTest, LoadedLibrariesStayUntilUnloadedAndUnloadClearsEveryPointer) {
    const std::string first = FillFakeVlcFolder(temp / "first", FakeVlc::Full);
    SetVlcLibPath(first);
    ASSERT_EQ(LoadVlcFunctions(), 0);
    // The files may go and another folder may be named: the loaded library keeps serving.
    std::filesystem::remove_all(first);
    SetVlcLibPath(FillFakeVlcFolder(temp / "second", FakeVlc::WithoutPauseMedia));
    EXPECT_EQ(LoadVlcFunctions(), 0);
    EXPECT_EQ(GetLibVlcVersion(), "3.0.24 Fake");

    EXPECT_EQ(UnloadVlcLibraries(), 0);
    EXPECT_FALSE(VlcLibrariesLoaded());
    EXPECT_FALSE(VlcFunctionsLoaded());
    EXPECT_EQ(BoundEntryPoints(), 0);
    EXPECT_EQ(GetLibVlcVersion(), "");

    // The next load takes the folder named now.
    EXPECT_EQ(LoadVlcFunctions(), kVlcErrorEntryPoint);
    EXPECT_EQ(GetLibVlcVersion(), "2.1.5 Old");
    EXPECT_FALSE(IsVlcVersion(std::string(kRequiredVlcVersion)));
}

}  // namespace
