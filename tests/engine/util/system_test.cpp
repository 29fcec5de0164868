#include <gtest/gtest.h>

#include "engine/util/free_space.h"
#include "engine/util/system_info.h"
#include "tests/support/test_env.h"

namespace {

TEST(SystemInfo, ComputerNameIsAtMostFifteenCharacters) {
    std::string name = engine::GetLocalComputerName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), engine::kMaxComputerNameLength);
}

TEST(FreeSpace, FailedQueryIsNotZeroBytes) {
    engine::TStatvfsFreeSpace query;
    fw_test::TempDir dir;
    auto free = query.FreeBytes(dir.path().string());
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
    EXPECT_FALSE(query.FreeBytes((dir / "no/such/folder").string()).has_value());
    EXPECT_FALSE(query.FreeBytes("").has_value());
}

TEST(FreeSpace, ProcessWideQueryCanBeReplaced) {
    auto fake = std::make_shared<engine::TFakeFreeSpace>(uint64_t{1234});
    engine::SetCurrentFreeSpaceQuery(fake);
    EXPECT_EQ(engine::CurrentFreeSpaceQuery()->FreeBytes("/anything"), std::optional<uint64_t>(1234));
    fake->Set(std::nullopt);
    EXPECT_FALSE(engine::CurrentFreeSpaceQuery()->FreeBytes("/anything").has_value());
    engine::SetCurrentFreeSpaceQuery(nullptr);
    EXPECT_NE(dynamic_cast<engine::TStatvfsFreeSpace*>(engine::CurrentFreeSpaceQuery().get()), nullptr);
}

}  // namespace
