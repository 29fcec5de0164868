#include "engine/capture/ShareChains.h"

#include <algorithm>
#include <filesystem>

#include "engine/capture/VlcOutputChain.h"
#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"

namespace engine {
namespace {

std::string WithoutOneTrailingSeparator(std::string_view text) {
    if (!text.empty() && (text.back() == '/' || text.back() == '\\')) text.remove_suffix(1);
    return std::string(text);
}

std::optional<std::string> HlsChainFor(TCaptureStreamer& share, const std::string& folder, const TChainSettings& settings) {
    THlsChainParams hls;
    hls.Folder = folder;
    hls.StreamName = settings.StreamName;
    hls.SegLen = settings.SegLen;
    hls.NumSeg = settings.NumSeg;
    if (share.FtpActive && !share.FtpHost.empty()) {
        hls.UrlBase = SegmentUrlBase(share.FtpHost);
        hls.UrlDir = share.FtpHostDir;
    } else {
        hls.UrlBase = SegmentUrlBase(DottedAddress(share.HttpServer->IpAddr()) + ":" + std::to_string(share.HttpServer->Port()));
        hls.UrlDir = WithoutOneTrailingSeparator(share.SubDir) + "/";
    }
    std::replace(hls.UrlDir.begin(), hls.UrlDir.end(), '\\', '/');
    return HlsChain(hls);
}

}  // namespace

bool IsValidShareSubDir(std::string_view subDir) {
    const std::string name = WithoutOneTrailingSeparator(subDir);
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::optional<std::string> ShareFolder(const TCaptureStreamer& share) {
    if (!share.HttpServer || share.HttpServer->Root().empty() || !IsValidShareSubDir(share.SubDir)) return std::nullopt;
    return IncludeTrailingPathDelimiter(share.HttpServer->Root()) + WithoutOneTrailingSeparator(share.SubDir) + "/";
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
            std::error_code ec;
            std::filesystem::create_directories(*folder, ec);
            if (!std::filesystem::is_directory(*folder, ec)) {
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
