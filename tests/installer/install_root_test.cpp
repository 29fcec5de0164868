// The installer's install root in the local machine's registry and the help folder below it.
#include <gtest/gtest.h>

#include "engine/util/path_utils.h"
#include "installer/InstallerRegistry.h"
#include "platform/registry/registry.h"

namespace {

using namespace hollarin;

void WriteRoot(const std::string& key, const std::string& root) {
    platform::TRegistry registry(platform::RootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(key, true));
    ASSERT_TRUE(registry.WriteString(kInstallRootValue, root));
}

void DeleteRootKeys() {
    platform::TRegistry registry(platform::RootKey::LocalMachine);
    registry.DeleteKey(std::string(kMakerKeyPrefix) + GetMajorVersion());
    registry.DeleteKey(kMakerKeyPrefix);
}

TEST(InstallRootTest, ReadFromTheKeyOfTheProgramsMajorVersion) {
    ASSERT_FALSE(GetMajorVersion().empty());
    const std::string ownKey = std::string(kMakerKeyPrefix) + GetMajorVersion();
    DeleteRootKeys();
    EXPECT_EQ(ReadInstallRoot(engine::ProgramFilePath()), "") << "no key";
    WriteRoot(ownKey, "/opt/morvalt");
    WriteRoot(kMakerKeyPrefix, "/opt/unversioned");
    EXPECT_EQ(ReadInstallRoot(engine::ProgramFilePath()), "/opt/morvalt");
    // Another file has no version block here: the key without a major.
    EXPECT_EQ(ReadInstallRoot("/usr/bin/true"), "/opt/unversioned");

    // The help folder, formed once, below the root of the program's own key.
    EXPECT_EQ(HelpDir(), "/opt/morvalt/Help/");
    WriteRoot(ownKey, "/elsewhere/");
    EXPECT_EQ(HelpDir(), "/opt/morvalt/Help/") << "the help folder is formed once";
    DeleteRootKeys();
}

}  // namespace
