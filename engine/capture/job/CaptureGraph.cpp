#include "engine/capture/job/CaptureGraph.h"

#include "engine/capture/job/GraphSnapshotSource.h"

namespace engine {

TSpreadCaptureGraph::TSpreadCaptureGraph(const TFgSpreadInputParams& input, TGraphLog log,
                                         std::shared_ptr<IErrorBox> errorBox)
    : graph_(std::make_shared<TSpreadFilterGraph>(input, std::move(errorBox))) {
    if (log) graph_->OnLog = [log = std::move(log)](TSpreadFilterGraph&, const std::string& text) { log(text); };
}

// A snapshot thread may still hold the graph: it only loses its filters here, never its memory.
TSpreadCaptureGraph::~TSpreadCaptureGraph() {
    graph_->Shutdown();
    graph_->OnLog = nullptr;
}

std::shared_ptr<ISnapshotSource> TSpreadCaptureGraph::SnapshotSource() {
    return std::make_shared<TGraphSnapshotSource>(graph_);
}

TCaptureGraphFactory SpreadCaptureGraphFactory(std::shared_ptr<IErrorBox> errorBox) {
    return [errorBox](const TFgSpreadInputParams& input, TGraphLog log) -> std::shared_ptr<ICaptureGraph> {
        return std::make_shared<TSpreadCaptureGraph>(input, std::move(log), errorBox);
    };
}

}  // namespace engine
