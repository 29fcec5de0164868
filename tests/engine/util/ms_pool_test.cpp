#include "engine/util/ms_pool.h"

#include <gtest/gtest.h>

TEST(MsPool, CountIsClampedToOneThroughFifty) {
    EXPECT_EQ(engine::TMsPool(0).Count(), 1);
    EXPECT_EQ(engine::TMsPool(50).Count(), 50);
    EXPECT_EQ(engine::TMsPool(51).Count(), 50);
}
