// The capture graph of a "DirectX" job as the job drives it: built (its sink then listens on the
// job's internal port), run, and shut down when the job stops. The snapshot threads take their
// pictures from it through a source that keeps the graph alive as long as they hold it.
// TSpreadCaptureGraph is the real one; tests use a fake.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "engine/capture/SnapshotSource.h"
#include "engine/graphs/SpreadFilterGraph.h"

namespace engine {

class ICaptureGraph {
public:
    virtual ~ICaptureGraph() = default;
    // Builds the graph; true when every filter is in place and connected.
    virtual bool Init() = 0;
    // True once the sink accepts connections on its port; false when it still does not after timeout.
    virtual bool WaitUntilListening(std::chrono::milliseconds timeout) = 0;
    virtual bool Run() = 0;
    // Stops the graph and lets go of its filters (the sink frees its port). Safe to call twice.
    virtual void Shutdown() = 0;
    virtual std::shared_ptr<ISnapshotSource> SnapshotSource() = 0;
};

using TGraphLog = std::function<void(const std::string& text)>;
using TCaptureGraphFactory = std::function<std::shared_ptr<ICaptureGraph>(const TFgSpreadInputParams& input, TGraphLog log)>;

// The sink listens from a thread of its own, retrying while the port is still taken: how often the
// job looks whether it does.
constexpr std::chrono::milliseconds kSinkListenPollStep{10};

// The screen capture graph of the engine (TSpreadFilterGraph); its log lines go to log.
class TSpreadCaptureGraph final : public ICaptureGraph {
public:
    TSpreadCaptureGraph(const TFgSpreadInputParams& input, TGraphLog log);
    ~TSpreadCaptureGraph() override;

    bool Init() override { return graph_->Init(); }
    bool WaitUntilListening(std::chrono::milliseconds timeout) override;
    bool Run() override { return graph_->Run(); }
    void Shutdown() override { graph_->Shutdown(); }
    std::shared_ptr<ISnapshotSource> SnapshotSource() override;

private:
    std::shared_ptr<TSpreadFilterGraph> graph_;
};

std::shared_ptr<ICaptureGraph> MakeSpreadCaptureGraph(const TFgSpreadInputParams& input, TGraphLog log);

}  // namespace engine
