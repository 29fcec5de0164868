#include "engine/util/folder_ops.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/engine/util/file_test_helpers.h"
#include "tests/support/unprivileged.h"

namespace {

using namespace util_test;

TEST(FolderOps, CopyContentsOrTheFolderItself) {
    fw_test::TempDir dir;
    MakeFile(dir / "plugins", "codec/libx264.so", "elf");
    MakeFile(dir / "plugins", ".cache", "c");
    MakeFile(dir.path(), "plugins10/other.so", "no");  // a sibling with the same prefix

    // Without a trailing "/": the folder itself, with everything in it, and no sibling.
    ASSERT_TRUE(engine::CopyFolder((dir / "plugins").string(), (dir / "lib/a").string()));
    EXPECT_EQ(fw_test::ReadFile(dir / "lib/a/plugins/codec/libx264.so"), "elf");
    EXPECT_TRUE(fs::exists(dir / "lib/a/plugins/.cache"));
    EXPECT_FALSE(fs::exists(dir / "lib/a/plugins10"));

    // With it: the contents; existing files are overwritten.
    MakeFile(dir / "lib/b", "codec/libx264.so", "old");
    ASSERT_TRUE(engine::CopyFolder(Slash(dir / "plugins"), Slash(dir / "lib/b")));
    EXPECT_EQ(fw_test::ReadFile(dir / "lib/b/codec/libx264.so"), "elf");
}

TEST(FolderOps, CopyRefusesMissingSourceAndDestinationInsideSource) {
    fw_test::TempDir dir;
    EXPECT_FALSE(engine::CopyFolder((dir / "missing").string(), (dir / "out").string()));
    EXPECT_FALSE(fs::exists(dir / "out"));
    MakeFile(dir / "src", "f");
    EXPECT_FALSE(engine::CopyFolder(Slash(dir / "src"), (dir / "src/inner").string()));
    EXPECT_FALSE(fs::exists(dir / "src/inner"));
}

TEST(FolderOps, DeleteAndClearLeaveSiblingsAndLinkTargetsAlone) {
    fw_test::TempDir dir, outside;
    MakeFile(outside.path(), "precious", "keep");
    for (const std::string& form : {std::string("plain"), std::string("slash")}) {
        fs::path share1 = dir / ("share1" + form), share10 = dir / ("share1" + form + "0");
        MakeFile(share1, "a.jpg");
        MakeFile(share1, "sub/b.jpg");
        MakeFile(share10, "c.jpg");
        fs::create_directory_symlink(outside.path(), share1 / "link");
        const std::string arg = form == "slash" ? Slash(share1) : share1.string();

        ASSERT_TRUE(engine::ClearFolder(arg)) << form;
        EXPECT_TRUE(fs::is_directory(share1));
        EXPECT_TRUE(fs::is_empty(share1));

        MakeFile(share1, "again.jpg");
        ASSERT_TRUE(engine::DeleteFolder(arg)) << form;
        EXPECT_FALSE(fs::exists(share1));
        EXPECT_TRUE(fs::exists(share10 / "c.jpg"));
    }
    EXPECT_EQ(fw_test::ReadFile(outside / "precious"), "keep");
}

TEST(FolderOps, RefusesDangerousTargets) {
    fw_test::TempDir dir, outside;
    MakeFile(outside.path(), "precious", "keep");
    fs::create_directory_symlink(outside.path(), dir / "link");
    fs::path fakeHome = dir / "home";
    MakeFile(fakeHome, "mine", "keep");
    const char* oldHome = std::getenv("HOME");
    std::string saved = oldHome ? oldHome : "";
    ::setenv("HOME", fakeHome.c_str(), 1);

    for (const std::string& target : {std::string(""), std::string("/"), (dir / "link").string(), Slash(dir / "link"),
                                      fakeHome.string(), Slash(fakeHome), (dir / "missing").string()}) {
        EXPECT_FALSE(engine::DeleteFolder(target)) << target;
        EXPECT_FALSE(engine::ClearFolder(target)) << target;
    }
    if (oldHome) ::setenv("HOME", saved.c_str(), 1); else ::unsetenv("HOME");
    EXPECT_EQ(fw_test::ReadFile(outside / "precious"), "keep");
    EXPECT_EQ(fw_test::ReadFile(fakeHome / "mine"), "keep");
}

// A folder whose contents its user may not remove, as the unprivileged child meets it (root ignores
// folder permissions).
TEST(FolderOps, DeleteReportsContentsThatCouldNotGo) {
    const fw_test::UnprivilegedTempDir dir;
    const std::string answer =
        fw_test::RunUnprivileged([&] {
            MakeFile(dir / "share", "locked/inner.jpg");
            fs::permissions(dir / "share/locked", fs::perms::owner_read | fs::perms::owner_exec);
            const bool deleted = engine::DeleteFolder((dir / "share").string());
            return std::string(deleted ? "deleted" : "refused") + (fs::exists(dir / "share") ? ", kept" : ", gone");
        }).value_or("the child did not run");
    EXPECT_EQ(answer, "refused, kept");
    EXPECT_TRUE(fs::exists(dir / "share/locked/inner.jpg"));
}

}  // namespace
