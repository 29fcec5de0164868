// Files the user keeps (settings, lists) are replaced whole or not at all, and never when the user made
// them read-only. The writes run in a child without root, for which file and folder modes count.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <optional>

#include "engine/util/atomic_file.h"
#include "tests/support/test_env.h"
#include "tests/support/unprivileged.h"

namespace {

namespace fs = std::filesystem;

constexpr rlim_t kFileSizeLimitBytes = 64;

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool HasTemporaryFiles(const fs::path& folder) {
    for (const auto& item : fs::directory_iterator(folder))
        if (item.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
}

// Writes bytes as the unprivileged child: "ok", or "failed: " + the error text.
std::string WriteAsChild(const fs::path& file, const std::string& bytes, rlim_t fileSizeLimit = RLIM_INFINITY) {
    return fw_test::RunUnprivileged([&] {
               if (fileSizeLimit != RLIM_INFINITY) {
                   std::signal(SIGXFSZ, SIG_IGN);  // writes past the limit then fail as on a full disk
                   const struct rlimit limit {fileSizeLimit, fileSizeLimit};
                   if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("no file size limit");
               }
               std::string error;
               return engine::WriteUserFileAtomic(file.string(), bytes, &error) ? std::string("ok")
                                                                                 : "failed: " + error;
           })
        .value_or("the child did not run");
}

TEST(UserFileAtomic, AFileThatMayNotBeWrittenStaysAsItWas) {
    const std::string oldBytes = "[General]\nLogDir=/old/\n";
    const std::string newBytes = "[General]\nLogDir=/" + std::string(4 * kFileSizeLimitBytes, 'n') + "/\n";
    const struct {
        const char* what;
        mode_t fileMode;
        mode_t folderMode;
        rlim_t fileSizeLimit;
        const char* errorPart;
    } cases[] = {
        {"no write bit at all", 0444, 0755, RLIM_INFINITY, "read-only"},
        {"only the group may write, not the owner", 0464, 0755, RLIM_INFINITY, "Permission denied"},
        {"the folder is read-only", 0644, 0555, RLIM_INFINITY, "/data/\" is read-only (Permission denied)"},
        {"the disk fills during the save", 0644, 0755, kFileSizeLimitBytes, "cannot write"},
    };
    for (const auto& c : cases) {
        fw_test::UnprivilegedTempDir dir;
        const fs::path folder = dir / "data";
        fs::create_directory(folder);
        const fs::path file = folder / "framewick.ini";
        fw_test::WriteFile(file, oldBytes);
        dir.GiveAway(folder);
        dir.GiveAway(file);
        ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);

        const std::string answer = WriteAsChild(file, newBytes, c.fileSizeLimit);
        EXPECT_EQ(answer.rfind("failed: ", 0), 0u) << c.what << ": " << answer;
        EXPECT_NE(answer.find(c.errorPart), std::string::npos) << c.what << ": " << answer;
        EXPECT_EQ(fw_test::ReadFile(file), oldBytes) << c.what;
        EXPECT_EQ(ModeOf(file), c.fileMode) << c.what;
        ::chmod(folder.c_str(), 0755);
        EXPECT_FALSE(HasTemporaryFiles(folder)) << c.what;
    }
}

// Root may write a file without write bits; the mark still holds for it.
TEST(UserFileAtomic, AFileWithoutWriteBitsStaysForThisProcessToo) {
    fw_test::TempDir dir;
    const fs::path file = dir / "splash.ini";
    fw_test::WriteFile(file, "[Splash]\nMonIdx=2\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(engine::WriteUserFileAtomic(file.string(), "[Splash]\nMonIdx=1\n", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(fw_test::ReadFile(file), "[Splash]\nMonIdx=2\n");
    EXPECT_EQ(ModeOf(file), 0444u);
    EXPECT_FALSE(HasTemporaryFiles(dir.path()));
}

TEST(UserFileAtomic, AWritableFileIsReplacedAndNeverMadeWiderReadable) {
    const struct {
        const char* what;
        std::optional<mode_t> oldMode;  // none: no file yet
        mode_t wanted;
        mode_t expected;
    } cases[] = {
        {"new file", std::nullopt, engine::kSharedFileMode, engine::kSharedFileMode},
        {"the owner's alone", 0600, engine::kSharedFileMode, 0600},
        {"writable by everyone", 0666, engine::kSharedFileMode, engine::kSharedFileMode},
        {"a list file", 0644, engine::kOwnerOnlyFileMode, engine::kOwnerOnlyFileMode},
    };
    for (const auto& c : cases) {
        fw_test::UnprivilegedTempDir dir;
        const fs::path file = dir / "capture.xml";
        if (c.oldMode) {
            fw_test::WriteFile(file, "old");
            dir.GiveAway(file);
            ASSERT_EQ(::chmod(file.c_str(), *c.oldMode), 0);
        }
        const std::string answer =
            fw_test::RunUnprivileged([&] {
                ::umask(0);
                std::string error;
                return engine::WriteUserFileAtomic(file.string(), "new", &error, c.wanted) ? std::string("ok")
                                                                                            : "failed: " + error;
            }).value_or("the child did not run");
        EXPECT_EQ(answer, "ok") << c.what;
        EXPECT_EQ(fw_test::ReadFile(file), "new") << c.what;
        EXPECT_EQ(ModeOf(file), c.expected) << c.what;
        EXPECT_FALSE(HasTemporaryFiles(dir.path())) << c.what;
    }
}

}  // namespace
