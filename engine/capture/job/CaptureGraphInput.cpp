#include "engine/capture/job/CaptureGraphInput.h"

#include <algorithm>

namespace engine {

TFgSpreadInputParams BuildCaptureGraphInput(const TScreenCaptureParams& p, const TCaptureGeometry& g,
                                            const std::vector<PCaptureStreamer>& shares, int32_t internalPort,
                                            int32_t defFps) {
    const bool anyVideo = std::any_of(shares.begin(), shares.end(), [](const PCaptureStreamer& s) { return s->VideoActive; });
    const bool anyImage = std::any_of(shares.begin(), shares.end(), [](const PCaptureStreamer& s) { return s->ImageActive; });

    TFgSpreadInputParams input;
    input.UseScreenFilter = 1;
    input.AddToRot = 0;
    input.SinkPort = internalPort;
    input.SinkInterface = siTcpServer;

    TFgScreenCaptureInput& c = input.ScreenCapture;
    c.CaptureMode = p.capKind == kCapKindAllMonitors ? 1 : 2;
    // The window's names tell the filter to show that window only; other kinds name none.
    if (p.capKind == kCapKindWindow) {
        c.WindowClass = p.Window.sClass;
        c.WindowCaption = p.Window.sCaption;
    }
    c.Left = g.CaptureRect.Left;
    c.Top = g.CaptureRect.Top;
    c.Width = g.FrameWidth;
    c.Height = g.FrameHeight;
    c.OutWidth = g.ScaledWidth;
    c.OutHeight = g.ScaledHeight;
    c.FrameRate = anyVideo ? p.vidFrameRate : defFps;
    c.ScalePercent = anyVideo && p.bPreScale ? ScalePercent(p.vidScale) : 100;
    c.MonitorNo = p.capDesktopNo;
    c.CaptureMouse = p.bCapMouse ? 1 : 0;
    c.PixelFormat = p.capPixelFormat;
    c.SnapshotOutput = anyImage ? 1 : 0;
    c.ImageFreq = p.capImageFreq;
    c.TimeDisplayActive = p.capTimeDisplaybAct ? 1 : 0;
    c.TimeDisplayPos = p.capTimeDisplayiPos;
    c.TimeDisplayFont = p.capTimeDisplaysFont;  // the record cuts it at 100 characters
    c.TimeDisplaySize = p.capTimeDisplayiSize;
    c.TimeDisplayColor = p.capTimeDisplayiColor;
    c.TimeDisplayBold = p.capTimeDisplaybBold ? 1 : 0;
    c.TimeDisplayBkColor = p.capTimeDisplaysiBkgnd;
    c.TimeDisplayTransparent = p.capTimeDisplaysbTransp ? 1 : 0;
    c.VideoOutput = anyVideo ? 1 : 0;
    return input;
}

}  // namespace engine
