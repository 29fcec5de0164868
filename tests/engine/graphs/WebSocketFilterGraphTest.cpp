// The web-socket audio graph against a recording sink: the build and its failures, the rebuild on
// every start, Stop clearing Built, and the running object table.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/graphs/GraphErrorText.h"
#include "engine/graphs/RunningObjectTable.h"
#include "engine/graphs/WebSocketFilterGraph.h"
#include "platform/filters/AudioGrabFilter.h"
#include "tests/engine/graphs/FakeAudioGrab.h"
#include "tests/engine/graphs/FakeSink.h"
#include "tests/engine/graphs/RecordingErrorBox.h"
#include "tests/support/test_env.h"

namespace {

using engine::TWebSocketFilterGraph;
using engine::TWebSocketGraphParams;
using namespace std::chrono_literals;

constexpr int32_t kLoopback = 2130706433;  // 127.0.0.1

class WebSocketFilterGraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        CoRegisterBuiltinClass(CLSID_Orbelle, &fw_test::TFakeSink::Create);
        CoRegisterBuiltinClass(CLSID_AudioGrabFilter, &platform::TAudioGrabFilter::Create);
        fw_test::TFakeAudioGrab::SetActiveResult = S_OK;
    }
    void TearDown() override {
        CoRevokeBuiltinClass(CLSID_Orbelle);
        CoRevokeBuiltinClass(CLSID_AudioGrabFilter);
    }

    std::unique_ptr<TWebSocketFilterGraph> MakeGraph(int32_t port, bool addToRot = false) {
        auto graph = std::make_unique<TWebSocketFilterGraph>(box_);
        graph->OnLog = [this](TWebSocketFilterGraph&, const std::string& text) { log_.push_back(text); };
        graph->SetParams(TWebSocketGraphParams{kLoopback, port, addToRot});
        return graph;
    }

    std::shared_ptr<fw_test::TRecordingErrorBox> box_ = std::make_shared<fw_test::TRecordingErrorBox>();
    std::vector<std::string> log_;
};

TEST_F(WebSocketFilterGraphTest, BuildsTheAudioGrabIntoAWebSocketSinkAndRunsIt) {
    auto graph = MakeGraph(8080);
    ASSERT_TRUE(graph->Init());
    EXPECT_TRUE(graph->Built());
    EXPECT_TRUE(box_->shown.empty());
    EXPECT_EQ(log_, (std::vector<std::string>{"Create FilterGraph", "AudioGrab: ", "Setup WebSocket: 127.0.0.1:8080"}));

    fw_test::TFakeSink* sink = fw_test::TFakeSink::Last();
    ASSERT_NE(sink, nullptr);
    const fw_test::TSetupCall setup = sink->Setup();
    EXPECT_EQ(setup.Port, 8080);
    EXPECT_EQ(setup.Addr, kLoopback);
    EXPECT_EQ(setup.Buffer, 32768);
    EXPECT_EQ(setup.Header, 0u);
    EXPECT_EQ(setup.Format, static_cast<uint32_t>(ftUnk));
    EXPECT_EQ(setup.Rtp, 0);
    EXPECT_EQ(setup.Interface, static_cast<uint32_t>(siWebSocket));
    EXPECT_EQ(sink->Subtype(), MEDIASUBTYPE_PCM);

    ASSERT_TRUE(graph->Run());
    EXPECT_FALSE(graph->Run());  // already running
    EXPECT_TRUE(fw_test::WaitUntil([&] { return sink->Samples() >= 3; }, 5s));
    EXPECT_EQ(sink->LastBytes(), static_cast<long>(kAudioBufferBytes));

    EXPECT_TRUE(graph->Stop());
    EXPECT_FALSE(graph->Built());
    EXPECT_FALSE(graph->Stop());  // already stopped
    EXPECT_FALSE(graph->Run());   // a stopped graph runs again only after the next build
}

TEST_F(WebSocketFilterGraphTest, StopOnAGraphThatNeverRanClearsBuilt) {
    auto graph = MakeGraph(8080);
    ASSERT_TRUE(graph->Init());
    EXPECT_FALSE(graph->Stop());
    EXPECT_FALSE(graph->Built());
    TWebSocketFilterGraph never;
    EXPECT_FALSE(never.Stop());
    EXPECT_FALSE(never.Run());
}

TEST_F(WebSocketFilterGraphTest, EachStartBuildsAFreshGraphWithTheParametersGivenThen) {
    auto graph = MakeGraph(8080);
    ASSERT_TRUE(graph->Init());
    fw_test::TFakeSink* first = fw_test::TFakeSink::Last();
    const int made = fw_test::TFakeSink::Created();
    ASSERT_TRUE(graph->Run());
    ASSERT_TRUE(fw_test::WaitUntil([&] { return first->Samples() > 0; }, 5s));
    ASSERT_TRUE(graph->Stop());

    graph->SetParams(TWebSocketGraphParams{kLoopback, 8090, false});
    ASSERT_TRUE(graph->Init());
    fw_test::TFakeSink* second = fw_test::TFakeSink::Last();
    ASSERT_EQ(fw_test::TFakeSink::Created(), made + 1);  // a new sink, wherever it lives
    EXPECT_EQ(second->Setup().Port, 8090);
    EXPECT_EQ(log_.back(), "Setup WebSocket: 127.0.0.1:8090");
    ASSERT_TRUE(graph->Run());
    EXPECT_TRUE(fw_test::WaitUntil([&] { return second->Samples() >= 2; }, 5s));
    EXPECT_TRUE(graph->Stop());
}

struct TFailureCase {
    const char* name;
    bool registerAudioGrab;  // false: the class is not there at all
    HRESULT setActiveResult;
    bool registerSink;
    std::string expectedLog;  // the line the failing step logs (empty: it ends with the HRESULT text)
    HRESULT expectedHr;
};

class WebSocketFilterGraphFailureTest : public WebSocketFilterGraphTest,
                                        public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(WebSocketFilterGraphFailureTest, FailsWithItsLogLineAndTheMessageBox) {
    const TFailureCase& c = GetParam();
    CoRevokeBuiltinClass(CLSID_AudioGrabFilter);
    if (c.registerAudioGrab) CoRegisterBuiltinClass(CLSID_AudioGrabFilter, &fw_test::TFakeAudioGrab::Create);
    fw_test::TFakeAudioGrab::SetActiveResult = c.setActiveResult;
    if (!c.registerSink) CoRevokeBuiltinClass(CLSID_Orbelle);

    auto graph = MakeGraph(8080);
    EXPECT_FALSE(graph->Init());
    EXPECT_FALSE(graph->Built());
    ASSERT_EQ(box_->shown.size(), 1u);
    EXPECT_EQ(box_->shown[0].first, "Framewick");
    EXPECT_EQ(box_->shown[0].second, "Error: DirectX-Filtergraph initialization");
    ASSERT_FALSE(log_.empty());
    const std::string expected = c.expectedLog.empty() ? engine::HResultText(c.expectedHr) : c.expectedLog;
    EXPECT_EQ(log_.back(), expected);
    EXPECT_FALSE(graph->Run());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WebSocketFilterGraphFailureTest,
    ::testing::Values(TFailureCase{"NoAudioGrabClass", false, S_OK, true, "", REGDB_E_CLASSNOTREG},
                      TFailureCase{"SetActiveAnswersFalse", true, S_FALSE, true, "", S_FALSE},
                      TFailureCase{"SetActiveFails", true, E_FAIL, true, "", E_FAIL},
                      TFailureCase{"NoOutputPin", true, S_OK, true, "pAudioGrab output pin error", S_OK}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WebSocketFilterGraphTest, AMissingSinkEndsTheBuildAfterTheAudioGrab) {
    CoRevokeBuiltinClass(CLSID_Orbelle);
    auto graph = MakeGraph(8080);
    EXPECT_FALSE(graph->Init());
    ASSERT_EQ(log_.size(), 3u);
    EXPECT_EQ(log_[1], "AudioGrab: ");
    EXPECT_EQ(log_[2], engine::HResultText(REGDB_E_CLASSNOTREG));
}

TEST_F(WebSocketFilterGraphTest, TheRunningObjectTableHoldsOnlyTheLatestBuild) {
    auto& rot = engine::TRunningObjectTable::Instance();
    const size_t before = rot.DisplayNames().size();
    auto graph = MakeGraph(8080, /*addToRot=*/true);
    ASSERT_TRUE(graph->Init());
    EXPECT_NE(graph->RotCookie(), 0u);
    EXPECT_EQ(rot.DisplayNames().size(), before + 1);
    ASSERT_TRUE(graph->Init());  // the next start's build replaces the registration
    EXPECT_EQ(rot.DisplayNames().size(), before + 1);
    graph.reset();
    EXPECT_EQ(rot.DisplayNames().size(), before);
}

}  // namespace
