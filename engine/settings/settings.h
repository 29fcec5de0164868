// The program-wide settings kept in framewick.ini, named after their keys.
//
// Readers on any thread take Settings() (settings_store.h): an immutable snapshot that stays valid
// while they hold it. The user-interface thread changes settings by copying the snapshot, changing
// the copy and publishing it (PublishSettings / UpdateSettings); no reader ever sees a half-changed
// value.
#pragma once

#include <cstdint>
#include <string>

#include "engine/util/ip_address.h"
#include "engine/util/vlc_version.h"

namespace engine {

// The libVLC version word the program asks for (the ini's VlcVer default and its replacement for an
// empty value).
inline constexpr std::string_view kDefaultVlcVer = kRequiredVlcVersion;

// Archive pruning (ArchiveLimit).
enum : uint8_t { kArchiveNoPruning = 0, kArchivePruneBySize = 1, kArchivePruneByCount = 2 };

struct TSettings {
    // [General]
    std::string LogDir;   // the program's default: data folder + "Log/"
    bool LogError = true;
    bool LogWarning = true;
    bool LogInfo = true;
    bool ShowLog = false;
    bool SnmpActive = false;
    // [Http]
    int32_t Port = 80;
    int32_t Ip = kLoopbackAddress;
    bool AutoStart = false;
    std::string Root;     // the program's default: data folder + "WebServer/htdocs/"
    // [Hls]
    int32_t SegLen = 10;  // seconds
    int32_t NumSeg = 5;
    // [General]
    bool CenterApp = true;
    bool NotifyIcon = true;
    int32_t FtpErrThr = 3;
    int32_t FtpDelay = 10;  // seconds
    int32_t DirPrfxIdx = 0;
    std::string HtmlDir;     // the program's default: data folder + "HTML/"
    std::string ArchiveDir;  // the program's default: data folder + "Archive/"
    uint8_t ArchiveLimit = kArchiveNoPruning;
    int32_t ArchiveFile = 1000;  // files per archive sub-folder
    int32_t ArchiveSize = 1000;  // units of 1,000,000 bytes per archive sub-folder
    std::string VlcVer{kDefaultVlcVer};
    int32_t PngComp = 6;
    int32_t JpgComp = 95;
    bool BmpConvAct = true;
    bool Bmp2Jpg = false;
    bool Bmp2Png = true;
    bool Svg2Png = false;
    std::string JavaDir;
    std::string BatikDir;
    bool DeactScreenSaver = false;
    int32_t DefFps = 2;
    int32_t MinDiskSpace = 2;  // GB
    bool AskForDownload = true;

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

}  // namespace engine
