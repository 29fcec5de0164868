// The installed libVLC copied into a library folder and bound from there.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/util/vlc_version.h"
#include "engine/vlc/BoundVlcApi.h"
#include "engine/vlc/InstalledVlc.h"
#include "engine/vlc/VlcLib.h"
#include "tests/support/test_env.h"

namespace {

using namespace engine;

TEST(VlcSystemLibraryTest, FillsLibVlcFolderFromTheInstalledLibraryAndBindsAll35EntryPoints) {
    const auto installed = FindInstalledVlc();
    ASSERT_TRUE(installed) << "libvlc5 and vlc-plugin-base must be installed";
    fw_test::TempDir temp;
    const std::string libDir = (temp / kDefaultVlcLibFolderName).string() + "/";
    std::string error;
    ASSERT_TRUE(CopyInstalledVlc(*installed, libDir, &error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(libDir + "plugins/codec"));
    // A second fill over the first replaces what is there.
    ASSERT_TRUE(CopyInstalledVlc(*installed, libDir, &error)) << error;

    SetVlcLibPath(libDir);
    ASSERT_EQ(GetVlcLibPath(), libDir);
    ASSERT_EQ(LoadVlcFunctions(), 0);
    for (const char* name : VlcEntryPointNames()) {
        void* address = nullptr;
        EXPECT_EQ(GetVlcProcAddress(name, &address), 0) << name;
    }
    EXPECT_TRUE(IsVlcVersion(std::string(kRequiredVlcVersion))) << GetLibVlcVersion();
    EXPECT_EQ(getenv("VLC_PLUGIN_PATH"), libDir + "plugins");

    BoundVlcApi api;
    libvlc_instance_t* instance = api.NewInstance({"--ignore-config", "--quiet"});
    ASSERT_NE(instance, nullptr);
    // No broadcast was added: VLM calls fail without harm.
    EXPECT_EQ(api.MediaInstanceRate(instance, "none"), -1);
    api.ReleaseInstance(instance);
    // An option libVLC 3.0 on Linux does not know makes instance creation fail.
    EXPECT_EQ(api.NewInstance({"--screen-fragment-size=0"}), nullptr);
    EXPECT_EQ(api.PlayMedia(nullptr, "m"), -1);  // no VLM call without an instance
    // The library stays loaded to the end, so its own leftovers are reported under its name.
}

TEST(VlcSystemLibraryTest, NoInstalledLibraryInFoldersWithoutIt) {
    fw_test::TempDir temp;
    EXPECT_FALSE(FindInstalledVlc({temp.path().string()}));
}

}  // namespace
