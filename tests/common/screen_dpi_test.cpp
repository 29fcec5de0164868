// The desktop resolution of the start-up checks (Framewick's and Hollarin's): the Xft.dpi the user set
// in the X resource database of a desktop of the test's own, which Qt's screen figures hide behind
// their scaling.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "common/ScreenDpi.h"
#include "tests/components/private_desktop.h"

namespace {

TEST(ScreenDpi, XftDpiEntryOfTheResourceText) {
    const struct {
        const char* resources;
        std::optional<int> dpi;
    } cases[] = {
        {"Xft.dpi:\t120\n", 120},
        {"Xcursor.size:\t24\nXft.dpi:\t144\nXft.hinting:\t1\n", 144},
        {"Xft.dpi: 96", 96},
        {"Xft.dpi:\t120.6\r\n", 121},
        {"Xft.antialias:\t1\n", std::nullopt},
        {"", std::nullopt},
        {"Xft.dpi:\t\n", std::nullopt},
        {"Xft.dpi:\tlarge\n", std::nullopt},
        {"Xft.dpi:\t120dpi\n", std::nullopt},
        {"Xft.dpi:\t0\n", std::nullopt},
        {"Xft.dpi:\t-120\n", std::nullopt},
        {"Xft.dpi:\t1e300\n", std::nullopt},
        {"Xft.dpix:\t120\n", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(app::XftDpiOf(c.resources), c.dpi) << c.resources;
}

// The desktop's database says 120 dpi when the program's QApplication starts (FW_TEST_X_RESOURCES).
::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

TEST(ScreenDpi, TheResolutionTheUserSetOnTheDesktop) {
    EXPECT_EQ(app::PrimaryScreenLogicalDpi(), 120) << "at the start";
    const struct {
        const char* resources;
        int dpi;
    } cases[] = {
        {"Xft.dpi: 144", 144},
        {"Xft.dpi: 96", 96},
        {"", app::kDesignDpi},  // nothing set: Qt's own figure
        {"Xft.dpi: 120", 120},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(fw_test::SetXResources(std::string(::getenv("DISPLAY")), c.resources)) << c.resources;
        EXPECT_EQ(app::PrimaryScreenLogicalDpi(), c.dpi) << c.resources;
    }
}

}  // namespace
