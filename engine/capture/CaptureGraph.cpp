#include "engine/capture/CaptureGraph.h"

#include "engine/capture/DelayWithMessages.h"
#include "engine/capture/GraphSnapshotSource.h"
#include "engine/capture/LoopbackListener.h"

namespace engine {

TSpreadCaptureGraph::TSpreadCaptureGraph(const TFgSpreadInputParams& input, TGraphLog log)
    : graph_(std::make_shared<TSpreadFilterGraph>(input)) {
    if (log) graph_->OnLog = [log = std::move(log)](TSpreadFilterGraph&, const std::string& text) { log(text); };
}

// A snapshot thread may still hold the graph: it only loses its filters here, never its memory.
TSpreadCaptureGraph::~TSpreadCaptureGraph() {
    graph_->Shutdown();
    graph_->OnLog = nullptr;
}

bool TSpreadCaptureGraph::WaitUntilListening(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!IsLoopbackPortListening(graph_->Params().SinkPort)) {
        if (std::chrono::steady_clock::now() >= end) return false;
        DelayWithMessages(static_cast<unsigned>(kSinkListenPollStep.count()));
    }
    return true;
}

std::shared_ptr<ISnapshotSource> TSpreadCaptureGraph::SnapshotSource() {
    return std::make_shared<TGraphSnapshotSource>(graph_);
}

std::shared_ptr<ICaptureGraph> MakeSpreadCaptureGraph(const TFgSpreadInputParams& input, TGraphLog log) {
    return std::make_shared<TSpreadCaptureGraph>(input, std::move(log));
}

}  // namespace engine
