// The web-socket audio graph: the audio-grab filter feeds the sink filter, set up as a web-socket server
// on the web socket's address and port; every connected client receives the sound as binary messages.
//
// One object per web-socket entry, living as long as the entry. Each start of the linked capture service
// gives the parameters (SetParams), builds a fresh graph (Init) and runs it; the stop stops it and clears
// Built, so the next start builds again with the parameters given then. Everything runs on the
// user-interface thread; the sound flows on the graph's streaming thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/graphs/ErrorBox.h"
#include "platform/dshow/dshow.h"
#include "platform/filters/AudioGrabData.h"
#include "sinkfilter/if_orbelle.h"

namespace engine {

struct TWebSocketGraphParams {
    int32_t IpAddr = 0x7F000001;  // the address the web-socket server listens on (shared IPv4 integer)
    int32_t Port = 8080;
    bool AddToRot = false;        // register the built graph in the running object table
};

class TWebSocketFilterGraph {
public:
    using TLogEvent = std::function<void(TWebSocketFilterGraph& sender, const std::string& text)>;

    static constexpr int32_t kSinkBufferBytes = 32768;

    explicit TWebSocketFilterGraph(std::shared_ptr<IErrorBox> errorBox = nullptr);
    ~TWebSocketFilterGraph();
    TWebSocketFilterGraph(const TWebSocketFilterGraph&) = delete;
    TWebSocketFilterGraph& operator=(const TWebSocketFilterGraph&) = delete;

    TLogEvent OnLog;

    void SetParams(const TWebSocketGraphParams& params) { params_ = params; }
    // Builds; on failure shows "Error: DirectX-Filtergraph initialization", when the build raised
    // "General Error: DirectX-Filtergraph initialization" (caption "Framewick").
    bool Init();
    bool BuildGraph();
    // Releases the graph, the sink and the media control; the audio-grab filter stays until the next
    // build or the end of the object.
    void ReleaseGraph();
    // False on a graph that was not fully built or that already runs.
    bool Run();
    // Stops a running graph (the sink's server closes); true only when the stop succeeded. Built is false
    // afterwards in every case.
    bool Stop();
    HRESULT AddGraphToRot(IUnknown* graph, DWORD& cookie);
    void RemoveGraphFromRot(DWORD cookie);
    // What destruction does: Stop, leave the running object table, release everything. Safe to call twice.
    void Shutdown();

    bool Built() const { return built_; }
    DWORD RotCookie() const { return rotCookie_; }
    const TWebSocketGraphParams& Params() const { return params_; }

private:
    bool BuildSteps();
    bool Fail(const std::string& text);  // logs, releases, false
    void Log(const std::string& text);

    TWebSocketGraphParams params_;
    std::shared_ptr<IErrorBox> errorBox_;
    bool built_ = false;
    DWORD rotCookie_ = 0;

    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> sinkFilter_;
    ComPtr<IMediaControl> control_;
    ComPtr<IBaseFilter> audioFilter_;
    ComPtr<IAudioGrab> audioGrab_;
};

}  // namespace engine
