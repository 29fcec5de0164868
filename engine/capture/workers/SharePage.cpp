#include "engine/capture/workers/SharePage.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"
#include "platform/util/ascii_case.h"
#include "platform/util/whole_file.h"

namespace engine {

TSharePageInfo TSharePageInfo::From(const TCaptureStreamer& share) {
    return TSharePageInfo{share.IpAddr, share.Port, share.FtpActive, share.FtpHostDir,
                          share.SubDir, share.UseFileList, share.FileList};
}

std::string CaptureImageBaseName(int32_t ipAddr, int32_t port) {
    return "capimg_" + std::to_string(std::llabs(static_cast<long long>(ipAddr))) + "_" + std::to_string(port);
}

std::string ShareAddressFolder(const TSharePageInfo& share) {
    std::string folder = IncludeTrailingPathDelimiter(share.FtpActive ? share.FtpHostDir : share.SubDir);
    if (folder.empty() || folder.front() != '/') folder.insert(folder.begin(), '/');
    return folder;
}

std::string ShareImageAddress(const TSharePageInfo& share, const std::string& imageName) {
    return ShareAddressFolder(share) + imageName;
}

std::string ReplaceAllIgnoreCase(const std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (platform::StartsWithIgnoringCase(std::string_view(text).substr(i), from)) {
            out += to;
            i += from.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string FillSharePage(const std::string& page, const std::string& imageAddress, const std::string* scriptFolder) {
    std::string filled = ReplaceAllIgnoreCase(page, kImagePlaceholder, imageAddress);
    if (scriptFolder) {
        const std::string script = std::string("src=\"") + kPlayerScriptName + "\"";
        filled = ReplaceAllIgnoreCase(filled, script, "src=\"" + *scriptFolder + kPlayerScriptName + "\"");
    }
    return filled;
}

void CopyShareFileList(const std::vector<std::string>& fileList, const std::string& outDir,
                       std::vector<std::string>* failed) {
    const std::string folder = IncludeTrailingPathDelimiter(outDir);
    for (const std::string& file : fileList) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) continue;
        std::string bytes;
        if (platform::ReadWholeFile(file, bytes) != platform::WholeFileRead::Ok || !WriteFileAtomic(folder + ExtractFileName(file), bytes)) {
            if (failed) failed->push_back(file);
        }
    }
}

}  // namespace engine
