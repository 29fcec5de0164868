// The capture graph as a snapshot source. The snapshot thread holds the graph through this object, so
// the graph outlives every GetImage even when the job lets go of it first.
#pragma once

#include <memory>

#include "engine/capture/settings/SnapshotSource.h"
#include "engine/graphs/SpreadFilterGraph.h"

namespace engine {

class TGraphSnapshotSource final : public ISnapshotSource {
public:
    explicit TGraphSnapshotSource(std::shared_ptr<TSpreadFilterGraph> graph) : graph_(std::move(graph)) {}
    bool GetImage(platform::TBitmap& picture) override { return graph_ && graph_->GetImage(&picture); }

private:
    const std::shared_ptr<TSpreadFilterGraph> graph_;
};

}  // namespace engine
