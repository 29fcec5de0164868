// Shared main of every test program: a private scratch folder holds this program's registry hives, XDG
// folders and temporary folder, so test programs run side by side without touching the user's files or
// each other's.
// A program that asked for a network of its own (own_network.h) enters it before anything else runs.
// A program whose checks all passed but some were skipped ends with kSkippedExitCode, which the
// suite counts as skipped, and writes each skip with its reason into $FW_TEST_SKIP_REPORT when set.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/own_network.h"
#include "tests/support/test_env.h"

namespace fw_test {
namespace {
std::filesystem::path g_scratch;
}
const std::filesystem::path& ScratchRoot() { return g_scratch; }
}  // namespace fw_test

namespace {

constexpr int kSkippedExitCode = FW_TEST_SKIPPED_EXIT_CODE;

// Stands in front of every test when the program cannot have what all its tests need.
class TSkipEveryTest : public ::testing::Environment {
public:
    explicit TSkipEveryTest(std::string reason) : reason_(std::move(reason)) {}
    void SetUp() override { GTEST_SKIP() << reason_; }

private:
    std::string reason_;
};

// Every skip of this program: "program: test: reason", one line each.
class TSkipRecord : public ::testing::EmptyTestEventListener {
public:
    explicit TSkipRecord(std::string program) : program_(std::move(program)) {}
    bool Any() const { return !lines_.empty(); }

    // gtest reports a result while it holds its own lock: the test's name is kept from its start.
    void OnTestStart(const ::testing::TestInfo& test) override {
        test_ = std::string(test.test_suite_name()) + "." + test.name();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { test_ = "every test"; }
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (!result.skipped()) return;
        std::string reason = result.message();
        reason = reason.substr(0, reason.find('\n'));
        lines_ += program_ + ": " + test_ + ": " + (reason.empty() ? "(no reason given)" : reason) + "\n";
    }

    // One write, so that the lines of programs ending at the same time do not mix.
    void AppendTo(const char* file) const {
        const int fd = ::open(file, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) return;
        [[maybe_unused]] const ssize_t written = ::write(fd, lines_.data(), lines_.size());
        ::close(fd);
    }

private:
    std::string program_;
    std::string test_ = "every test";
    std::string lines_;
};

}  // namespace

int main(int argc, char** argv) {
    // First, while this is the only thread.
    const std::string noOwnNetwork = fw_test::OwnNetworkAsked() ? fw_test::EnterOwnNetwork() : std::string();
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
    set("TMPDIR", fw_test::g_scratch / "tmp");  // local sockets by name (the main window's pipe) are the program's own
    std::filesystem::permissions(fw_test::g_scratch / "runtime", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);

    ::testing::InitGoogleTest(&argc, argv);
    if (!noOwnNetwork.empty())
        ::testing::AddGlobalTestEnvironment(new TSkipEveryTest("no network namespace of its own: " + noOwnNetwork));
    auto* skips = new TSkipRecord(std::filesystem::path(argv[0]).filename().string());
    ::testing::UnitTest::GetInstance()->listeners().Append(skips);  // gtest owns it
    int rc = RUN_ALL_TESTS();
    if (rc == 0 && skips->Any()) {
        rc = kSkippedExitCode;
        if (const char* report = ::getenv("FW_TEST_SKIP_REPORT")) skips->AppendTo(report);
    }
    if (!::getenv("FW_KEEP_TEST_DIRS")) {
        std::error_code ec;
        std::filesystem::remove_all(fw_test::g_scratch, ec);
    }
    return rc;
}
