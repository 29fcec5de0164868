#include "engine/capture/broadcast/VlcArguments.h"

#include <algorithm>

namespace engine {
namespace {

std::string Arg(const char* name, int64_t value) { return std::string(name) + std::to_string(value); }

// libVLC's screen module wants even sizes (101 becomes 102) of at least one picture step.
int32_t ScreenSize(int32_t size) { return std::max(size + size % 2, kMinFrameSize); }

void AddScreenArea(std::vector<std::string>& args, int32_t left, int32_t top, int32_t width, int32_t height) {
    args.push_back(Arg("--screen-top=", top));
    args.push_back(Arg("--screen-left=", left));
    args.push_back(Arg("--screen-width=", ScreenSize(width)));
    args.push_back(Arg("--screen-height=", ScreenSize(height)));
}

}  // namespace

int32_t ClampedFrameRate(int32_t vidFrameRate) { return std::clamp(vidFrameRate, kMinFrameRate, kMaxFrameRate); }

std::vector<std::string> BuildVlcArguments(const TScreenCaptureParams& p, const TCaptureGeometry& g) {
    // libVLC 3.0 has no --plugin-path and no --overlay any more: it only warns about them on stderr at
    // every instance. The plugins are found through VLC_PLUGIN_PATH, which the binding sets when it
    // loads the library.
    std::vector<std::string> args = {"--ignore-config", "--no-video-title-show", "--no-snapshot-preview"};
    if (p.capVidPid != 0) args.push_back(Arg("--sout-ts-pid-video=", p.capVidPid));
    if (p.capAudPid != 0) args.push_back(Arg("--sout-ts-pid-audio=", p.capAudPid));
    if (p.capPmtPid != 0) args.push_back(Arg("--sout-ts-pid-pmt=", p.capPmtPid));
    args.push_back("--sout-x264-preset=ultrafast");

    const int32_t fps = ClampedFrameRate(p.vidFrameRate);
    if (p.capEncoder == kCapEncoderDirectX) {
        const int32_t width = g.ScaledWidth != 0 ? g.ScaledWidth : g.FrameWidth;
        const int32_t height = g.ScaledHeight != 0 ? g.ScaledHeight : g.FrameHeight;
        args.insert(args.end(), {"--demux=rawvideo", Arg("--rawvid-fps=", fps), Arg("--rawvid-width=", width),
                                 Arg("--rawvid-height=", height), "--rawvid-chroma=YV12", "--sout-keep",
                                 "--network-caching=1000"});
    } else if (p.capEncoder == kCapEncoderVlc) {
        if (p.capKind == kCapKindWindow)
            AddScreenArea(args, g.Window.Left, g.Window.Top, g.Window.Width, g.Window.Height);
        else if (p.capKind == kCapKindArea)
            AddScreenArea(args, p.iLeft, p.iTop, p.iWidth, p.iHeight);
        else if (p.capKind == kCapKindUdpStream)
            args.insert(args.end(), {"--ts-es-id-pid", "--sout-ts-es-id-pid"});
        // "--screen-fragment-size" exists only on Windows: libVLC 3.0 on Linux refuses to start with it.
        args.insert(args.end(), {Arg("--screen-fps=", fps), "--sout-keep", "--sout-all", "--live-caching=500",
                                 "--network-caching=3000", "--avcodec-hw=any"});
    }
    return args;
}

}  // namespace engine
