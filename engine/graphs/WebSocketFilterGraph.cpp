#include "engine/graphs/WebSocketFilterGraph.h"

#include <exception>

#include "engine/graphs/GraphBuildBox.h"
#include "engine/graphs/GraphControl.h"
#include "engine/graphs/GraphErrorText.h"
#include "engine/graphs/GraphPins.h"
#include "engine/graphs/RunningObjectTable.h"
#include "engine/http/capture_http_server.h"

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
    try {
        built_ = BuildSteps();
        if (!built_) ShowGraphBuildError(errorBox_.get(), kGraphName, kGraphBuildFailedText);
    } catch (const std::exception&) {
        ReleaseGraph();
        built_ = false;
        ShowGraphBuildError(errorBox_.get(), kGraphName, kGraphBuildRaisedText);
    }
    return built_;
}

bool TWebSocketFilterGraph::BuildGraph() {
    try {
        built_ = BuildSteps();
    } catch (const std::exception&) {
        ReleaseGraph();
        built_ = false;
    }
    return built_;
}

bool TWebSocketFilterGraph::BuildSteps() {
    built_ = false;
    // The graph of an earlier build goes, and with it its media control: the next Run works on this one.
    if (rotCookie_ != 0) {
        RemoveGraphFromRot(rotCookie_);
        rotCookie_ = 0;
    }
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
    Log("Setup WebSocket: " + IpAddrToText(static_cast<uint32_t>(params_.IpAddr)) + ":" + std::to_string(params_.Port));
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
    try {
        if (!graph_ || !built_) return false;
        if (!control_) {
            const HRESULT hr = graph_.As(control_);
            if (FAILED(hr)) {
                Log(HResultText(hr));
                return false;
            }
        }
        return RunGraphControl(graph_.Get(), control_.Get());
    } catch (const std::exception&) {
        return false;
    }
}

bool TWebSocketFilterGraph::Stop() {
    built_ = false;
    try {
        std::string failure;
        const bool stopped = StopGraphControl(control_.Get(), &failure);
        if (!failure.empty()) Log(failure);
        return stopped;
    } catch (const std::exception&) {
        return false;
    }
}

HRESULT TWebSocketFilterGraph::AddGraphToRot(IUnknown* graph, DWORD& cookie) {
    return engine::AddGraphToRot(graph, cookie, [this](const std::string& text) { Log(text); });
}

void TWebSocketFilterGraph::RemoveGraphFromRot(DWORD cookie) { engine::RemoveGraphFromRot(cookie); }

void TWebSocketFilterGraph::Shutdown() {
    Stop();
    if (rotCookie_ != 0) {
        RemoveGraphFromRot(rotCookie_);
        rotCookie_ = 0;
    }
    ReleaseGraph();
    audioGrab_.Reset();
    audioFilter_.Reset();
}

}  // namespace engine
