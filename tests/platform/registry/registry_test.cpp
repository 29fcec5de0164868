#include <gtest/gtest.h>

#include <thread>

#include "platform/registry/registry.h"
#include "tests/platform/registry/registry_fixture.h"

using platform::RegValueType;
using platform::RootKey;
using platform::TRegistry;

namespace {

std::string AllBytes() {
    std::string s;
    for (int c = 0; c < 256; ++c) s += static_cast<char>(c);
    return s;
}

}  // namespace

using RegistryTest = FreshRegistry;

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile) {
    const std::vector<uint8_t> blob = {0, 1, 0x7f, 0x80, 0xff, '%', '"', '\n'};
    {
        TRegistry reg(RootKey::CurrentUser);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Pellorin\\Morvalt\\v9", true));
        EXPECT_EQ(reg.CurrentPath(), "Software\\Pellorin\\Morvalt\\v9");
        EXPECT_TRUE(reg.WriteString("Root", "C:\\Program Files\\Framewick\\"));
        EXPECT_TRUE(reg.WriteString("Every byte", AllBytes()));
        EXPECT_TRUE(reg.WriteString("Empty", ""));
        EXPECT_TRUE(reg.WriteString("", "the default value"));
        EXPECT_TRUE(reg.WriteString("name with \"quotes\" and %25 and \n", "odd name"));
        EXPECT_TRUE(reg.WriteInteger("Min", INT32_MIN));
        EXPECT_TRUE(reg.WriteInteger("Max", INT32_MAX));
        EXPECT_TRUE(reg.WriteBool("Flag", true));
        EXPECT_TRUE(reg.WriteBinary("Blob", blob));
        EXPECT_TRUE(reg.WriteBinary("NoBytes", {}));
    }
    TRegistry reg(RootKey::CurrentUser);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Pellorin\\Morvalt\\v9"));
    EXPECT_EQ(reg.ReadString("Root"), "C:\\Program Files\\Framewick\\");
    EXPECT_EQ(reg.ReadString("Every byte"), AllBytes());
    EXPECT_EQ(reg.ReadString("Empty"), "");
    EXPECT_EQ(reg.ReadString(""), "the default value");
    EXPECT_EQ(reg.ReadString("name with \"quotes\" and %25 and \n"), "odd name");
    EXPECT_EQ(reg.ReadInteger("Min"), INT32_MIN);
    EXPECT_EQ(reg.ReadInteger("Max"), INT32_MAX);
    EXPECT_EQ(reg.ReadBool("Flag"), true);
    EXPECT_EQ(reg.ReadInteger("Flag"), 1);
    EXPECT_EQ(reg.ReadBinary("Blob"), blob);
    EXPECT_EQ(reg.ReadBinary("NoBytes"), std::vector<uint8_t>{});
    EXPECT_EQ(reg.GetValueType("Blob"), RegValueType::Binary);
    EXPECT_EQ(reg.GetValueType("Min"), RegValueType::Integer);
    EXPECT_EQ(reg.GetValueType("Root"), RegValueType::String);
    // The file is text a person can read.
    std::string file = fw_test::ReadFile(UserHive());
    EXPECT_NE(file.find("str \"Root\" \"C:\\Program Files\\Framewick\\\""), std::string::npos) << file;
}

TEST_F(RegistryTest, ValueOfAnotherTypeReadsAsMissing) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\T", true));
    ASSERT_TRUE(reg.WriteString("Port", "1234"));
    ASSERT_TRUE(reg.WriteInteger("Count", 0));
    EXPECT_EQ(reg.ReadInteger("Port"), std::nullopt);
    EXPECT_EQ(reg.ReadBool("Port"), std::nullopt);
    EXPECT_EQ(reg.ReadBinary("Port"), std::nullopt);
    EXPECT_EQ(reg.ReadString("Count"), std::nullopt);
    EXPECT_EQ(reg.ReadBool("Count"), false);
    EXPECT_EQ(reg.ReadString("Nothing"), std::nullopt);
    EXPECT_FALSE(reg.ValueExists("Nothing"));
    // Writing another type replaces the value.
    ASSERT_TRUE(reg.WriteInteger("Port", 1234));
    EXPECT_EQ(reg.ReadInteger("Port"), 1234);
    EXPECT_EQ(reg.ReadString("Port"), std::nullopt);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstCase) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\MixedCase", true));
    ASSERT_TRUE(reg.WriteInteger("IpPort", 1));
    ASSERT_TRUE(reg.WriteInteger("IPPORT", 2));
    EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{"IpPort"});
    EXPECT_EQ(reg.ReadInteger("ipport"), 2);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\mixedcase\\Sub", true));
    EXPECT_TRUE(reg.KeyExists("software\\MIXEDCASE\\sub"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("software"));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"MixedCase"});
}

TEST_F(RegistryTest, EnumerationIsSortedAndDeleteKeyTakesTheSubTree) {
    TRegistry reg;
    for (const char* key : {"Software\\App\\zeta", "Software\\App\\Alpha\\Deep\\Deeper", "Software\\App\\beta"})
        ASSERT_TRUE(reg.OpenKey(key, true));
    ASSERT_TRUE(reg.OpenKey("Software\\App", false));
    ASSERT_TRUE(reg.WriteString("b", "2"));
    ASSERT_TRUE(reg.WriteString("A", "1"));
    ASSERT_TRUE(reg.WriteString("c", "3"));
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"A", "b", "c"}));

    EXPECT_TRUE(reg.DeleteKey("Software\\App\\Alpha"));
    EXPECT_FALSE(reg.KeyExists("Software\\App\\Alpha\\Deep"));
    EXPECT_FALSE(reg.DeleteKey("Software\\App\\Alpha"));
    EXPECT_FALSE(reg.DeleteKey("\\"));  // the root stays
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"beta", "zeta"}));

    EXPECT_TRUE(reg.DeleteValue("b"));
    EXPECT_FALSE(reg.DeleteValue("b"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"A", "c"}));
}

TEST_F(RegistryTest, ReadersNeverCreateKeysOrFiles) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Missing", false));
    EXPECT_FALSE(reg.HasOpenKey());
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Missing"));
    EXPECT_FALSE(reg.KeyExists("Software\\Missing"));
    EXPECT_EQ(reg.ReadString("x"), std::nullopt);  // no open key
    EXPECT_FALSE(reg.WriteString("x", "y"));       // no open key
    EXPECT_TRUE(reg.GetKeyNames().empty());
    EXPECT_FALSE(std::filesystem::exists(userFolder));

    ASSERT_TRUE(reg.OpenKey("Software\\Present", true));
    ASSERT_TRUE(reg.WriteString("v", "1"));
    std::string before = fw_test::ReadFile(UserHive());
    TRegistry reader;
    EXPECT_FALSE(reader.OpenKey("Software\\Present\\Child", false));
    ASSERT_TRUE(reader.OpenKeyReadOnly("Software\\Present"));
    EXPECT_FALSE(reader.WriteString("v", "2"));
    EXPECT_FALSE(reader.DeleteValue("v"));
    EXPECT_EQ(fw_test::ReadFile(UserHive()), before);
}

TEST_F(RegistryTest, EmptyKeysSurviveAndRootsAreSeparate) {
    TRegistry user(RootKey::CurrentUser);
    ASSERT_TRUE(user.OpenKey("Software\\Empty", true));
    TRegistry machine(RootKey::LocalMachine);
    EXPECT_FALSE(machine.KeyExists("Software\\Empty"));
    ASSERT_TRUE(machine.OpenKey("SOFTWARE\\Pellorin\\Morvalt\\v9", true));
    ASSERT_TRUE(machine.WriteString("Root", "/opt/framewick/"));
    EXPECT_TRUE(std::filesystem::exists(MachineHive()));
    EXPECT_TRUE(TRegistry(RootKey::CurrentUser).KeyExists("Software\\Empty"));
    EXPECT_FALSE(TRegistry(RootKey::CurrentUser).KeyExists("SOFTWARE\\Pellorin"));
    // Changing the root closes the open key.
    machine.SetRootKey(RootKey::CurrentUser);
    EXPECT_FALSE(machine.HasOpenKey());
}

TEST_F(RegistryTest, ClassesRootReadsUserThenMachineAndWritesUser) {
    TRegistry machine(RootKey::LocalMachine);
    ASSERT_TRUE(machine.OpenKey("Software\\Classes\\CLSID\\{A}", true));
    ASSERT_TRUE(machine.WriteString("", "machine name"));
    ASSERT_TRUE(machine.WriteString("OnlyMachine", "m"));
    ASSERT_TRUE(machine.OpenKey("Software\\Classes\\CLSID\\{M}", true));
    TRegistry user(RootKey::CurrentUser);
    ASSERT_TRUE(user.OpenKey("Software\\Classes\\CLSID\\{A}", true));
    ASSERT_TRUE(user.WriteString("", "user name"));
    ASSERT_TRUE(user.OpenKey("Software\\Classes\\CLSID\\{U}", true));

    TRegistry classes(RootKey::ClassesRoot);
    ASSERT_TRUE(classes.OpenKeyReadOnly("CLSID\\{A}"));
    EXPECT_EQ(classes.ReadString(""), "user name");
    EXPECT_EQ(classes.ReadString("OnlyMachine"), "m");
    EXPECT_EQ(classes.GetValueNames(), (std::vector<std::string>{"", "OnlyMachine"}));
    ASSERT_TRUE(classes.OpenKeyReadOnly("CLSID"));
    EXPECT_EQ(classes.GetKeyNames(), (std::vector<std::string>{"{A}", "{M}", "{U}"}));

    // A key seen only in the machine's hive opens for writing; the write goes to the user's hive.
    ASSERT_TRUE(classes.OpenKey("CLSID\\{M}", false));
    ASSERT_TRUE(classes.WriteString("ThreadingModel", "Both"));
    ASSERT_TRUE(user.OpenKeyReadOnly("Software\\Classes\\CLSID\\{M}"));
    EXPECT_EQ(user.ReadString("ThreadingModel"), "Both");
    ASSERT_TRUE(machine.OpenKeyReadOnly("Software\\Classes\\CLSID\\{M}"));
    EXPECT_FALSE(machine.ValueExists("ThreadingModel"));

    EXPECT_TRUE(classes.DeleteKey("CLSID\\{U}"));
    EXPECT_FALSE(classes.KeyExists("CLSID\\{U}"));
    EXPECT_EQ(platform::RegistryHiveFolder(RootKey::ClassesRoot), userFolder.string());
}

TEST_F(RegistryTest, HiveFoldersFollowTheEnvironment) {
    EXPECT_EQ(platform::RegistryHiveFolder(RootKey::CurrentUser), userFolder.string());
    EXPECT_EQ(platform::RegistryHiveFolder(RootKey::LocalMachine), machineFolder.string());
    ::unsetenv("FRAMEWICK_REGISTRY_HKCU");
    ::unsetenv("FRAMEWICK_REGISTRY_HKLM");
    std::string config = ::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::RegistryHiveFolder(RootKey::CurrentUser), config + "/framewick/registry");
    EXPECT_EQ(platform::RegistryHiveFolder(RootKey::LocalMachine), "/var/lib/framewick/registry");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(platform::RegistryHiveFolder(RootKey::CurrentUser),
              std::string(::getenv("HOME")) + "/.config/framewick/registry");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

TEST_F(RegistryTest, WriteToAFolderThatCannotBeMadeFails) {
    fw_test::WriteFile(userFolder.parent_path() / "blocker", "a file, not a folder");
    ::setenv("FRAMEWICK_REGISTRY_HKCU", (userFolder.parent_path() / "blocker" / "hkcu").c_str(), 1);
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\X", true));
    EXPECT_FALSE(reg.HasOpenKey());
}

TEST_F(RegistryTest, ConcurrentWritersLoseNoValue) {
    constexpr int kThreads = 8;
    constexpr int kValuesPerThread = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            TRegistry reg;
            if (!reg.OpenKey("Software\\Shared\\T" + std::to_string(t % 2), true)) return;
            for (int i = 0; i < kValuesPerThread; ++i) reg.WriteInteger("v" + std::to_string(t) + "_" + std::to_string(i), i);
        });
    for (auto& th : threads) th.join();
    TRegistry reg;
    size_t total = 0;
    for (const char* key : {"Software\\Shared\\T0", "Software\\Shared\\T1"}) {
        ASSERT_TRUE(reg.OpenKeyReadOnly(key));
        total += reg.GetValueNames().size();
    }
    EXPECT_EQ(total, static_cast<size_t>(kThreads * kValuesPerThread));
}
