#include "platform/filters/MemoryStream.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(MemoryStream, WritesAtThePositionAndGrows) {
    TMemoryStream s;
    EXPECT_EQ(s.Write("abcdef", 6), 6u);
    EXPECT_EQ(s.Position(), 6u);
    s.Seek(2);
    EXPECT_EQ(s.Write("XY", 2), 2u);
    EXPECT_EQ(s.Size(), 6u);
    s.Seek(0);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, sizeof buf), 6u);
    EXPECT_STREQ(buf, "abXYef");
    EXPECT_EQ(s.Read(buf, 1), 0u);  // at the end
}

TEST(MemoryStream, SeekAndShrinkClampThePosition) {
    TMemoryStream s;
    s.Write("0123456789", 10);
    s.Seek(100);
    EXPECT_EQ(s.Position(), 10u);
    EXPECT_TRUE(s.SetSize(4));
    EXPECT_EQ(s.Position(), 4u);
    EXPECT_TRUE(s.SetSize(0));
    EXPECT_EQ(s.Position(), 0u);
    EXPECT_EQ(s.Size(), 0u);
}

TEST(MemoryStream, RefusesASizeBeyondMemory) {
    TMemoryStream s;
    s.Write("abc", 3);
    EXPECT_FALSE(s.SetSize(SIZE_MAX));
    EXPECT_EQ(s.Size(), 3u);
    s.Seek(3);
    EXPECT_EQ(s.Write("x", SIZE_MAX), 0u);
    EXPECT_EQ(s.Size(), 3u);
}

}  // namespace
}  // namespace platform
