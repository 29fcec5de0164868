#include "platform/ui/message_target.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"
#include "tests/support/test_env.h"

using fw_test::PumpFor;
using fw_test::PumpUntil;

using platform::MessageTarget;
using platform::PostMessage;
using platform::WindowHandle;

namespace {

constexpr uint32_t kCaptureNotify = 0xB800;
constexpr uint32_t kFtpNotify = 0xB801;
constexpr auto kDeliveryTimeout = std::chrono::seconds(10);

struct Received {
    uint32_t msg;
    intptr_t wParam;
    intptr_t lParam;
    std::thread::id thread;
};

}  // namespace

TEST(MessageTarget, PostsFromManyThreadsArriveInOrderPerSender) {
    TestApp();
    constexpr int kSenders = 8;
    constexpr int kPerSender = 500;
    std::vector<Received> received;
    MessageTarget target([&](uint32_t msg, intptr_t w, intptr_t l) {
        received.push_back({msg, w, l, std::this_thread::get_id()});
    });
    ASSERT_NE(target.Handle(), 0u);
    std::atomic<int> refused{0};
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s)
        senders.emplace_back([&, s, handle = target.Handle()] {
            // Alternating message ids from one sender keep their order too.
            for (int i = 0; i < kPerSender; ++i)
                if (!PostMessage(handle, i % 2 ? kFtpNotify : kCaptureNotify, s, i)) ++refused;
        });
    for (auto& t : senders) t.join();
    EXPECT_EQ(refused, 0);
    ASSERT_TRUE(PumpUntil([&] { return received.size() == kSenders * kPerSender; }, kDeliveryTimeout));

    std::map<intptr_t, intptr_t> nextOfSender;
    for (const auto& r : received) {
        EXPECT_EQ(r.thread, std::this_thread::get_id());
        EXPECT_EQ(r.msg, r.lParam % 2 ? kFtpNotify : kCaptureNotify);
        EXPECT_EQ(r.lParam, nextOfSender[r.wParam]++) << "sender " << r.wParam;
    }
    EXPECT_EQ(nextOfSender.size(), static_cast<size_t>(kSenders));
}

TEST(MessageTarget, PostToAGoneTargetIsRefusedAndQueuedMessagesAreDropped) {
    TestApp();
    int handled = 0;
    WindowHandle handle;
    {
        MessageTarget target([&](uint32_t, intptr_t, intptr_t) { ++handled; });
        handle = target.Handle();
        EXPECT_TRUE(PostMessage(handle, kCaptureNotify, 8, 0));
        EXPECT_TRUE(PostMessage(handle, kCaptureNotify, 9, 0));
    }  // gone before the loop delivered them
    EXPECT_FALSE(PostMessage(handle, kCaptureNotify, 10, 0));
    EXPECT_FALSE(PostMessage(0, kCaptureNotify, 10, 0));
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(handled, 0);

    // A later target never gets the handle of a gone one.
    MessageTarget next([&](uint32_t, intptr_t, intptr_t) { ++handled; });
    EXPECT_NE(next.Handle(), handle);
    EXPECT_FALSE(PostMessage(handle, kCaptureNotify, 11, 0));
}

TEST(MessageTarget, TargetsComingAndGoingWhileOthersPost) {
    TestApp();
    constexpr int kTargets = 100;
    std::atomic<WindowHandle> current{0};
    std::atomic<bool> stop{false};
    std::atomic<long> accepted{0};
    std::vector<std::thread> posters;
    for (int p = 0; p < 4; ++p)
        posters.emplace_back([&] {
            while (!stop)
                if (PostMessage(current.load(), kCaptureNotify, 1, 2)) ++accepted;
        });
    long handled = 0;
    for (int i = 0; i < kTargets; ++i) {
        auto target = std::make_unique<MessageTarget>([&](uint32_t, intptr_t, intptr_t) { ++handled; });
        const long before = accepted;
        current = target->Handle();
        // Let the posters reach this target, then destroy it while they keep posting to it.
        ASSERT_TRUE(PumpUntil([&] { return accepted > before; }, kDeliveryTimeout));
        target.reset();
    }
    stop = true;
    for (auto& t : posters) t.join();
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_LE(handled, accepted.load());
}

TEST(MessageTarget, HandlerMayDestroyItsOwnTarget) {
    TestApp();
    std::unique_ptr<MessageTarget> target;
    auto alive = std::make_shared<int>(0);
    int handled = 0;
    target = std::make_unique<MessageTarget>([&, alive](uint32_t, intptr_t, intptr_t) {
        ++handled;
        target.reset();
        ++*alive;  // the handler's own state outlives the target it destroyed
    });
    WindowHandle handle = target->Handle();
    EXPECT_TRUE(PostMessage(handle, kCaptureNotify, 0, 0));
    EXPECT_TRUE(PostMessage(handle, kCaptureNotify, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return handled > 0; }, kDeliveryTimeout));
    PumpFor(std::chrono::milliseconds(30));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(*alive, 1);
    EXPECT_FALSE(PostMessage(handle, kCaptureNotify, 0, 0));
}

TEST(MessageTarget, HandlerRunsOnTheTargetsThreadAndAFailingHandlerDoesNotStopDelivery) {
    TestApp();
    QThread worker;
    QObject onWorkerThread;  // a context for calls made on the worker
    onWorkerThread.moveToThread(&worker);
    worker.start();
    std::atomic<int> handled{0};
    std::atomic<bool> onWorker{true};
    std::unique_ptr<MessageTarget> target;
    // Made on the worker thread, which owns it from then on.
    QMetaObject::invokeMethod(
        &onWorkerThread,
        [&] {
            target = std::make_unique<MessageTarget>([&](uint32_t, intptr_t w, intptr_t) {
                if (QThread::currentThread() != &worker) onWorker = false;
                ++handled;
                if (w == 1) throw std::runtime_error("handler failure");
            });
        },
        Qt::BlockingQueuedConnection);
    ASSERT_TRUE(target);
    EXPECT_TRUE(PostMessage(target->Handle(), kFtpNotify, 1, 0));
    EXPECT_TRUE(PostMessage(target->Handle(), kFtpNotify, 2, 0));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return handled == 2; }, kDeliveryTimeout));
    EXPECT_TRUE(onWorker);
    QMetaObject::invokeMethod(
        &onWorkerThread, [&] { target.reset(); }, Qt::BlockingQueuedConnection);
    worker.quit();
    worker.wait();
}
