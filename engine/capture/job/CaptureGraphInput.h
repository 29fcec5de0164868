// What a "DirectX" capture job hands to its capture graph: the screen-capture settings made from the
// job's settings and computed rectangle, with the sink as a TCP server on the job's internal port.
#pragma once

#include <vector>

#include "engine/capture/settings/CaptureRect.h"
#include "engine/capture/settings/CaptureStreamer.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/graphs/SpreadFilterGraph.h"

namespace engine {

// Without a share that publishes video the graph only feeds snapshots: it then runs at defFps
// (the DefFps setting) and does not scale.
TFgSpreadInputParams BuildCaptureGraphInput(const TScreenCaptureParams& params, const TCaptureGeometry& geometry,
                                            const std::vector<PCaptureStreamer>& shares, int32_t internalPort,
                                            int32_t defFps);

}  // namespace engine
