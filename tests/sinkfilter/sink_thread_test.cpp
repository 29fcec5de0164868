// The sender's loop over a fake output: the discard window, an output that is not ready, a failed
// chunk, counters and the host callback.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "sinkfilter/sink_thread.h"
#include "tests/sinkfilter/fake_sink_clock.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;
using namespace sinkfilter;

namespace {

struct TFakeOutputLog {
    std::mutex mutex;
    std::vector<std::vector<uint8_t>> chunks;  // that went out
    std::atomic<int> attempts{0};  // read by the test while the sender runs
    std::vector<int> failAttempts;  // 1-based
    std::atomic<bool> ready{true};

    size_t Count() {
        std::lock_guard lock(mutex);
        return chunks.size();
    }
};

class TFakeOutput final : public TSinkOutput {
public:
    TFakeOutput(std::shared_ptr<TFakeOutputLog> log, size_t payload) : log_(std::move(log)), payload_(payload) {}
    TOutputState Prepare() override { return log_->ready ? TOutputState::Ready : TOutputState::NotReady; }
    bool SendChunk(const uint8_t* data, size_t size) override {
        std::lock_guard lock(log_->mutex);
        const int attempt = ++log_->attempts;
        for (int f : log_->failAttempts)
            if (f == attempt) return false;
        log_->chunks.emplace_back(data, data + size);
        return true;
    }
    size_t PayloadPerChunk() const override { return payload_; }

private:
    std::shared_ptr<TFakeOutputLog> log_;
    size_t payload_;
};

std::atomic<int64_t> g_callbackBytes{0};
void CountBytes(int32_t bytes) { g_callbackBytes += bytes; }

struct TSenderFixture {
    dshow::TComModule module;
    std::shared_ptr<fw_test::TFakeSinkClock> clock = std::make_shared<fw_test::TFakeSinkClock>();
    std::shared_ptr<TSinkQueue> queue = std::make_shared<TSinkQueue>();
    std::shared_ptr<TSinkOutputCounters> counters = std::make_shared<TSinkOutputCounters>();
    std::shared_ptr<TFakeOutputLog> log = std::make_shared<TFakeOutputLog>();
    std::unique_ptr<TSinkThread> sender;

    void Start(size_t payload) {
        auto l = log;
        sender = std::make_unique<TSinkThread>([l, payload](TSenderIo&) { return std::make_unique<TFakeOutput>(l, payload); },
                                               queue, counters, clock, &CountBytes, module);
    }
    // Starts the sender and moves its clock past the start-up window once its loop runs (it empties
    // the queue then).
    void StartPastTheWindow(size_t payload) {
        Start(payload);
        queue->PushNewest({0});
        ASSERT_TRUE(fw_test::WaitUntil([&] { return queue->Count() == 0; }, 2s));
        clock->Advance(3s);
    }
};

std::vector<uint8_t> Bytes(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i);
    return v;
}

// The nice value of every thread of this process, by thread id.
std::map<int, int> ThreadNiceValues() {
    std::map<int, int> values;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream stat(task.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) continue;
        // After the command's closing parenthesis: field 3 (state) on; the nice value is field 19.
        std::istringstream fields(line.substr(line.rfind(')') + 1));
        std::string field;
        for (int i = 3; i <= 19 && fields >> field; ++i)
            if (i == 19) values[std::stoi(task.path().filename().string())] = std::stoi(field);
    }
    return values;
}

}  // namespace

TEST(SinkThread, RunsAtTheLowestPriority) {
    const std::map<int, int> before = ThreadNiceValues();
    TSenderFixture f;
    f.Start(10);
    auto senderNice = [&]() -> std::optional<int> {
        for (const auto& [tid, nice] : ThreadNiceValues())
            if (!before.contains(tid)) return nice;
        return std::nullopt;
    };
    ASSERT_TRUE(fw_test::WaitUntil([&] { return senderNice() == 19; }, 2s)) << "nice " << senderNice().value_or(-100);
}

TEST(SinkThread, DiscardsDuringItsFirstTwoSecondsThenSendsInChunks) {
    TSenderFixture f;
    f.Start(1000);
    f.queue->PushNewest(Bytes(500));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return f.queue->Count() == 0; }, 2s));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(f.log->Count(), 0u);

    f.clock->Advance(2s);
    g_callbackBytes = 0;
    f.queue->PushNewest(Bytes(2500));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return f.log->Count() == 3; }, 2s));
    std::lock_guard lock(f.log->mutex);
    EXPECT_EQ(f.log->chunks[0].size(), 1000u);
    EXPECT_EQ(f.log->chunks[1].size(), 1000u);
    const auto all = Bytes(2500);
    EXPECT_EQ(f.log->chunks[2], std::vector<uint8_t>(all.begin() + 2000, all.end()));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return g_callbackBytes == 2500; }, 1s));
    EXPECT_EQ(f.counters->bytes.load(), 2500);
    EXPECT_EQ(f.counters->samples.load(), 3);
}

TEST(SinkThread, AnOutputThatIsNotReadyEmptiesTheQueue) {
    TSenderFixture f;
    f.StartPastTheWindow(100);
    f.log->ready = false;
    for (int i = 0; i < 5; ++i) f.queue->PushNewest(Bytes(10));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return f.queue->Count() == 0; }, 2s));
    EXPECT_EQ(f.log->Count(), 0u);
    f.log->ready = true;
    f.queue->PushNewest(Bytes(10));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return f.log->Count() == 1; }, 2s));
}

TEST(SinkThread, AFailedChunkIsDroppedAndTheNextStartsAtTheSameBytes) {
    TSenderFixture f;
    f.log->failAttempts = {2};
    f.StartPastTheWindow(10);
    f.queue->PushNewest(Bytes(35));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return f.log->attempts == 4; }, 2s));
    std::this_thread::sleep_for(30ms);
    std::lock_guard lock(f.log->mutex);
    ASSERT_EQ(f.log->chunks.size(), 3u);
    const auto all = Bytes(35);
    EXPECT_EQ(f.log->chunks[0], std::vector<uint8_t>(all.begin(), all.begin() + 10));
    EXPECT_EQ(f.log->chunks[1], std::vector<uint8_t>(all.begin() + 10, all.begin() + 20));
    EXPECT_EQ(f.log->chunks[2], std::vector<uint8_t>(all.begin() + 20, all.begin() + 25));
    EXPECT_EQ(f.counters->samples.load(), 3);
}

TEST(SinkThread, TerminateEndsItPromptlyAndTheModuleCountsItWhileItLives) {
    TSenderFixture f;
    f.Start(10);
    EXPECT_EQ(f.module.CanUnloadNow(), S_FALSE);
    const auto before = std::chrono::steady_clock::now();
    f.sender.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
    EXPECT_EQ(f.module.CanUnloadNow(), S_OK);
}
