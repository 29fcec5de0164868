// The installer's libVLC binding against the fake libraries and the system's libVLC: which folder it
// accepts, the fallback to an installed VLC, the 19 entry points, the load errors and unloading.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "installer/InstallerVlcLib.h"
#include "installer/VlcLibraryProbe.h"
#include "platform/registry/registry.h"
#include "tests/engine/vlc/fake_vlc_folder.h"
#include "tests/installer/installer_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
using fw_test::FakeVlc;
using fw_test::FillFakeVlcFolder;
namespace fs = std::filesystem;

// No system library folder: only the target folder and the registry count.
const std::vector<std::string> kNoSystemVlc;

class InstallerVlcLibTest : public ::testing::Test {
protected:
    void TearDown() override { SetInstallDir(std::nullopt); }

    static void SetInstallDir(const std::optional<std::string>& dir) {
        platform::TRegistry machine(platform::RootKey::LocalMachine);
        if (!dir) {
            machine.DeleteKey(kVlcInstallKey);
            return;
        }
        ASSERT_TRUE(machine.OpenKey(kVlcInstallKey, true));
        ASSERT_TRUE(machine.WriteString(kVlcInstallDirValue, *dir));
    }

    static int Bound(const TInstallerVlcLib& lib) {
        int bound = 0;
#define HOLLARIN_COUNT(name) bound += lib.Functions().name != nullptr ? 1 : 0;
        HOLLARIN_VLC_ENTRY_POINTS(HOLLARIN_COUNT)
#undef HOLLARIN_COUNT
        return bound;
    }

    fw_test::TempDir temp;
};

TEST_F(InstallerVlcLibTest, FolderWithLibvlcIsAcceptedButLoadingNeedsLibvlccoreFirst) {
    TInstallerVlcLib lib(kNoSystemVlc);
    const std::string folder = FillFakeVlcFolder(temp / "only_libvlc", FakeVlc::Full, /*withCore=*/false);
    lib.SetVlcLibPath(folder);
    EXPECT_EQ(lib.VlcLibPath(), folder);
    EXPECT_TRUE(lib.VlcLibPathExists());
    EXPECT_EQ(lib.LoadVlcLibraries(), engine::kVlcErrorLibrary);
    EXPECT_EQ(lib.LoadVlcFunctions(), engine::kVlcErrorLibrary);
    EXPECT_EQ(lib.LastError(), engine::kVlcErrorLibrary);
    EXPECT_FALSE(lib.LibrariesLoaded());
    EXPECT_EQ(Bound(lib), 0);
    EXPECT_EQ(lib.GetLibVlcVersion(), "");
}

TEST_F(InstallerVlcLibTest, CompleteFolderResolvesThe19EntryPoints) {
    EXPECT_EQ(TInstallerVlcLib::EntryPointNames().size(), 19u);
    TInstallerVlcLib lib(kNoSystemVlc);
    // The fake without libvlc_vlm_pause_media lacks one of Framewick's 35, none of the installer's 19.
    lib.SetVlcLibPath(FillFakeVlcFolder(temp / "old", FakeVlc::WithoutPauseMedia));
    ASSERT_EQ(lib.LoadVlcFunctions(), 0);
    EXPECT_TRUE(lib.FunctionsLoaded());
    EXPECT_EQ(Bound(lib), 19);
    EXPECT_EQ(lib.GetLibVlcVersion(), "2.1.5 Old");
    for (const char* name : TInstallerVlcLib::EntryPointNames()) {
        void* address = nullptr;
        EXPECT_EQ(lib.GetVlcProcAddress(name, &address), 0) << name;
        EXPECT_NE(address, nullptr) << name;
    }
    void* missing = reinterpret_cast<void*>(1);
    EXPECT_EQ(lib.GetVlcProcAddress("libvlc_no_such_call", &missing), engine::kVlcErrorEntryPoint);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(lib.LastError(), engine::kVlcErrorEntryPoint);
}

TEST_F(InstallerVlcLibTest, LibraryWithoutTheEntryPointsLoadsButReportsTheMissingOnes) {
    TInstallerVlcLib lib(kNoSystemVlc);
    const fs::path folder = temp / "hollow";
    FillFakeVlcFolder(folder, FakeVlc::Full);
    // libvlccore's fake under libvlc's name: a loadable library that exports none of the calls.
    fs::copy_file(folder / engine::kVlcCoreLibraryFile, folder / engine::kVlcLibraryFile, fs::copy_options::overwrite_existing);
    lib.SetVlcLibPath(folder.string());
    EXPECT_EQ(lib.LoadVlcFunctions(), engine::kVlcErrorEntryPoint);
    EXPECT_TRUE(lib.LibrariesLoaded());
    EXPECT_TRUE(lib.FunctionsLoaded());
    EXPECT_EQ(Bound(lib), 0);
    EXPECT_EQ(lib.GetLibVlcVersion(), "");
    // A later successful load clears the error again.
    lib.UnloadVlcLibraries();
    lib.SetVlcLibPath(FillFakeVlcFolder(temp / "full", FakeVlc::Full));
    EXPECT_EQ(lib.LoadVlcFunctions(), 0);
    EXPECT_EQ(lib.LastError(), 0);
}

TEST_F(InstallerVlcLibTest, UnloadingLetsTheNextLoadTakeTheNewFiles) {
    TInstallerVlcLib lib(kNoSystemVlc);
    const fs::path folder = temp / "LIB_VLC";
    lib.SetVlcLibPath(FillFakeVlcFolder(folder, FakeVlc::WithoutPauseMedia));
    ASSERT_EQ(lib.LoadVlcFunctions(), 0);
    EXPECT_EQ(lib.GetLibVlcVersion(), "2.1.5 Old");
    // While loaded, another folder changes nothing: libvlc stays the loaded one.
    lib.SetVlcLibPath(FillFakeVlcFolder(temp / "other", FakeVlc::Full));
    EXPECT_EQ(lib.LoadVlcFunctions(), 0);
    EXPECT_EQ(lib.GetLibVlcVersion(), "2.1.5 Old");

    lib.UnloadVlcLibraries();
    EXPECT_FALSE(lib.LibrariesLoaded());
    EXPECT_FALSE(lib.FunctionsLoaded());
    EXPECT_EQ(Bound(lib), 0);
    EXPECT_EQ(lib.GetLibVlcVersion(), "");
    // The same folder with new files, as after an install.
    fs::remove_all(folder);
    lib.SetVlcLibPath(FillFakeVlcFolder(folder, FakeVlc::Full));
    ASSERT_EQ(lib.LoadVlcFunctions(), 0);
    EXPECT_EQ(lib.GetLibVlcVersion(), "3.0.24 Fake");
}

TEST_F(InstallerVlcLibTest, FolderWithoutLibvlcFallsBackToTheRegistrysInstallDir) {
    const std::string installed = FillFakeVlcFolder(temp / "VLC", FakeVlc::Full);
    const std::string plain = (temp / "VLC").string();
    const struct {
        std::string stored;
        const char* why;
    } cases[] = {{plain, "without a trailing separator"},
                 {plain + "/", "with one"},
                 {plain + std::string(1, '\0'), "with its terminating NUL stored"},
                 {plain + "/" + std::string(1, '\0'), "with separator and NUL"}};
    for (const auto& c : cases) {
        SetInstallDir(c.stored);
        TInstallerVlcLib lib(kNoSystemVlc);
        lib.SetVlcLibPath((temp / "empty_target").string());
        EXPECT_EQ(lib.VlcLibPath(), "");
        EXPECT_TRUE(lib.VlcLibPathExists()) << c.why;
        EXPECT_EQ(lib.VlcLibPath(), installed) << c.why;
        EXPECT_EQ(lib.LoadVlcFunctions(), 0) << c.why;
        EXPECT_EQ(lib.GetLibVlcVersion(), "3.0.24 Fake");
    }
    // An InstallDir without libvlc is taken too; loading from it then fails.
    SetInstallDir((temp / "no_vlc_here").string());
    TInstallerVlcLib lib(kNoSystemVlc);
    EXPECT_TRUE(lib.VlcLibPathExists());
    EXPECT_EQ(lib.LoadVlcFunctions(), engine::kVlcErrorLibrary);
    // An empty InstallDir counts as none.
    SetInstallDir("");
    TInstallerVlcLib none(kNoSystemVlc);
    EXPECT_FALSE(none.VlcLibPathExists());
    EXPECT_EQ(none.LoadVlcFunctions(), engine::kVlcErrorLibrary);
}

TEST_F(InstallerVlcLibTest, WithoutRegistryTheSystemsLibVlcIsTheInstalledVlc) {
    // A system library folder holds both libraries and vlc/plugins beside them.
    const fs::path system = temp / "usr_lib";
    FillFakeVlcFolder(system, FakeVlc::WithoutPauseMedia);
    fs::create_directories(system / "vlc" / "plugins");
    TInstallerVlcLib lib({(temp / "nothing").string(), system.string()});
    lib.SetVlcLibPath("");
    EXPECT_TRUE(lib.VlcLibPathExists());
    EXPECT_EQ(lib.VlcLibPath(), system.string() + "/");
    const TVlcProbe probe = ProbeVlcLibrary(lib, (temp / "target").string(), "2.1.5");
    EXPECT_TRUE(probe.Loaded);
    EXPECT_TRUE(probe.Version.Ok);
    EXPECT_EQ(probe.Version.VersionText, "2.1.5 ");
}

TEST_F(InstallerVlcLibTest, ProbeDeletesTheUnwantedPluginsOfTheLoadedFolderOnly) {
    TInstallerVlcLib lib(kNoSystemVlc);
    const fs::path folder = temp / "LIB_VLC";
    FillFakeVlcFolder(folder, FakeVlc::Full);
    fs::create_directories(folder / "plugins" / "codec");
    for (const char* name : {"liblua_plugin.so", "libfluidsynth_plugin.so", "libkeep_plugin.so"})
        fw_test::WriteFile(folder / "plugins" / name, "x");
    fw_test::WriteFile(folder / "plugins" / "codec" / "liblua_plugin.so", "x");

    TVlcProbe probe = ProbeVlcLibrary(lib, folder.string(), "2.1.5");
    EXPECT_TRUE(probe.Loaded);
    EXPECT_FALSE(probe.Version.Ok);
    EXPECT_EQ(probe.Version.VersionText, "3.0.24 ");
    EXPECT_EQ(installer_test::FilesBelow(folder / "plugins"),
              (std::vector<std::string>{"codec/liblua_plugin.so", "libkeep_plugin.so"}));

    // A failed load deletes nothing.
    TInstallerVlcLib other(kNoSystemVlc);
    const fs::path broken = temp / "broken";
    FillFakeVlcFolder(broken, FakeVlc::Full, /*withCore=*/false);
    fs::create_directories(broken / "plugins");
    fw_test::WriteFile(broken / "plugins" / "liblua_plugin.so", "x");
    probe = ProbeVlcLibrary(other, broken.string(), "3.0");
    EXPECT_FALSE(probe.Loaded);
    EXPECT_TRUE(fs::exists(broken / "plugins" / "liblua_plugin.so"));
}

TEST_F(InstallerVlcLibTest, EmptyFolderNameDeletesNothingBelowTheCurrentFolder) {
    const fs::path work = temp / "cwd";
    fs::create_directories(work / "plugins");
    fw_test::WriteFile(work / "plugins" / "liblua_plugin.so", "x");
    const fs::path saved = fs::current_path();
    fs::current_path(work);
    DeletePluginFiles("");
    fs::current_path(saved);
    EXPECT_TRUE(fs::exists(work / "plugins" / "liblua_plugin.so"));
}

TEST_F(InstallerVlcLibTest, EmptyTargetOnAMachineWithVlcLoadsTheSystemsLibVlc) {
    if (!engine::FindInstalledVlc()) GTEST_SKIP() << "no system libVLC (libvlc5) installed";
    TInstallerVlcLib lib;
    const TVlcProbe probe = ProbeVlcLibrary(lib, (temp / "new_target").string(), "3.0");
    ASSERT_TRUE(probe.Loaded);
    EXPECT_TRUE(probe.Version.Ok) << probe.Version.VersionText;
    EXPECT_EQ(lib.VlcLibPath(), engine::FindInstalledVlc()->LibraryFolder);
    EXPECT_EQ(lib.GetLibVlcVersion().rfind(probe.Version.VersionText, 0), 0u);
    lib.UnloadVlcLibraries();
    EXPECT_FALSE(lib.LibrariesLoaded());
}

}  // namespace
