#include <gtest/gtest.h>

#include <cctype>
#include <thread>

#include "app/settings/app_globals.h"
#include "app/settings/counters.h"
#include "app/settings/log_list.h"
#include "app/settings/name_routines.h"

namespace {

TEST(Counters, InternalPortsWrapFrom65534To20000) {
    app::ResetInternalPort();
    int32_t port = 0;
    for (int call = 1; call <= 18487; ++call) port = app::NextInternalPort();
    EXPECT_EQ(port, 65534);
    EXPECT_EQ(app::NextInternalPort(), 20000);
    EXPECT_EQ(app::NextInternalPort(), 20001);
    app::ResetInternalPort();
    EXPECT_EQ(app::NextInternalPort(), 47048);
}

TEST(Counters, IndexCountersStartWhereTheyShould) {
    EXPECT_EQ(app::NextCaptureIndex(), 0);
    EXPECT_EQ(app::NextCaptureIndex(), 1);
    EXPECT_EQ(app::NextStreamerIndex(), 1);
    EXPECT_EQ(app::NextHttpServerIndex(), 1);
    // wsocket.xml with entries of idx 7 then 3: the reader sets idx + 1 after each.
    app::SetNextWebSocketIndex(7 + 1);
    app::SetNextWebSocketIndex(3 + 1);
    EXPECT_EQ(app::NextWebSocketIndex(), 4);
    EXPECT_EQ(app::NextWebSocketIndex(), 5);
}

TEST(NameRoutines, SanitizeName) {
    const std::pair<std::string, std::string> cases[] = {
        {"Host-PC.01", "Host_PC_01"}, {"Zyx", "__x"}, {"", ""}, {"ABCXYZabcxyz_09", "ABCX__abcx___09"},
        {"\xe4 b", "__b"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(app::SanitizeName(in), out) << in;
    EXPECT_EQ(app::HostDirSuffix(), "");
}

TEST(NameRoutines, FormatRunTime) {
    struct Case {
        int64_t Seconds;
        int Hours, Minutes, Secs;
        const char* Text;
    } cases[] = {
        {3725, 1, 2, 5, "001:02:05"}, {90000, 1, 0, 0, "001:00:00"}, {0, 0, 0, 0, "000:00:00"},
        {86399, 23, 59, 59, "023:59:59"}, {-5, 0, 0, 0, "000:00:00"},
    };
    for (const auto& c : cases) {
        app::TRunTime r = app::FormatRunTime(c.Seconds);
        EXPECT_EQ(r.Hours, c.Hours) << c.Seconds;
        EXPECT_EQ(r.Minutes, c.Minutes) << c.Seconds;
        EXPECT_EQ(r.Secs, c.Secs) << c.Seconds;
        EXPECT_EQ(r.Text, c.Text) << c.Seconds;
    }
    const std::string clock = app::FormatClockTime(std::chrono::system_clock::now());
    ASSERT_EQ(clock.size(), 8u);
    for (size_t i = 0; i < clock.size(); ++i)
        EXPECT_TRUE(i == 2 || i == 5 ? clock[i] == ':' : std::isdigit(static_cast<unsigned char>(clock[i]))) << clock;
}

TEST(LogList, LevelTagsAndTheQueueLimit) {
    EXPECT_STREQ(app::LogLevelTag(app::kLogSystem), "[sys]");
    EXPECT_STREQ(app::LogLevelTag(app::kLogWarning), "[wrn]");
    EXPECT_STREQ(app::LogLevelTag(app::kLogError), "[err]");
    EXPECT_STREQ(app::LogLevelTag(app::kLogDebug), "[dbg]");
    EXPECT_STREQ(app::LogLevelTag(app::kLogInfo), "[inf]");
    EXPECT_STREQ(app::LogLevelTag(app::kLogDirectX), "[dx ]");
    EXPECT_STREQ(app::LogLevelTag(6), "");  // unknown levels show no tag
    EXPECT_STREQ(app::LogLevelTag(255), "");

    app::TLogList list;
    for (size_t i = 0; i < app::kMaxQueuedLogEntries; ++i)
        EXPECT_TRUE(list.AppendIfFewerThan({"line " + std::to_string(i), {}, app::kLogInfo}, app::kMaxQueuedLogEntries));
    EXPECT_FALSE(list.AppendIfFewerThan({"dropped", {}, app::kLogInfo}, app::kMaxQueuedLogEntries));
    list.Append({"[idx: 3] worker line", {}, app::kLogError});  // worker threads append past the limit
    auto taken = list.TakeAll();
    ASSERT_EQ(taken.size(), app::kMaxQueuedLogEntries + 1);
    EXPECT_EQ(taken.front().Text, "line 0");
    EXPECT_EQ(taken.back().Text, "[idx: 3] worker line");
    EXPECT_EQ(list.Count(), 0u);
}

TEST(LogList, ManyThreadsAppendWithoutLoss) {
    auto list = app::LogList();
    list->TakeAll();
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([list, t] {
            for (int i = 0; i < 500; ++i) list->Append({"[idx: " + std::to_string(t) + "]", {}, app::kLogInfo});
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(list->TakeAll().size(), 4000u);
}

TEST(Globals, GlobalLockIsRecursiveAndGuardsTheRequestPrefix) {
    std::lock_guard outer(app::GlobalLock());
    std::lock_guard inner(app::GlobalLock());
    app::SetRequestPathPrefix("/share1/");
    EXPECT_EQ(app::RequestPathPrefix(), "/share1/");
    EXPECT_FALSE(app::AppClosing.load());
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
