// One share of a capture job: an output into a web-server folder (HLS video, snapshots, dropped files)
// or a UDP destination, optionally mirrored to an FTP server. The record holds the share's settings as
// capture.xml keeps them; what runs for the share is its job's (engine/capture/job/ShareRuns.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/capture/settings/ShareHttpServer.h"

namespace engine {

constexpr uint8_t kShareProtocolHttp = 0;
constexpr uint8_t kShareProtocolUdp = 1;

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
};

// A share is held by its job's list and, for as long as an editor or a lookup works on it, by them.
using PCaptureStreamer = std::shared_ptr<TCaptureStreamer>;

}  // namespace engine
