// The broadcast step of a capture job's start: the shares' chains, the transcode element and the
// input joined into one broadcast that is added and played.
#pragma once

#include <vector>

#include "engine/capture/broadcast/ShareChains.h"
#include "engine/capture/broadcast/VlcBroadcast.h"
#include "engine/capture/settings/ScreenCaptureParams.h"

namespace engine {

struct TBroadcastStepResult {
    bool Ok = false;         // the broadcast runs, or there was nothing to broadcast
    bool HasChains = false;  // some share contributed a chain (the stream tick then runs)
    std::vector<PCaptureStreamer> HlsShares;
};

// The output text handed to libVLC: "#" + transcode element + joined chains.
std::string BroadcastOutput(const TScreenCaptureParams& params, const std::vector<std::string>& chains, int32_t segLen);

// Adds and plays the broadcast of chains built by BuildShareChains, when there are any. A job of
// method 2 broadcasts nothing. A codec that a transport stream cannot carry is refused with an error line.
TBroadcastStepResult PlayShareChains(TVlcBroadcast& broadcast, const TScreenCaptureParams& params, TShareChains chains,
                                     const TChainSettings& settings, int32_t internalPort, const CaptureLog& log);

// BuildShareChains, then PlayShareChains (method 2 builds no chains).
TBroadcastStepResult RunBroadcastStep(TVlcBroadcast& broadcast, const TScreenCaptureParams& params,
                                      const std::vector<PCaptureStreamer>& shares, const TChainSettings& settings,
                                      int32_t internalPort, const CaptureLog& log);

}  // namespace engine
