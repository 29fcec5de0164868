#include <gtest/gtest.h>

#include "platform/com/com.h"

namespace {
constexpr GUID kSample = {0xA73F0835, 0xE2C1, 0x4C89, {0xBC, 0x9B, 0x4C, 0x7B, 0xBB, 0x50, 0x61, 0xD8}};
}

TEST(ComGuid, TextFormRoundTrips) {
    EXPECT_EQ(GuidToString(kSample), "{A73F0835-E2C1-4C89-BC9B-4C7BBB5061D8}");
    EXPECT_EQ(GuidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(GuidToString(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
    EXPECT_EQ(StringToGuid("{A73F0835-E2C1-4C89-BC9B-4C7BBB5061D8}"), kSample);
    EXPECT_EQ(StringToGuid("{a73f0835-e2c1-4c89-bc9b-4c7bbb5061d8}"), kSample);
    const GUID allOnes = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    EXPECT_EQ(StringToGuid(GuidToString(allOnes)), allOnes);
}

TEST(ComGuid, MalformedTextIsRejected) {
    for (const char* text : {
             "",
             "A73F0835-E2C1-4C89-BC9B-4C7BBB5061D8",      // no braces
             "{A73F0835-E2C1-4C89-BC9B-4C7BBB5061D8",     // one brace
             "{A73F0835-E2C1-4C89-BC9B-4C7BBB5061D}",     // digit short
             "{A73F0835-E2C1-4C89-BC9B-4C7BBB5061D88}",   // digit over
             "{A73F0835E-2C1-4C89-BC9B-4C7BBB5061D8}",    // dash misplaced
             "{A73F0835-E2C1-4C89-BC9B-4C7BBB5061DG}",    // not hexadecimal
             "{A73F0835-E2C1-4C89-BC9B+4C7BBB5061D8}",    // not a dash
             "{ 73F0835-E2C1-4C89-BC9B-4C7BBB5061D8}",    // blank
             "{0x3F0835-E2C1-4C89-BC9B-4C7BBB5061D8}",    // prefix
         })
        EXPECT_FALSE(StringToGuid(text)) << text;
}
