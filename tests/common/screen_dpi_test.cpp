// The desktop resolution of the start-up checks (Framewick's and Hollarin's): the Xft.dpi the user set
// in the X resource database of a desktop of the test's own, which Qt's screen figures hide behind
// their scaling.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <memory>

#include "common/ScreenDpi.h"
#include "tests/common/x_resources.h"
#include "tests/support/PrivateXServer.h"

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

// One X server for the program, whose database the test changes as a user's session does.
class DpiDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        server_ = std::make_unique<fw_test::PrivateXServer>(800, 600);
        ASSERT_TRUE(server_->ok()) << "Xvfb did not start";
        ASSERT_TRUE(fw_test::SetXResources(server_->name(), "Xft.dpi: 120"));
        ::setenv("DISPLAY", server_->name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        server_.reset();
    }
    static const std::string& Display() { return instance->server_->name(); }
    static inline DpiDesktop* instance = nullptr;

private:
    int argc_ = 1;
    char arg0_[16] = "screen_dpi_test";
    char* argv_[2] = {arg0_, nullptr};
    std::unique_ptr<fw_test::PrivateXServer> server_;
    std::unique_ptr<QApplication> app_;
};

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(DpiDesktop::instance = new DpiDesktop);

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
        ASSERT_TRUE(fw_test::SetXResources(DpiDesktop::Display(), c.resources)) << c.resources;
        EXPECT_EQ(app::PrimaryScreenLogicalDpi(), c.dpi) << c.resources;
    }
}

}  // namespace
