#include <gtest/gtest.h>

#include <cctype>
#include <mutex>
#include <thread>

#include "engine/settings/counters.h"
#include "engine/settings/log_list.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"

namespace {

TEST(Counters, InternalPortsWrapFrom65534To20000) {
    engine::ResetInternalPort();
    int32_t port = 0;
    for (int call = 1; call <= 18487; ++call) port = engine::NextInternalPort();
    EXPECT_EQ(port, 65534);
    EXPECT_EQ(engine::NextInternalPort(), 20000);
    EXPECT_EQ(engine::NextInternalPort(), 20001);
    engine::ResetInternalPort();
    EXPECT_EQ(engine::NextInternalPort(), 47048);
}

TEST(Counters, IndexCountersStartWhereTheyShould) {
    EXPECT_EQ(engine::NextCaptureIndex(), 0);
    EXPECT_EQ(engine::NextCaptureIndex(), 1);
    EXPECT_EQ(engine::NextStreamerIndex(), 1);
    EXPECT_EQ(engine::NextHttpServerIndex(), 1);
    // wsocket.xml with entries of idx 7 then 3: the reader sets idx + 1 after each.
    engine::SetNextWebSocketIndex(7 + 1);
    engine::SetNextWebSocketIndex(3 + 1);
    EXPECT_EQ(engine::NextWebSocketIndex(), 4);
    EXPECT_EQ(engine::NextWebSocketIndex(), 5);
}

TEST(NameRoutines, SanitizeName) {
    const std::pair<std::string, std::string> cases[] = {
        {"Host-PC.01", "Host_PC_01"}, {"Zyx", "__x"}, {"", ""}, {"ABCXYZabcxyz_09", "ABCX__abcx___09"},
        {"\xe4 b", "__b"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(engine::SanitizeName(in), out) << in;
    EXPECT_EQ(engine::HostDirSuffix(), "");
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
        engine::TRunTime r = engine::FormatRunTime(c.Seconds);
        EXPECT_EQ(r.Hours, c.Hours) << c.Seconds;
        EXPECT_EQ(r.Minutes, c.Minutes) << c.Seconds;
        EXPECT_EQ(r.Secs, c.Secs) << c.Seconds;
        EXPECT_EQ(r.Text, c.Text) << c.Seconds;
    }
    const std::string clock = engine::FormatLocalTime(std::chrono::system_clock::now(), "%H:%M:%S");
    ASSERT_EQ(clock.size(), 8u);
    for (size_t i = 0; i < clock.size(); ++i)
        EXPECT_TRUE(i == 2 || i == 5 ? clock[i] == ':' : std::isdigit(static_cast<unsigned char>(clock[i]))) << clock;
}

TEST(LogList, LevelTagsAndTheQueueLimit) {
    EXPECT_STREQ(engine::LogLevelTag(engine::kLogSystem), "[sys]");
    EXPECT_STREQ(engine::LogLevelTag(engine::kLogWarning), "[wrn]");
    EXPECT_STREQ(engine::LogLevelTag(engine::kLogError), "[err]");
    EXPECT_STREQ(engine::LogLevelTag(engine::kLogDebug), "[dbg]");
    EXPECT_STREQ(engine::LogLevelTag(engine::kLogInfo), "[inf]");
    EXPECT_STREQ(engine::LogLevelTag(engine::kLogDirectX), "[dx ]");
    EXPECT_STREQ(engine::LogLevelTag(6), "");  // unknown levels show no tag
    EXPECT_STREQ(engine::LogLevelTag(255), "");

    engine::TLogList list;
    for (size_t i = 0; i < engine::kMaxQueuedLogEntries; ++i)
        EXPECT_TRUE(list.AppendIfFewerThan({"line " + std::to_string(i), {}, engine::kLogInfo}, engine::kMaxQueuedLogEntries));
    EXPECT_FALSE(list.AppendIfFewerThan({"dropped", {}, engine::kLogInfo}, engine::kMaxQueuedLogEntries));
    list.Append({"[idx: 3] worker line", {}, engine::kLogError});  // worker threads append past the limit
    auto taken = list.TakeAll();
    ASSERT_EQ(taken.size(), engine::kMaxQueuedLogEntries + 1);
    EXPECT_EQ(taken.front().Text, "line 0");
    EXPECT_EQ(taken.back().Text, "[idx: 3] worker line");
    EXPECT_EQ(list.Count(), 0u);
}

TEST(LogList, ManyThreadsAppendWithoutLoss) {
    auto list = engine::LogList();
    list->TakeAll();
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([list, t] {
            for (int i = 0; i < 500; ++i) list->Append({"[idx: " + std::to_string(t) + "]", {}, engine::kLogInfo});
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(list->TakeAll().size(), 4000u);
}

TEST(ProgramState, GlobalLockIsRecursive) {
    std::lock_guard outer(engine::GlobalLock());
    std::lock_guard inner(engine::GlobalLock());
    EXPECT_FALSE(engine::AppClosing.load());
}

}  // namespace
