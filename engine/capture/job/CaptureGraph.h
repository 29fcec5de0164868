// The capture graph of a "DirectX" job as the job drives it: built (its sink then listens on the
// job's internal port, when it can have it), moved to another port when it cannot, run, and shut down
// when the job stops. The snapshot threads take their pictures from it through a source that keeps
// the graph alive as long as they hold it. TSpreadCaptureGraph is the real one; tests use a fake.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/capture/settings/SnapshotSource.h"
#include "engine/graphs/ErrorBox.h"
#include "engine/graphs/SpreadFilterGraph.h"

namespace engine {

class ICaptureGraph {
public:
    virtual ~ICaptureGraph() = default;
    // Builds the graph; true when every filter is in place and connected.
    virtual bool Init() = 0;
    // The port the graph's own sink listens on; 0 when it holds none (its port was taken).
    virtual int32_t ListeningPort() = 0;
    // Sets the built graph's sink up on port instead; true when the sink then listens there.
    virtual bool ListenOn(int32_t port) = 0;
    virtual bool Run() = 0;
    // Stops the graph and lets go of its filters (the sink frees its port). Safe to call twice.
    virtual void Shutdown() = 0;
    virtual std::shared_ptr<ISnapshotSource> SnapshotSource() = 0;
};

using TGraphLog = std::function<void(const std::string& text)>;
using TCaptureGraphFactory = std::function<std::shared_ptr<ICaptureGraph>(const TFgSpreadInputParams& input, TGraphLog log)>;

// The screen capture graph of the engine (TSpreadFilterGraph); its log lines go to log, a failed build
// is shown in errorBox (none: the line goes to the filter layer's log).
class TSpreadCaptureGraph final : public ICaptureGraph {
public:
    TSpreadCaptureGraph(const TFgSpreadInputParams& input, TGraphLog log, std::shared_ptr<IErrorBox> errorBox);
    ~TSpreadCaptureGraph() override;

    bool Init() override { return graph_->Init(); }
    int32_t ListeningPort() override { return graph_->SinkListeningPort(); }
    bool ListenOn(int32_t port) override { return graph_->MoveSinkTo(port); }
    bool Run() override { return graph_->Run(); }
    void Shutdown() override { graph_->Shutdown(); }
    std::shared_ptr<ISnapshotSource> SnapshotSource() override;

private:
    std::shared_ptr<TSpreadFilterGraph> graph_;
};

// Makes TSpreadCaptureGraphs that show their build failures in errorBox.
TCaptureGraphFactory SpreadCaptureGraphFactory(std::shared_ptr<IErrorBox> errorBox);

}  // namespace engine
