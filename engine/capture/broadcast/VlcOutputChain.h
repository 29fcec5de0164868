// The texts of a libVLC broadcast: its input, the transcode element, one output chain per share (HLS
// into a web-server folder, a transport stream over UDP) and their joining.
//
// Values that come from settings (folders, host names) are put in double quotes, so ",", blanks and
// apostrophes stay inside their value. Braces, double quotes and backslashes cannot be carried through
// libVLC's nested chain syntax at all: a value holding one is refused instead of being allowed to
// break the chain.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/util/ip_address.h"

namespace engine {

constexpr const char* kSegmentNumberPattern = "_########.ts";  // libVLC puts the segment number there

// "udp://@address:port" (method 0, kind 4), "screen://" (other method-0 kinds),
// "tcp://127.0.0.1:" + internalPort (method 1), "" for method 2.
std::string BroadcastInput(const TScreenCaptureParams& params, int32_t internalPort);

// The scale text of the transcode element for the job's method.
std::string TranscodeScaleText(const TScreenCaptureParams& params);
// The video option; for H.264 the encoder's key-frame interval is one segment (frame rate x
// segLenSeconds), since libVLC cuts HLS segments only at key frames.
std::string VideoOption(const TScreenCaptureParams& params, int32_t segLenSeconds);
std::string AudioOption(const TScreenCaptureParams& params);
// "" when both options are empty, "transcode{}:" when both say none, else "transcode{...}:".
std::string TranscodeElement(const std::string& videoOption, const std::string& audioOption);

// False for codecs an MPEG transport stream cannot carry (VP8): libVLC accepts such a broadcast and
// then drops its video, so it is refused before it is added.
bool VideoCodecFitsTransportStream(uint8_t vidCodec);

// value in double quotes; none when it holds a character that cannot be carried safely.
std::optional<std::string> QuoteChainValue(std::string_view value);

// The segment address prefix for a host as a share names it: "https://" when the host says so, else
// "http://" (a player fetches segments over HTTP, whatever scheme an FTP host was written with), then
// the server part as the FTP mirror takes it ("ftp://Host:2121/x" -> "http://Host:2121"); "" when
// the host has no usable server part.
std::string SegmentUrlBase(std::string_view host);

struct THlsChainParams {
    std::string Folder;      // the share folder, trailing "/"
    std::string StreamName;  // base name of playlist and segments
    std::string UrlBase;     // SegmentUrlBase of the host
    std::string UrlDir;      // folder part of the segment addresses ("pc1/", "live/", or "")
    int32_t SegLen = 10;
    int32_t NumSeg = 5;
};
// The livehttp chain; none when a value cannot be carried safely.
std::optional<std::string> HlsChain(const THlsChainParams& hls);
std::string UdpChain(int32_t ipAddr, int32_t port);
// One chain stands alone; several become "duplicate{dst=...,dst=...}".
std::string JoinChains(const std::vector<std::string>& chains);

}  // namespace engine
