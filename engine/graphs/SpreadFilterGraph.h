// The capture graph of the "DirectX" capture method: the screen-capture filter feeds the colour
// converter, whose YV12 pictures go into the sink filter, a TCP server on 127.0.0.1 at the capture job's
// internal port, from which libVLC reads them.
//
// Everything but GetImage belongs to the user-interface thread. GetImage is called by snapshot threads;
// they hold the graph through a std::shared_ptr, so the object outlives every call. The capture job ends
// the graph with Shutdown when it stops (the sink then frees its port at once); a GetImage that comes
// later finds no filter and answers false.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/graphs/ErrorBox.h"
#include "engine/graphs/FgScreenCaptureInput.h"
#include "platform/dshow/MediaObject.h"
#include "platform/dshow/dshow.h"
#include "platform/filters/BmpCodec.h"
#include "platform/filters/MemoryStream.h"
#include "platform/filters/ScreenCaptureData.h"
#include "sinkfilter/if_orbelle.h"

namespace engine {

struct TFgSpreadInputParams {
    uint8_t UseScreenFilter = 0;  // 1: build the screen-capture graph; anything else builds nothing
    uint8_t AddToRot = 0;         // register the built graph in the running object table
    int32_t SinkPort = 0;         // port of the sink's TCP server
    TSinkInterface SinkInterface = siTcpServer;
    TFgScreenCaptureInput ScreenCapture;
};

class TSpreadFilterGraph {
public:
    using TLogEvent = std::function<void(TSpreadFilterGraph& sender, const std::string& text)>;

    static constexpr int32_t kSinkAddress = 0x7F000001;  // 127.0.0.1
    static constexpr int32_t kSinkBufferBytes = 32768;

    explicit TSpreadFilterGraph(const TFgSpreadInputParams& params, std::shared_ptr<IErrorBox> errorBox = nullptr);
    ~TSpreadFilterGraph();
    TSpreadFilterGraph(const TSpreadFilterGraph&) = delete;
    TSpreadFilterGraph& operator=(const TSpreadFilterGraph&) = delete;

    TLogEvent OnLog;  // raised on the user-interface thread only

    // Builds; on failure shows "Error: DirectX-Filtergraph initialization", when the build raised
    // "General Error: DirectX-Filtergraph initialization" (caption "Framewick").
    bool Init();
    bool BuildGraph();
    void ReleaseGraph();
    // False on a graph that was not fully built or that already runs.
    bool Run();
    bool Stop();
    // One picture of the capture area from the screen-capture filter; any thread, running or not.
    bool GetImage(platform::TBitmap* bitmap);
    void ReleaseImage();
    // Creates the filter graph, the screen-capture filter, the sink filter, the DMO wrapper and the
    // audio-grab filter, keeping them; true only when all five could be created.
    bool CheckFilters();
    HRESULT AddGraphToRot(IUnknown* graph, DWORD& cookie);
    void RemoveGraphFromRot(DWORD cookie);
    // The port the sink's own TCP server listens on; 0 when there is no sink or its port was taken (a
    // listener that is not the sink's is never reported).
    int32_t SinkListeningPort();
    // Sets the sink of the built, stopped graph up again on port (SinkPort becomes port); true when
    // the sink then listens there.
    bool MoveSinkTo(int32_t port);
    // What destruction does: Stop, leave the running object table, ReleaseGraph. Safe to call twice.
    void Shutdown();

    bool Built() const { return built_; }
    DWORD RotCookie() const { return rotCookie_; }
    const TFgSpreadInputParams& Params() const { return params_; }

    // The main window's start-up probe: a graph with default parameters runs CheckFilters; on failure the
    // box shows kProbeFailedText with the caption "ERROR" and the caller ends the program.
    static bool ProbeFilters(IErrorBox* errorBox);
    static constexpr const char* kProbeFailedText =
        "General Error : check DirectX installation and Filter registration!\r\nApplication cannot be started!";

private:
    bool BuildSteps();
    // SetupDravenel with SinkPort and the sink's fixed settings.
    HRESULT SetupSink();
    bool Fail(const std::string& text);  // logs (unless empty), releases, false
    void Log(const std::string& text);

    TFgSpreadInputParams params_;
    std::shared_ptr<IErrorBox> errorBox_;
    bool built_ = false;
    DWORD rotCookie_ = 0;

    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> screenFilter_;
    ComPtr<IBaseFilter> dmoFilter_;
    ComPtr<IDMOWrapperFilter> dmoWrapper_;
    ComPtr<IBaseFilter> sinkFilter_;
    ComPtr<IMediaControl> control_;
    ComPtr<IBaseFilter> audioFilter_;  // start-up probe only

    // GetImage may run on another thread: the filter's interface and the stream are guarded.
    std::mutex imageMutex_;
    ComPtr<IScreenCaptureData> screenData_;
    platform::TMemoryStream frameStream_;
};

}  // namespace engine
