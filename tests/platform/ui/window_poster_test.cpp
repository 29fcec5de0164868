#include "platform/ui/window_poster.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"
#include "tests/support/test_env.h"

using fw_test::PumpUntil;

namespace {

struct Posted {
    uint32_t Message;
    intptr_t WParam;
    intptr_t LParam;
    bool operator==(const Posted&) const = default;
};

constexpr auto kDeliveryTimeout = std::chrono::seconds(10);

TEST(WindowPoster, EachPosterCarriesItsOwnMessageId) {
    TestApp();
    std::vector<Posted> received;
    platform::MessageTarget target([&](uint32_t msg, intptr_t w, intptr_t l) { received.push_back({msg, w, l}); });
    std::unique_ptr<platform::IMessagePoster> capture = std::make_unique<platform::TWindowPoster>(target.Handle(), 0xB800);
    std::unique_ptr<platform::IMessagePoster> ftp = std::make_unique<platform::TWindowPoster>(target.Handle(), 0xB801);
    capture->Post(8, 3);
    ftp->Post(4, 5);
    ASSERT_TRUE(PumpUntil([&] { return received.size() == 2; }, kDeliveryTimeout));
    EXPECT_EQ(received, (std::vector<Posted>{{0xB800, 8, 3}, {0xB801, 4, 5}}));
}

// A poster outliving its window posts into nothing: not to the window made after it, whose marker,
// posted after, arrives (messages of one sender come in posting order).
TEST(WindowPoster, AWindowThatIsGoneReceivesNothing) {
    TestApp();
    std::vector<Posted> toTheGone, toTheNext;
    platform::WindowHandle gone = 0;
    {
        platform::MessageTarget target([&](uint32_t msg, intptr_t w, intptr_t l) { toTheGone.push_back({msg, w, l}); });
        gone = target.Handle();
    }
    platform::MessageTarget next([&](uint32_t msg, intptr_t w, intptr_t l) { toTheNext.push_back({msg, w, l}); });
    platform::TWindowPoster poster(gone, 0xB800);
    platform::TWindowPoster marker(next.Handle(), 0xB801);
    poster.Post(1, 2);  // dropped, no crash
    marker.Post(3, 4);
    ASSERT_TRUE(PumpUntil([&] { return !toTheNext.empty(); }, kDeliveryTimeout)) << "the marker never arrived";
    EXPECT_TRUE(toTheGone.empty());
    EXPECT_EQ(toTheNext, (std::vector<Posted>{{0xB801, 3, 4}}));
}

}  // namespace
