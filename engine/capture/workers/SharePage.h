// The files a share's worker publishes besides its image: the names of the image, the index.html page
// made from the page template (its placeholders pointed at the share's folder) and the share's extra
// page files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/capture/settings/CaptureStreamer.h"

namespace engine {

constexpr const char* kIndexPageName = "index.html";
constexpr const char* kImagePlaceholder = "<imgsrc>";
constexpr const char* kPlayerScriptName = "pcm-player.min.js";

// What a worker reads of its share, copied when the worker is made: the editors may change the share
// once its job has stopped, while an ending worker still runs its last pass.
struct TSharePageInfo {
    int32_t IpAddr = 0;
    int32_t Port = 0;
    bool FtpActive = false;
    std::string FtpHostDir;
    std::string SubDir;
    bool UseFileList = false;
    std::vector<std::string> FileList;

    static TSharePageInfo From(const TCaptureStreamer& share);
};

// "capimg_" + |IpAddr| + "_" + Port: the image's name without extension.
std::string CaptureImageBaseName(int32_t ipAddr, int32_t port);

// The folder the page addresses: FtpHostDir when the share is mirrored, else SubDir, with "/" at both
// ends ("/pc1/", "/live/"; "/" when it is empty).
std::string ShareAddressFolder(const TSharePageInfo& share);
// The image's address on the page: ShareAddressFolder + imageName.
std::string ShareImageAddress(const TSharePageInfo& share, const std::string& imageName);

// Every "<imgsrc>" of page (any letter case) replaced by imageAddress; with a script folder, every
// src="pcm-player.min.js" (any letter case) pointed at that folder.
std::string FillSharePage(const std::string& page, const std::string& imageAddress,
                          const std::string* scriptFolder = nullptr);

// Every text of from replaced by to, ignoring letter case; the replaced text is not searched again.
std::string ReplaceAllIgnoreCase(const std::string& text, const std::string& from, const std::string& to);

// Copies every existing file of fileList into outDir under its own name, each replaced atomically.
// Files that cannot be copied are named in *failed (the others are still copied).
void CopyShareFileList(const std::vector<std::string>& fileList, const std::string& outDir,
                       std::vector<std::string>* failed = nullptr);

}  // namespace engine
