#include "engine/capture/broadcast/VlcOutputChain.h"

#include <algorithm>

#include "engine/capture/broadcast/VlcArguments.h"
#include "engine/capture/settings/CaptureRect.h"
#include "engine/util/ftp_names.h"
#include "platform/util/ascii_case.h"

namespace engine {

std::string BroadcastInput(const TScreenCaptureParams& p, int32_t internalPort) {
    if (p.capEncoder == kCapEncoderDirectX) return "tcp://127.0.0.1:" + std::to_string(internalPort);
    if (p.capEncoder != kCapEncoderVlc) return {};
    if (p.capKind == kCapKindUdpStream) return "udp://@" + DottedAddress(p.capUdpIp) + ":" + std::to_string(p.capUdpPort);
    return "screen://";
}

std::string TranscodeScaleText(const TScreenCaptureParams& p) {
    if (p.capEncoder == kCapEncoderVlc) return Method0ScaleText(p.vidScale);
    return p.bPreScale ? "1" : ScaleIndexToStr(p.vidScale);  // the filter has scaled already
}

std::string VideoOption(const TScreenCaptureParams& p, int32_t segLenSeconds) {
    const std::string rate = ",vb=" + std::to_string(p.vidBitrate) + ",scale=" + TranscodeScaleText(p);
    switch (p.vidCodec) {
        case kVidCodecNone:
            return "vcodec=none";
        case kVidCodecH264: {
            const int32_t keyint = ClampedFrameRate(p.vidFrameRate) * std::max(segLenSeconds, 1);
            return "vcodec=h264" + rate + ",venc=x264{keyint=" + std::to_string(keyint) + "}";
        }
        case kVidCodecMp4v:
            return "vcodec=mp4v" + rate;
        case kVidCodecVp8:
            return "vcodec=VP80" + rate;
        case kVidCodecH265:
            return "vcodec=h265" + rate;
        default:
            return {};
    }
}

std::string AudioOption(const TScreenCaptureParams& p) {
    if (p.audCodec == kAudCodecNone) return "acodec=none";
    if (p.audCodec == kAudCodecMp3) return "acodec=MP3,ab=" + std::to_string(p.audBitrate);
    return {};
}

std::string TranscodeElement(const std::string& video, const std::string& audio) {
    if (video.empty() && audio.empty()) return {};
    const bool videoNone = video.find("vcodec=none") != std::string::npos;
    if ((videoNone && (audio == "acodec=none" || audio.empty())) || (video.empty() && audio == "acodec=none"))
        return "transcode{}:";
    std::string options = video;
    if (!audio.empty()) options += (options.empty() ? "" : ",") + audio;
    return "transcode{" + options + "}:";
}

bool VideoCodecFitsTransportStream(uint8_t vidCodec) { return vidCodec != kVidCodecVp8; }

std::optional<std::string> QuoteChainValue(std::string_view value) {
    for (const char c : value)
        if (c == '{' || c == '}' || c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
            return std::nullopt;
    return "\"" + std::string(value) + "\"";
}

std::string SegmentUrlBase(std::string_view host) {
    const std::string server = FtpServerAddress(host);
    if (server.empty()) return {};
    const std::string_view written = host.substr(std::min(host.find_first_not_of(' '), host.size()));
    return (platform::AsciiLower(written.substr(0, 8)) == "https://" ? "https://" : "http://") + server;
}

std::optional<std::string> HlsChain(const THlsChainParams& hls) {
    const auto index = QuoteChainValue(hls.Folder + hls.StreamName + ".m3u8");
    const auto indexUrl = QuoteChainValue(hls.UrlBase + "/" + hls.UrlDir + hls.StreamName + kSegmentNumberPattern);
    const auto dst = QuoteChainValue(hls.Folder + hls.StreamName + kSegmentNumberPattern);
    if (!index || !indexUrl || !dst) return std::nullopt;
    return "std{access=livehttp{seglen=" + std::to_string(hls.SegLen) + ",delsegs=true,numsegs=" +
           std::to_string(hls.NumSeg) + ",index=" + *index + ",index-url=" + *indexUrl + "}" +
           ",mux=ts{use-key-frames}" + ",dst=" + *dst + "}";
}

std::string UdpChain(int32_t ipAddr, int32_t port) {
    return "udp{mux=ts,dst=" + DottedAddress(ipAddr) + ":" + std::to_string(port) + "}";
}

std::string JoinChains(const std::vector<std::string>& chains) {
    if (chains.size() == 1) return chains.front();
    if (chains.empty()) return {};
    std::string joined = "duplicate{";
    for (size_t i = 0; i < chains.size(); ++i) joined += (i == 0 ? "dst=" : ",dst=") + chains[i];
    return joined + "}";
}

}  // namespace engine
