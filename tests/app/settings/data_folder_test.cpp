#include "app/settings/data_folder.h"

#include <gtest/gtest.h>

#include "engine/util/path_utils.h"
#include "platform/registry/registry.h"
#include "tests/support/test_env.h"

namespace {

TEST(DataFolder, RulesInOrder) {
    fw_test::TempDir userData;
    const std::string user = userData.path().string();
    struct Case {
        const char* Name;
        app::TDataFolderInputs In;
        std::string Expected;
    } cases[] = {
        {"RootAppPath", {"9", "framewick", "/usr/bin/framewick", {"/usr/", "/opt/"}, user, "/data/D", 2},
         "/data/D/Framewick/Inst2/"},
        {"RootAppPath with slash", {"9", "framewick", "/usr/bin/framewick", {"/usr/", "/opt/"}, user, "/data/D/", 0},
         "/data/D/Framewick/Inst0/"},
        {"outside program files", {"9", "framewick", "/home/u/Tools/framewick", {"/usr/", "/opt/"}, user, "", 0},
         "/home/u/Tools/"},
        {"no version ignores RootAppPath", {"", "framewick", "/home/u/Tools/framewick", {"/usr/", "/opt/"}, user, "/data/D", 0},
         "/home/u/Tools/"},
        {"below program files", {"9", "framewick", "/usr/bin/framewick", {"/usr/", "/opt/"}, user, "", 0},
         user + "/Quillmar/Framewick/v9/"},
        {"case ignored", {"9", "framewick", "/OPT/fw/framewick", {"/usr/", "/opt/"}, user, "", 0},
         user + "/Quillmar/Framewick/v9/"},
        {"no user data folder", {"9", "framewick", "/opt/fw/framewick", {"/usr/", "/opt/"}, user + "/missing", "", 0}, ""},
        {"no version", {"", "framewick", "/opt/fw/framewick", {"/usr/", "/opt/"}, user, "", 0}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(app::ComputeDataFolder(c.In), c.Expected) << c.Name;
    EXPECT_TRUE(std::filesystem::is_directory(userData / "Quillmar/Framewick/v9"));
}

TEST(DataFolder, ThisProgramKeepsItsDataBesideItself) {
    // The test program is built outside /usr and /opt and no RootAppPath is set.
    EXPECT_EQ(app::GetDataFolder(), engine::ProgramFolder());
}

TEST(DataFolder, RootAppPathFromTheMachineKey) {
    platform::TRegistry reg(platform::RootKey::LocalMachine);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Framewick", true));
    ASSERT_TRUE(reg.WriteString("RootAppPath", "/srv/fwdata"));
    EXPECT_EQ(app::ComputeDataFolder(app::CurrentDataFolderInputs()), "/srv/fwdata/Framewick/Inst0/");
    reg.DeleteKey("SOFTWARE\\Framewick");
}

TEST(InstallFolder, RootValueElseTheProgramFolder) {
    EXPECT_EQ(app::GetInstallFolder(), engine::ProgramFolder());
    platform::TRegistry reg(platform::RootKey::LocalMachine);
    ASSERT_TRUE(reg.OpenKey(std::string("SOFTWARE\\Quillmar\\Hollarin\\v9\\") + app::kInstallEditionKey, true));
    reg.WriteString("Root", "/opt/hollarin/");
    ASSERT_TRUE(reg.OpenKey(std::string("SOFTWARE\\Quillmar\\Framewick\\v9\\") + app::kInstallEditionKey, true));
    reg.WriteString("Root", "/opt/framewick");
    EXPECT_EQ(app::ReadInstallRoot(engine::ProgramFilePath(), "Hollarin"), "/opt/hollarin/");
    EXPECT_EQ(app::ReadInstallRoot("/bin/sh", "Hollarin"), "");  // no version block: no major version
    EXPECT_EQ(app::GetInstallFolder(), "/opt/framewick/");
    reg.WriteString("Root", "/elsewhere/");
    EXPECT_EQ(app::ReadInstallRoot(engine::ProgramFilePath(), "Framewick"), "/opt/framewick");  // kept from before
}

TEST(VlcInstallDir, MachineThenUserThenTheSystemLibrary) {
    fw_test::TempDir vlc, system;
    platform::TRegistry machine(platform::RootKey::LocalMachine), user(platform::RootKey::CurrentUser);
    ASSERT_TRUE(machine.OpenKey("\\SOFTWARE\\VideoLAN\\VLC", true));
    machine.WriteString("InstallDir", (vlc / "gone").string());  // a folder that does not exist
    ASSERT_TRUE(user.OpenKey("\\SOFTWARE\\VideoLAN\\VLC", true));
    user.WriteString("InstallDir", vlc.path().string());

    app::TVlcInstall found = app::ReadVlcInstallDir({});
    EXPECT_TRUE(found.Found);
    EXPECT_EQ(found.Dir, vlc.path().string() + "/");
    EXPECT_EQ(app::VlcInstall().Dir, found.Dir);

    user.DeleteValue("InstallDir");
    EXPECT_FALSE(app::ReadVlcInstallDir({system.path().string()}).Found);
    fw_test::WriteFile(system / "libvlc.so.5", "elf");
    std::filesystem::create_directories(system / "vlc/plugins");
    found = app::ReadVlcInstallDir({(system / "missing").string(), system.path().string()});
    EXPECT_TRUE(found.Found);
    EXPECT_EQ(found.Dir, system.path().string() + "/");
    machine.DeleteKey("\\SOFTWARE\\VideoLAN");
    user.DeleteKey("\\SOFTWARE\\VideoLAN");
}

}  // namespace
