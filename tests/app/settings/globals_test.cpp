#include <gtest/gtest.h>

#include <mutex>

#include "app/settings/app_globals.h"
#include "engine/settings/program_state.h"

namespace {

TEST(Globals, GlobalLockIsRecursiveAndGuardsTheRequestPrefix) {
    std::lock_guard outer(engine::GlobalLock());
    std::lock_guard inner(engine::GlobalLock());
    app::SetRequestPathPrefix("/share1/");
    EXPECT_EQ(app::RequestPathPrefix(), "/share1/");
    EXPECT_FALSE(engine::AppClosing.load());
}

TEST(Globals, ListDocPoolAndIndexPage) {
    EXPECT_EQ(app::ListDocPool(), nullptr);
    app::SetListDocPool(std::make_unique<engine::TXmlDocPool>(10));
    ASSERT_NE(app::ListDocPool(), nullptr);
    EXPECT_EQ(app::ListDocPool()->Count(), 10);
    app::SetListDocPool(nullptr);
    app::SetIndexPage({"/html/index.html", {"<html>", "</html>"}});
    EXPECT_EQ(app::IndexPage()->IndexTemplate.size(), 2u);
    app::InitLocaleSettings();
    EXPECT_FALSE(app::LocaleSettings().TimeFormat.empty());
}

}  // namespace
