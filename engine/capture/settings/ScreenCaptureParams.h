// The capture settings of one capture job: source, geometry, encoding, snapshot format, time stamp
// overlay and watched folder, as capture.xml holds them. What the job works out of them while it runs
// (the window it follows, the capture rectangle and the picture sizes) is the job's own: CaptureRect.h.
#pragma once

#include <cstdint>
#include <string>

#include "engine/util/ip_address.h"

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

// The window a window capture follows, found by class and caption.
struct TCaptureWindow {
    std::string sCaption;
    std::string sClass;
    bool bAdjust = true;  // clip the window's rectangle to the screen
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

// Every default of the record.
void SetDefaultParams(TScreenCaptureParams& params);

}  // namespace engine
