// Shared main of every test program: a private scratch folder holds this program's registry hives and
// XDG folders, so test programs run side by side without touching the user's files or each other's.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/test_env.h"

namespace fw_test {
namespace {
std::filesystem::path g_scratch;
}
const std::filesystem::path& ScratchRoot() { return g_scratch; }
}  // namespace fw_test

int main(int argc, char** argv) {
    ::signal(SIGPIPE, SIG_IGN);
    std::string pattern = (std::filesystem::temp_directory_path() / "fwtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 2;
    fw_test::g_scratch = pattern;
    auto set = [](const char* name, const std::filesystem::path& p) {
        std::filesystem::create_directories(p);
        ::setenv(name, p.c_str(), 1);
    };
    set("FRAMEWICK_REGISTRY_HKCU", fw_test::g_scratch / "registry" / "hkcu");
    set("FRAMEWICK_REGISTRY_HKLM", fw_test::g_scratch / "registry" / "hklm");
    set("FRAMEWICK_LOCK_DIR", fw_test::g_scratch / "lock");
    set("XDG_CONFIG_HOME", fw_test::g_scratch / "config");
    set("XDG_DATA_HOME", fw_test::g_scratch / "data");
    set("XDG_RUNTIME_DIR", fw_test::g_scratch / "runtime");
    std::filesystem::permissions(fw_test::g_scratch / "runtime", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);

    ::testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    if (!::getenv("FW_KEEP_TEST_DIRS")) {
        std::error_code ec;
        std::filesystem::remove_all(fw_test::g_scratch, ec);
    }
    return rc;
}
