// Many clients at once: a stalled client holds nobody up, and a snapshot replaced by its writer while
// clients download it reaches every client whole, old or new, never mixed.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/settings/program_state.h"
#include "engine/util/atomic_file.h"
#include "tests/engine/http/http_server_fixture.h"

namespace fw_test {
namespace {

using namespace std::chrono_literals;

constexpr size_t kFileBytes = 1024 * 1024;
constexpr int kClients = 50;

using HttpServerLoadTest = HttpServerFixture;

TEST_F(HttpServerLoadTest, FiftyClientsFinishWhileOneStalls) {
    WriteFile(Root() / "seg_1.ts", std::string(kFileBytes, 's'));
    WriteFile(Root() / "huge.ts", std::string(64 * 1024 * 1024, 'h'));
    auto server = StartServer();

    // The stalled client asks for a large file and never reads: its transfer blocks in the middle.
    int stalled = ConnectLoopback(port_);
    ASSERT_GE(stalled, 0);
    int small = 4096;
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    std::string get = "GET /huge.ts HTTP/1.1\r\nHost: x\r\n\r\n";
    ::send(stalled, get.data(), get.size(), MSG_NOSIGNAL);
    std::this_thread::sleep_for(300ms);

    // The stalled transfer holds no lock that a snapshot writer needs.
    ASSERT_TRUE(WaitUntil([&] {
        if (!engine::GlobalLock().try_lock()) return false;
        engine::GlobalLock().unlock();
        return true;
    }, 2s));

    std::atomic<int> whole{0};
    std::vector<std::thread> clients;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&] {
            auto answer = Request(port_, "GET", "/seg_1.ts");
            if (answer.Status == 200 && answer.Body == std::string(kFileBytes, 's')) ++whole;
        });
    }
    for (auto& c : clients) c.join();
    EXPECT_EQ(whole.load(), kClients);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    ::close(stalled);
}

TEST_F(HttpServerLoadTest, ReplacedSnapshotIsAlwaysWholeOldOrNew) {
    const auto published = Root() / "capimg_1_80.png";
    auto versionBytes = [](int version) { return std::string(kFileBytes, static_cast<char>('A' + version % 26)); };
    WriteFile(published, versionBytes(0));
    auto server = StartServer();

    // The snapshot writer's pass: under GlobalLock, write a temporary file and rename it over the
    // published name.
    std::atomic<bool> stop{false};
    std::atomic<int> versions{0};
    std::thread writer([&] {
        for (int version = 1; !stop; ++version) {
            {
                std::lock_guard lock(engine::GlobalLock());
                engine::WriteFileAtomic(published.string(), versionBytes(version));
            }
            versions = version;
            std::this_thread::sleep_for(2ms);
        }
    });

    std::atomic<int> good{0}, mixed{0}, failed{0};
    std::vector<std::thread> clients;
    constexpr int kRounds = 8;
    for (int i = 0; i < 20; ++i) {
        clients.emplace_back([&] {
            for (int round = 0; round < kRounds; ++round) {
                auto answer = Request(port_, "GET", "/capimg_1_80.png");
                if (answer.Status != 200 || answer.Body.size() != kFileBytes) {
                    ++failed;
                    continue;
                }
                char first = answer.Body[0];
                bool uniform = std::all_of(answer.Body.begin(), answer.Body.end(), [&](char c) { return c == first; });
                ++(uniform ? good : mixed);
            }
        });
    }
    for (auto& c : clients) c.join();
    stop = true;
    writer.join();
    EXPECT_EQ(mixed.load(), 0);
    EXPECT_EQ(failed.load(), 0);
    EXPECT_EQ(good.load(), 20 * kRounds);
    EXPECT_GT(versions.load(), 5);  // the file really changed while the clients read it
}

}  // namespace
}  // namespace fw_test
