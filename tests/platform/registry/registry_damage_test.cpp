// A hand-damaged hive file reads as empty, is left untouched by readers, and is kept aside (byte for
// byte) by the first write, which then starts a fresh hive.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "platform/registry/registry.h"
#include "tests/platform/registry/registry_fixture.h"
#include "tests/support/unprivileged.h"

using platform::RootKey;
using platform::TRegistry;

namespace {

std::vector<std::filesystem::path> DamagedCopies(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("user.reg.damaged-")) copies.push_back(entry.path());
    return copies;
}

}  // namespace

using RegistryDamage = FreshRegistry;

TEST_F(RegistryDamage, DamagedHiveReadsEmptyAndIsKeptAsideByTheNextWrite) {
    const struct {
        const char* what;
        std::function<std::string(const std::string&)> damage;
    } cases[] = {
        {"truncated", [](const std::string& s) { return s.substr(0, s.size() / 3); }},
        {"garbage in the middle", [](const std::string& s) { return s.substr(0, 40) + "\x01\x02 \xff junk" + s.substr(40); }},
        {"zero bytes", [](const std::string&) { return std::string(); }},
        {"other file", [](const std::string&) { return std::string("<?xml version=\"1.0\"?><root/>"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(userFolder);
        {
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKey("Software\\Keep", true));
            ASSERT_TRUE(reg.WriteString("Value", "stored"));
            ASSERT_TRUE(reg.WriteInteger("Number", 5));
        }
        const std::string damaged = c.damage(fw_test::ReadFile(UserHive()));
        fw_test::WriteFile(UserHive(), damaged);

        TRegistry reader;
        EXPECT_FALSE(reader.KeyExists("Software\\Keep"));
        EXPECT_FALSE(reader.OpenKeyReadOnly("Software\\Keep"));
        EXPECT_FALSE(reader.OpenKey("Software\\Keep", false));
        EXPECT_EQ(fw_test::ReadFile(UserHive()), damaged);
        EXPECT_TRUE(DamagedCopies(userFolder).empty());

        TRegistry writer;
        ASSERT_TRUE(writer.OpenKey("Software\\New", true));
        ASSERT_TRUE(writer.WriteString("After", "damage"));
        auto copies = DamagedCopies(userFolder);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(fw_test::ReadFile(copies[0]), damaged);
        ASSERT_TRUE(reader.OpenKeyReadOnly("Software\\New"));
        EXPECT_EQ(reader.ReadString("After"), "damage");
        EXPECT_FALSE(reader.KeyExists("Software\\Keep"));
    }
}

TEST_F(RegistryDamage, SecondDamageKeepsTheFirstCopyToo) {
    TRegistry reg;
    for (const char* junk : {"first junk", "second junk"}) {
        std::filesystem::create_directories(userFolder);
        fw_test::WriteFile(UserHive(), junk);
        ASSERT_TRUE(reg.OpenKey("Software\\X", true));
        ASSERT_TRUE(reg.WriteInteger("n", 1));
    }
    auto copies = DamagedCopies(userFolder);
    ASSERT_EQ(copies.size(), 2u);
    std::set<std::string> contents;
    for (const auto& copy : copies) contents.insert(fw_test::ReadFile(copy));
    EXPECT_EQ(contents, (std::set<std::string>{"first junk", "second junk"}));
}

TEST_F(RegistryDamage, HiveThatIsNoFileIsNeverReplaced) {
    std::filesystem::create_directories(UserHive() / "inside");
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Keep", true));
    EXPECT_TRUE(std::filesystem::exists(UserHive() / "inside"));
}

// As the unprivileged child meets a hive it may not read (root reads every file): what went wrong, or
// "kept".
TEST_F(RegistryDamage, UnreadableHiveIsNeverReplaced) {
    const fw_test::UnprivilegedTempDir dir;
    const std::filesystem::path hive = dir / "hkcu" / "user.reg";
    const std::string answer =
        fw_test::RunUnprivileged([&] {
            ::setenv("FRAMEWICK_REGISTRY_HKCU", (dir / "hkcu").c_str(), 1);
            TRegistry reg;
            if (!reg.OpenKey("Software\\Keep", true) || !reg.WriteString("Value", "stored"))
                return std::string("nothing stored");
            const std::string before = fw_test::ReadFile(hive);
            if (::chmod(hive.c_str(), 0) != 0) return std::string("no chmod");
            std::string faults;
            if (reg.WriteString("Value", "replaced")) faults += "written over; ";
            if (reg.KeyExists("Software\\Keep")) faults += "read; ";
            ::chmod(hive.c_str(), 0600);
            if (fw_test::ReadFile(hive) != before) faults += "replaced; ";
            if (reg.ReadString("Value") != "stored") faults += "value lost; ";
            return faults.empty() ? std::string("kept") : faults;
        }).value_or("the child did not run");
    EXPECT_EQ(answer, "kept");
}

TEST_F(RegistryDamage, LeftoverTempFileOfAKilledWriterIsIgnored) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Keep", true));
    ASSERT_TRUE(reg.WriteString("Value", "stored"));
    const std::string whole = fw_test::ReadFile(UserHive());
    fw_test::WriteFile(userFolder / "user.reg.tmp", whole.substr(0, whole.size() / 2));
    EXPECT_EQ(reg.ReadString("Value"), "stored");
    ASSERT_TRUE(reg.WriteString("Value", "changed"));
    EXPECT_EQ(reg.ReadString("Value"), "changed");
    EXPECT_FALSE(std::filesystem::exists(userFolder / "user.reg.tmp"));
}
