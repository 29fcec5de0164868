#include <gtest/gtest.h>

#include "platform/dshow/error_text.h"

TEST(ErrorText, KnownCodesReadAsDirectShowTextAndOthersAsTheirNumber) {
    const struct {
        HRESULT hr;
        const char* text;
    } cases[] = {
        {VFW_E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected."},
        {VFW_E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins."},
        {REGDB_E_CLASSNOTREG, "Class not registered."},
        {E_FAIL, "Unspecified error."},
        {MakeHResult(0x8123ABCD), "Unknown error 0x8123ABCD"},
    };
    for (const auto& c : cases) EXPECT_EQ(dshow::ErrorText(c.hr), c.text);
}

TEST(ErrorText, CopiesIntoABufferCutToItsLength) {
    char buffer[8];
    EXPECT_EQ(AMGetErrorText(E_FAIL, buffer, sizeof buffer), 7u);
    EXPECT_STREQ(buffer, "Unspeci");
    EXPECT_EQ(AMGetErrorText(E_FAIL, buffer, 0), 0u);
    EXPECT_EQ(AMGetErrorText(E_FAIL, nullptr, 8), 0u);
}
