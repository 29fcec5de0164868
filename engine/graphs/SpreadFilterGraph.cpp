#include "engine/graphs/SpreadFilterGraph.h"

#include <exception>

#include "engine/graphs/GraphBuildBox.h"
#include "engine/graphs/GraphControl.h"
#include "engine/graphs/GraphErrorText.h"
#include "engine/graphs/GraphPins.h"
#include "engine/graphs/RunningObjectTable.h"
#include "platform/dshow/dshow_log.h"
#include "platform/filters/AudioGrabData.h"

namespace engine {
namespace {

constexpr const char* kGraphName = "SpreadFilterGraph";
constexpr const char* kProbeBoxCaption = "ERROR";

}  // namespace

TSpreadFilterGraph::TSpreadFilterGraph(const TFgSpreadInputParams& params, std::shared_ptr<IErrorBox> errorBox)
    : params_(params), errorBox_(std::move(errorBox)) {}

TSpreadFilterGraph::~TSpreadFilterGraph() { Shutdown(); }

void TSpreadFilterGraph::Log(const std::string& text) {
    if (OnLog) OnLog(*this, text);
}

bool TSpreadFilterGraph::Fail(const std::string& text) {
    if (!text.empty()) Log(text);
    ReleaseGraph();
    return false;
}

bool TSpreadFilterGraph::Init() {
    built_ = InitGraphShowingErrors(errorBox_.get(), kGraphName, [this] { return BuildSteps(); },
                                    [this] { ReleaseGraph(); });
    return built_;
}

bool TSpreadFilterGraph::BuildGraph() {
    built_ = BuildGraphGuarded([this] { return BuildSteps(); }, [this] { ReleaseGraph(); }) ==
             TGraphBuildOutcome::Built;
    return built_;
}

bool TSpreadFilterGraph::BuildSteps() {
    built_ = false;
    ReleaseGraph();  // a rebuild starts from nothing
    HRESULT hr = CoCreate(CLSID_FilterGraph, graph_);
    if (FAILED(hr)) return Fail("Create FilterGraph - " + HResultText(hr));
    Log("Create FilterGraph");
    if (params_.UseScreenFilter != 1) return Fail("");

    ComPtr<IBaseFilter> screen;
    if (FAILED(hr = CoCreate(CLSID_ScreenCaptureFilter, screen))) return Fail(HResultText(hr));
    screenFilter_ = screen;
    if (FAILED(hr = graph_->AddFilter(screen.Get(), "Screen Capture"))) return Fail(HResultText(hr));
    ComPtr<IScreenCaptureData> screenData;
    if (FAILED(hr = screen.As(screenData))) return Fail(HResultText(hr));
    {
        std::lock_guard lock(imageMutex_);
        screenData_ = screenData;
    }
    hr = screenData->SetCaptureParams(PackScreenCaptureFilterParams(params_.ScreenCapture));
    if (hr != S_OK) return Fail(HResultText(hr));
    Log("ScreenCapture: ");
    ComPtr<IPin> screenOut = FirstPin(screen.Get(), PINDIR_OUTPUT);
    if (!screenOut) return Fail("pScreenCapture output pin error");

    if (FAILED(hr = CoCreate(CLSID_DMOWrapperFilter, dmoFilter_))) return Fail("Create DMO Filter - " + HResultText(hr));
    if (FAILED(hr = dmoFilter_.As(dmoWrapper_))) return Fail("Create DMO wrapper - " + HResultText(hr));
    if (FAILED(hr = dmoWrapper_->Init(CLSID_CColorConvertDMO, DMOCATEGORY_VIDEO_EFFECT)))
        return Fail("Init DMO wrapper - " + HResultText(hr));
    if (FAILED(hr = graph_->AddFilter(dmoFilter_.Get(), "DMO ColorConverter"))) return Fail(HResultText(hr));
    ComPtr<IPin> dmoIn = FirstPin(dmoFilter_.Get(), PINDIR_INPUT);
    if (!dmoIn) return Fail("pDmo input pin error");
    if (FAILED(hr = graph_->ConnectDirect(screenOut.Get(), dmoIn.Get(), nullptr))) {
        Log("Connect ScreenCapture - " + HResultText(hr));
        return false;  // the filters stay in the graph
    }

    ComPtr<IPin> dmoOut = FirstPin(dmoFilter_.Get(), PINDIR_OUTPUT);
    if (!dmoOut) return Fail("pDmo output pin error");
    if (FAILED(hr = CoCreate(CLSID_Orbelle, sinkFilter_))) return Fail(HResultText(hr));
    if (FAILED(hr = graph_->AddFilter(sinkFilter_.Get(), "IP Sink"))) return Fail(HResultText(hr));
    if (FAILED(hr = SetupSink())) return Fail(HResultText(hr));
    ComPtr<IPin> sinkIn = FirstPin(sinkFilter_.Get(), PINDIR_INPUT);
    if (!sinkIn) return Fail("pOrbelle input pin error");

    dshow::TMediaType yv12;
    const bool offered = FindOfferedType(dmoOut.Get(), MEDIASUBTYPE_YV12, yv12);
    if (FAILED(hr = graph_->ConnectDirect(dmoOut.Get(), sinkIn.Get(), offered ? yv12.get() : nullptr))) {
        Log("Connect ColorConverter DMO - " + HResultText(hr));
        return false;
    }

    rotCookie_ = 0;
    if (params_.AddToRot) AddGraphToRot(graph_.Get(), rotCookie_);
    return true;
}

HRESULT TSpreadFilterGraph::SetupSink() {
    ComPtr<IOrbelleData> sinkData;
    HRESULT hr = sinkFilter_.As(sinkData);
    if (FAILED(hr)) return hr;
    hr = sinkData->SetupDravenel(params_.SinkPort, kSinkAddress, kSinkBufferBytes, false, ftUnk, 0,
                                 params_.SinkInterface);
    if (SUCCEEDED(hr)) Log("SetupDravenel: " + std::to_string(params_.SinkPort));
    return hr;
}

int32_t TSpreadFilterGraph::SinkListeningPort() {
    ComPtr<IOrbelleListener> listener;
    if (!sinkFilter_ || FAILED(sinkFilter_.As(listener))) return 0;
    int32_t port = 0;
    return listener->GetListeningPort(&port) == S_OK ? port : 0;
}

bool TSpreadFilterGraph::MoveSinkTo(int32_t port) {
    if (!built_ || !sinkFilter_) return false;
    params_.SinkPort = port;
    const HRESULT hr = SetupSink();
    if (FAILED(hr)) Log(HResultText(hr));
    return SinkListeningPort() == port;
}

void TSpreadFilterGraph::ReleaseGraph() {
    control_.Reset();
    {
        std::lock_guard lock(imageMutex_);
        screenData_.Reset();
        frameStream_.Clear();
    }
    sinkFilter_.Reset();
    dmoWrapper_.Reset();
    dmoFilter_.Reset();
    screenFilter_.Reset();
    audioFilter_.Reset();
    graph_.Reset();
    built_ = false;
}

bool TSpreadFilterGraph::Run() {
    // A half-built graph must not report that it runs.
    return built_ && RunGraph(graph_, control_, [this](const std::string& text) { Log(text); });
}

bool TSpreadFilterGraph::Stop() {
    return StopGraph(control_.Get(), [this](const std::string& text) { Log(text); });
}

bool TSpreadFilterGraph::GetImage(platform::TBitmap* bitmap) {
    if (!bitmap) return false;
    std::lock_guard lock(imageMutex_);
    if (!screenData_) return false;
    if (!screenData_->GetImage(&frameStream_) || frameStream_.Size() == 0) return false;
    frameStream_.Seek(0);
    std::string error;
    if (!platform::DecodeBmp(frameStream_.Data(), frameStream_.Size(), *bitmap, &error)) {
        dshow::Log(std::string("[") + kGraphName + "] the screen-capture filter's picture is unreadable: " + error);
        return false;
    }
    screenData_->ReleaseImage();
    return true;
}

void TSpreadFilterGraph::ReleaseImage() {
    std::lock_guard lock(imageMutex_);
    if (screenData_) screenData_->ReleaseImage();
}

bool TSpreadFilterGraph::CheckFilters() {
    try {
        ComPtr<IGraphBuilder> graph;
        ComPtr<IBaseFilter> screen, sink, dmo, audio;
        bool all = true;
        auto create = [&](HRESULT hr, const char* name) {
            if (FAILED(hr)) {
                Log(std::string("CheckFilters: ") + name + " - " + HResultText(hr));
                all = false;
            }
        };
        create(CoCreate(CLSID_FilterGraph, graph), "FilterGraph");
        create(CoCreate(CLSID_ScreenCaptureFilter, screen), "ScreenCapture");
        create(CoCreate(CLSID_Orbelle, sink), "Orbelle32");
        create(CoCreate(CLSID_DMOWrapperFilter, dmo), "DMOWrapperFilter");
        create(CoCreate(CLSID_AudioGrabFilter, audio), "AudioGrab");
        graph_ = graph;
        screenFilter_ = screen;
        sinkFilter_ = sink;
        dmoFilter_ = dmo;
        audioFilter_ = audio;
        return all;
    } catch (const std::exception&) {
        return false;
    }
}

HRESULT TSpreadFilterGraph::AddGraphToRot(IUnknown* graph, DWORD& cookie) {
    return engine::AddGraphToRot(graph, cookie, [this](const std::string& text) { Log(text); });
}

void TSpreadFilterGraph::RemoveGraphFromRot(DWORD cookie) { engine::RemoveGraphFromRot(cookie); }

void TSpreadFilterGraph::Shutdown() {
    Stop();
    LeaveRot(rotCookie_);
    ReleaseGraph();
}

bool TSpreadFilterGraph::ProbeFilters(IErrorBox* errorBox) {
    TSpreadFilterGraph probe{TFgSpreadInputParams{}};
    if (probe.CheckFilters()) return true;
    if (errorBox) errorBox->ShowError(kProbeBoxCaption, kProbeFailedText);
    return false;
}

}  // namespace engine
