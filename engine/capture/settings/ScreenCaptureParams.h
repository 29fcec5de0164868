// The capture settings of one capture job: source, geometry, encoding, snapshot format, time stamp
// overlay and watched folder. Fields marked "run time" are worked out by the job and never stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/util/ip_address.h"
#include "platform/display/display.h"
#include "platform/display/geometry.h"

namespace engine {

// Capture methods (capEncoder).
constexpr uint8_t kCapEncoderVlc = 0;     // libVLC reads the screen or a transport stream itself
constexpr uint8_t kCapEncoderDirectX = 1; // capture graph with the sink filter
constexpr uint8_t kCapEncoderSystem = 2;  // image files from a folder, no encoding

// Source kinds (capKind).
constexpr uint8_t kCapKindAllMonitors = 0;
constexpr uint8_t kCapKindMonitor = 1;
constexpr uint8_t kCapKindWindow = 2;
constexpr uint8_t kCapKindArea = 3;
constexpr uint8_t kCapKindUdpStream = 4;
constexpr uint8_t kCapKindFiles = 5;

// Video codecs (vidCodec) and audio codecs (audCodec).
constexpr uint8_t kVidCodecNone = 0;
constexpr uint8_t kVidCodecNoOption = 1;
constexpr uint8_t kVidCodecH264 = 2;
constexpr uint8_t kVidCodecMp4v = 3;
constexpr uint8_t kVidCodecVp8 = 4;
constexpr uint8_t kVidCodecH265 = 5;
constexpr uint8_t kAudCodecNone = 0;
constexpr uint8_t kAudCodecMp3 = 2;

constexpr size_t kMaxTimeDisplayFontLength = 100;
constexpr int32_t kMinVideoBitrate = 50;     // kbit/s
constexpr int32_t kMaxVideoBitrate = 10000;  // kbit/s
constexpr int32_t kMinFrameRate = 1;         // frames per second
constexpr int32_t kMaxFrameRate = 100;

// Where the followed window stands, as last said in the log: shown, hidden (it exists but is not on
// screen: unmapped, minimised, hidden into a tray) or not found (never found, or gone).
enum class TWindowState : uint8_t { Unknown, Shown, Hidden, NotFound };

struct TCaptureWindow {
    platform::WindowId Handle = platform::kNoWindow;  // run time
    std::string sCaption;
    std::string sClass;
    int32_t Left = 0;  // run time: the window's last known rectangle
    int32_t Top = 0;
    int32_t Width = 100;
    int32_t Height = 100;
    bool bAdjust = true;
    TWindowState ReportedState = TWindowState::Unknown;  // run time
    // Run time: the window's screen rectangle when it was last seen shown; a hidden or gone window is
    // captured as black pictures of this size.
    std::optional<platform::TRect> LastShownRect;
};

struct TCaptureFile {
    std::string capFilesDir;  // a prefix: ends with "/"
    uint8_t capiFileFmt = 4;  // 0 BMP, 1 JPEG, 2 SVG, 3 PNG, 4 nothing
    bool capbDelete = true;
    int32_t capiFreq = 5;
};

struct TScreenCaptureParams {
    uint8_t capEncoder = kCapEncoderDirectX;
    uint8_t capKind = kCapKindMonitor;
    int32_t capDesktopNo = 1;
    TCaptureWindow Window;
    int32_t iLeft = 100;
    int32_t iTop = 0;
    int32_t iWidth = 100;
    int32_t iHeight = 100;
    uint8_t vidCodec = kVidCodecH264;
    uint8_t vidScale = 0;
    int32_t vidBitrate = 1000;
    int32_t vidFrameRate = 20;
    uint8_t audCodec = kAudCodecMp3;
    int32_t audBitrate = 96;
    bool bPreScale = false;
    std::string capVlcLibPath;
    std::string capInputStr = "screen://";
    int32_t capUdpIp = kLoopbackAddress;
    int32_t capUdpPort = 30000;
    platform::TRect CaptureRect;  // run time
    int32_t RectWidth = 0;        // run time
    int32_t RectHeight = 0;       // run time
    int32_t FrameWidth = 0;       // run time: size of the raw picture
    int32_t FrameHeight = 0;      // run time
    int32_t ScaledWidth = 0;      // run time: size after the capture filter scaled; 0 when it does not
    int32_t ScaledHeight = 0;     // run time
    bool bCapMouse = false;
    uint8_t capPixelFormat = 6;
    int32_t capPmtPid = 100;
    int32_t capVidPid = 101;
    int32_t capAudPid = 102;
    int32_t capImageFreq = 5;
    uint8_t capImageFormat = 0;  // 0 PNG, 1 JPEG, 2 BMP
    int32_t capImagePngComp = 9;
    int32_t capImageJpgComp = 95;
    bool capImagebArchive = false;
    bool capTimeDisplaybAct = false;
    uint8_t capTimeDisplayiPos = 1;
    std::string capTimeDisplaysFont = "Courier New";  // at most kMaxTimeDisplayFontLength characters
    int32_t capTimeDisplayiSize = 10;
    int32_t capTimeDisplayiColor = 0xFFFF;       // yellow (0x00BBGGRR)
    bool capTimeDisplaybBold = true;
    int32_t capTimeDisplaysiBkgnd = 0x800000;    // navy
    bool capTimeDisplaysbTransp = false;
    TCaptureFile Files;
};

// Every default of the record, run-time fields zero.
void SetDefaultParams(TScreenCaptureParams& params);

}  // namespace engine
