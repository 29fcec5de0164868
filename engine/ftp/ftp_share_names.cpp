#include "engine/ftp/ftp_share_names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "engine/util/ftp_names.h"
#include "platform/util/ascii_case.h"

namespace engine {
namespace {

constexpr std::string_view kPlaylistExt = ".m3u8";
constexpr std::string_view kSegmentExt = ".ts";
// The image types the mirror uploads.
constexpr std::array<std::string_view, 3> kImageExts = {".png", ".jpg", ".svg"};

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

FtpShareNames::FtpShareNames(std::string_view streamName, std::string_view imageBaseName)
    : playlist_(platform::AsciiLower(streamName) + std::string(kPlaylistExt)),
      segmentPrefix_(platform::AsciiLower(streamName) + "_"),
      imageBaseName_(platform::AsciiLower(imageBaseName)) {}

bool FtpShareNames::Produces(std::string_view remoteName) const {
    if (ProducesFinal(remoteName)) return true;
    const std::string uploaded = FtpNameOfTemporary(remoteName);
    return !uploaded.empty() && ProducesFinal(uploaded);
}

bool FtpShareNames::ProducesFinal(std::string_view name) const {
    if (name == playlist_) return true;
    if (name.size() > segmentPrefix_.size() + kSegmentExt.size() && name.starts_with(segmentPrefix_) &&
        name.ends_with(kSegmentExt)) {
        const size_t digits = name.size() - segmentPrefix_.size() - kSegmentExt.size();
        if (AllDigits(name.substr(segmentPrefix_.size(), digits))) return true;
    }
    if (imageBaseName_.empty() || !name.starts_with(imageBaseName_)) return false;
    const std::string_view ext = name.substr(imageBaseName_.size());
    return std::find(kImageExts.begin(), kImageExts.end(), ext) != kImageExts.end();
}

}  // namespace engine
