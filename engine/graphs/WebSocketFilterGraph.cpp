#include "engine/graphs/WebSocketFilterGraph.h"

#include "engine/graphs/GraphBuildBox.h"
#include "engine/graphs/GraphControl.h"
#include "engine/graphs/GraphErrorText.h"
#include "engine/graphs/GraphPins.h"
#include "engine/graphs/RunningObjectTable.h"
#include "engine/util/ip_address.h"

namespace engine {
namespace {

constexpr const char* kGraphName = "WebSocketFilterGraph";

}  // namespace

TWebSocketFilterGraph::TWebSocketFilterGraph(std::shared_ptr<IErrorBox> errorBox) : errorBox_(std::move(errorBox)) {}

TWebSocketFilterGraph::~TWebSocketFilterGraph() { Shutdown(); }

void TWebSocketFilterGraph::Log(const std::string& text) {
    if (OnLog) OnLog(*this, text);
}

bool TWebSocketFilterGraph::Fail(const std::string& text) {
    Log(text);
    ReleaseGraph();
    return false;
}

bool TWebSocketFilterGraph::Init() {
    built_ = InitGraphShowingErrors(errorBox_.get(), kGraphName, [this] { return BuildSteps(); },
                                    [this] { ReleaseGraph(); });
    return built_;
}

bool TWebSocketFilterGraph::BuildGraph() {
    built_ = BuildGraphGuarded([this] { return BuildSteps(); }, [this] { ReleaseGraph(); }) ==
             TGraphBuildOutcome::Built;
    return built_;
}

bool TWebSocketFilterGraph::BuildSteps() {
    built_ = false;
    // The graph of an earlier build goes, and with it its media control: the next Run works on this one.
    LeaveRot(rotCookie_);
    ReleaseGraph();
    audioGrab_.Reset();
    audioFilter_.Reset();

    HRESULT hr = CoCreate(CLSID_FilterGraph, graph_);
    if (FAILED(hr)) return Fail("Create FilterGraph - " + HResultText(hr));
    Log("Create FilterGraph");

    if (FAILED(hr = CoCreate(CLSID_AudioGrabFilter, audioFilter_))) return Fail(HResultText(hr));
    if (FAILED(hr = graph_->AddFilter(audioFilter_.Get(), "AudioGrab"))) return Fail(HResultText(hr));
    if (FAILED(hr = audioFilter_.As(audioGrab_))) return Fail(HResultText(hr));
    if ((hr = audioGrab_->SetActive(TRUE)) != S_OK) return Fail(HResultText(hr));
    Log("AudioGrab: ");
    ComPtr<IPin> audioOut = FirstPin(audioFilter_.Get(), PINDIR_OUTPUT);
    if (!audioOut) return Fail("pAudioGrab output pin error");

    if (FAILED(hr = CoCreate(CLSID_Orbelle, sinkFilter_))) return Fail(HResultText(hr));
    if (FAILED(hr = graph_->AddFilter(sinkFilter_.Get(), "WebSocket"))) return Fail(HResultText(hr));
    ComPtr<IOrbelleData> sinkData;
    if (FAILED(hr = sinkFilter_.As(sinkData))) return Fail(HResultText(hr));
    hr = sinkData->SetupDravenel(params_.Port, params_.IpAddr, kSinkBufferBytes, false, ftUnk, 0, siWebSocket);
    if (FAILED(hr)) return Fail(HResultText(hr));
    Log("Setup WebSocket: " + DottedAddress(params_.IpAddr) + ":" + std::to_string(params_.Port));
    ComPtr<IPin> sinkIn = FirstPin(sinkFilter_.Get(), PINDIR_INPUT);
    if (!sinkIn) return Fail("pOrbelle input pin error");

    if (FAILED(hr = graph_->Connect(audioOut.Get(), sinkIn.Get()))) {
        Log("Connect ColorConverter DMO - " + HResultText(hr));
        return false;  // the filters stay in the graph; Run refuses a graph that is not built
    }

    rotCookie_ = 0;
    if (params_.AddToRot) AddGraphToRot(graph_.Get(), rotCookie_);
    return true;
}

void TWebSocketFilterGraph::ReleaseGraph() {
    control_.Reset();
    sinkFilter_.Reset();
    graph_.Reset();
    built_ = false;
}

bool TWebSocketFilterGraph::Run() {
    return built_ && RunGraph(graph_, control_, [this](const std::string& text) { Log(text); });
}

bool TWebSocketFilterGraph::Stop() {
    built_ = false;
    return StopGraph(control_.Get(), [this](const std::string& text) { Log(text); });
}

HRESULT TWebSocketFilterGraph::AddGraphToRot(IUnknown* graph, DWORD& cookie) {
    return engine::AddGraphToRot(graph, cookie, [this](const std::string& text) { Log(text); });
}

void TWebSocketFilterGraph::RemoveGraphFromRot(DWORD cookie) { engine::RemoveGraphFromRot(cookie); }

void TWebSocketFilterGraph::Shutdown() {
    Stop();
    LeaveRot(rotCookie_);
    ReleaseGraph();
    audioGrab_.Reset();
    audioFilter_.Reset();
}

}  // namespace engine
