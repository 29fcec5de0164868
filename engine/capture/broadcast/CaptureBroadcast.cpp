#include "engine/capture/broadcast/CaptureBroadcast.h"

#include "engine/capture/broadcast/VlcOutputChain.h"

namespace engine {

std::string BroadcastOutput(const TScreenCaptureParams& params, const std::vector<std::string>& chains, int32_t segLen) {
    return "#" + TranscodeElement(VideoOption(params, segLen), AudioOption(params)) + JoinChains(chains);
}

TBroadcastStepResult PlayShareChains(TVlcBroadcast& broadcast, const TScreenCaptureParams& params, TShareChains chains,
                                     const TChainSettings& settings, int32_t internalPort, const CaptureLog& log) {
    TBroadcastStepResult result;
    if (params.capEncoder == kCapEncoderSystem) {
        result.Ok = true;  // dropped files only: no broadcast input
        return result;
    }
    result.HasChains = !chains.Chains.empty();
    result.HlsShares = std::move(chains.HlsShares);
    if (!result.HasChains) {
        result.Ok = true;  // snapshots or dropped files only
        return result;
    }
    if (!VideoCodecFitsTransportStream(params.vidCodec)) {
        if (log) log(CaptureLogPrefix(settings.CaptureIdx) + "VP8 video cannot be sent in an MPEG transport stream - choose another codec",
                     kLogLevelError);
        return result;
    }
    result.Ok = broadcast.Play(BroadcastInput(params, internalPort), BroadcastOutput(params, chains.Chains, settings.SegLen));
    return result;
}

TBroadcastStepResult RunBroadcastStep(TVlcBroadcast& broadcast, const TScreenCaptureParams& params,
                                      const std::vector<PCaptureStreamer>& shares, const TChainSettings& settings,
                                      int32_t internalPort, const CaptureLog& log) {
    TShareChains chains;
    if (params.capEncoder != kCapEncoderSystem) chains = BuildShareChains(shares, settings, log);
    return PlayShareChains(broadcast, params, std::move(chains), settings, internalPort, log);
}

}  // namespace engine
