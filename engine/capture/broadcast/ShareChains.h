// The shares' part of a broadcast: each share that is published contributes at most one output chain
// (a UDP transport stream, or HLS into its web-server folder, which is emptied first).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capture/settings/CaptureLog.h"
#include "engine/capture/settings/CaptureStreamer.h"

namespace engine {

struct TChainSettings {
    int32_t CaptureIdx = 0;
    std::string StreamName;  // "stream_" + capture index
    int32_t SegLen = 10;     // HLS segment length in seconds
    int32_t NumSeg = 5;      // segments kept in the playlist
};

struct TShareChains {
    std::vector<std::string> Chains;
    std::vector<PCaptureStreamer> HlsShares;  // shares that got an HLS chain (their video indicator ticks)
};

// SubDir as a relative folder path: "\\" read as "/", one trailing separator dropped ("live\\cam1\\"
// -> "live/cam1"); none unless every component is a folder name (not empty, not "." or "..") and the
// path is not absolute. Clearing a share folder therefore never reaches the web root or anything above it.
std::optional<std::string> ShareSubDirPath(std::string_view subDir);

// The share's folder below its web server's root ("<root>/<SubDir>/"); none without a web server, with
// an empty root or with a SubDir that is no valid folder path.
std::optional<std::string> ShareFolder(const TCaptureStreamer& share);

// One leading "/" removed and a trailing "/" added (a non-empty text only).
void NormaliseFtpHostDir(std::string& ftpHostDir);

// Visits the shares in order. A share that is neither active nor mirrored is skipped; the others get
// FtpHostDir normalised in the record. A UDP share with video contributes its UDP chain; an HTTP share
// with video whose folder exists or can be created has the folder emptied and contributes its HLS
// chain. A share whose folder or host cannot be used is logged and contributes nothing.
TShareChains BuildShareChains(const std::vector<PCaptureStreamer>& shares, const TChainSettings& settings,
                              const CaptureLog& log);

}  // namespace engine
