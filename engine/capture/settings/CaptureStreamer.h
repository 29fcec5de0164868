// One share of a capture job: an output into a web-server folder (HLS video, snapshots, dropped files)
// or a UDP destination, optionally mirrored to an FTP server.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/capture/settings/ShareHttpServer.h"
#include "engine/capture/settings/ShareWorker.h"
#include "platform/ui/message_target.h"

namespace engine {

constexpr uint8_t kShareProtocolHttp = 0;
constexpr uint8_t kShareProtocolUdp = 1;

// The colours of the share's indicator, in the order of the LED control's colour list.
enum class ShareLedColor : uint8_t { Red, Green, Yellow, Gray, Orange, Blue };

// What the share's indicator shows. The capture panel owns the indicator widget itself, finds the
// share by Index and paints this state; the engine never touches widgets.
struct TShareLedState {
    ShareLedColor Color = ShareLedColor::Gray;
    bool On = false;
};

constexpr const char* kDefaultFtpHost = "http://ftp.example.com";

struct TCaptureStreamer {
    int32_t Index = 0;           // share number; names the default page folder and the status tab
    int32_t CaptureIdx = 0;      // the owning capture job
    uint8_t Protocol = kShareProtocolUdp;
    int32_t IpAddr = 0x7F000001; // UDP destination (shared IPv4 integer)
    int32_t Port = 0;            // UDP destination port
    std::shared_ptr<IShareHttpServer> HttpServer;  // none: no web server bound
    std::string SubDir;          // sub-folder of the web server's root that receives the share's files
    bool Active = true;
    bool FtpActive = false;
    std::string FtpHost = kDefaultFtpHost;
    std::string FtpUser = "user";
    std::string FtpPassword;
    std::string FtpHostDir;
    bool FtpDeleteDir = true;
    int32_t FtpImageFreq = 5;
    bool VideoActive = true;
    bool ImageActive = false;
    std::string ImageDir = "Snapshot";  // stored only
    bool FileActive = false;
    std::string FileDir;                // stored only
    std::string HtmlDir;         // the share's own page folder, trailing "/"
    std::string IndexHtml;       // the share's own index.html template
    std::vector<std::string> FileList;
    bool UseFileList = false;
    TShareLedState Led;
    // The share's status tab, set by the capture panel; its FTP mirror posts wmFtpNotify there.
    platform::WindowHandle FrameHandle = 0;

    // Running workers; the share keeps them only while they run.
    std::unique_ptr<IShareWorker> FtpUpdate;       // owned: destroying it waits for the mirror
    std::shared_ptr<IShareWorker> ImageThread;     // self-freeing snapshot thread
    std::shared_ptr<IShareWorker> CopyFileThread;  // self-freeing file-drop thread
};

// A share is held by its job's list and, for as long as an editor or a lookup works on it, by them.
using PCaptureStreamer = std::shared_ptr<TCaptureStreamer>;

}  // namespace engine
