#include "engine/capture/broadcast/ShareChains.h"

#include <algorithm>

#include "engine/capture/broadcast/VlcOutputChain.h"
#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"
#include "platform/util/file_checks.h"

namespace engine {
namespace {

std::optional<std::string> HlsChainFor(TCaptureStreamer& share, const std::string& folder, const TChainSettings& settings) {
    THlsChainParams hls;
    hls.Folder = folder;
    hls.StreamName = settings.StreamName;
    hls.SegLen = settings.SegLen;
    hls.NumSeg = settings.NumSeg;
    // A mirrored share's segments are fetched from the FTP host's web server.
    hls.UrlBase = share.FtpActive ? SegmentUrlBase(share.FtpHost) : std::string();
    if (!hls.UrlBase.empty()) {
        hls.UrlDir = share.FtpHostDir;
    } else {
        hls.UrlBase = SegmentUrlBase(DottedAddress(share.HttpServer->IpAddr()) + ":" + std::to_string(share.HttpServer->Port()));
        hls.UrlDir = *ShareSubDirPath(share.SubDir) + "/";
    }
    std::replace(hls.UrlDir.begin(), hls.UrlDir.end(), '\\', '/');
    return HlsChain(hls);
}

}  // namespace

std::optional<std::string> ShareSubDirPath(std::string_view subDir) {
    std::string path(subDir);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!path.empty() && path.back() == '/') path.pop_back();
    if (path.empty() || path.front() == '/') return std::nullopt;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view component = std::string_view(path).substr(start, end - start);
        if (component.empty() || component == "." || component == "..") return std::nullopt;
        start = end + 1;
    }
    return path;
}

std::optional<std::string> ShareFolder(const TCaptureStreamer& share) {
    const auto subDir = ShareSubDirPath(share.SubDir);
    if (!share.HttpServer || share.HttpServer->Root().empty() || !subDir) return std::nullopt;
    return IncludeTrailingPathDelimiter(share.HttpServer->Root()) + *subDir + "/";
}

void NormaliseFtpHostDir(std::string& ftpHostDir) {
    if (ftpHostDir.empty()) return;
    if (ftpHostDir.front() == '/') ftpHostDir.erase(0, 1);
    if (ftpHostDir.empty() || ftpHostDir.back() != '/') ftpHostDir += '/';
}

TShareChains BuildShareChains(const std::vector<PCaptureStreamer>& shares, const TChainSettings& settings,
                              const CaptureLog& log) {
    TShareChains result;
    const std::string prefix = CaptureLogPrefix(settings.CaptureIdx);
    for (const PCaptureStreamer& share : shares) {
        if (!share->Active && !share->FtpActive) continue;
        NormaliseFtpHostDir(share->FtpHostDir);
        if (!share->VideoActive) continue;

        if (share->Protocol == kShareProtocolUdp) {
            result.Chains.push_back(UdpChain(share->IpAddr, share->Port));
        } else if (share->Protocol == kShareProtocolHttp) {
            const auto folder = ShareFolder(*share);
            if (!folder) {
                if (log) log(prefix + "share " + std::to_string(share->Index) + ": no web server or no valid folder name \"" +
                                 share->SubDir + "\" - no video output", kLogLevelError);
                continue;
            }
            if (!platform::MakeFolder(*folder)) {
                if (log) log(prefix + "share folder " + *folder + " cannot be created - no video output", kLogLevelError);
                continue;
            }
            const auto chain = HlsChainFor(*share, *folder, settings);
            if (!chain) {
                if (log) log(prefix + "share " + std::to_string(share->Index) +
                                 ": folder or host holds braces, quotes or backslashes - no video output", kLogLevelError);
                continue;
            }
            ClearFolder(*folder);
            result.Chains.push_back(*chain);
            result.HlsShares.push_back(share);
        }
    }
    return result;
}

}  // namespace engine
