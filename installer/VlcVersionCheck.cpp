#include "installer/VlcVersionCheck.h"

#include "engine/util/vlc_version.h"

namespace hollarin {

TVersionCheck VersionCheck(std::string_view text, std::string_view wantedVersion) {
    TVersionCheck check;
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return check;
    std::string_view shown = text.substr(start);
    const size_t blank = shown.find(' ', 1);
    if (blank != std::string_view::npos) shown = shown.substr(0, blank + 1);
    check.VersionText = std::string(shown);
    const std::string_view word = blank != std::string_view::npos ? shown.substr(0, blank) : shown;
    check.Ok = engine::VlcVersionMatches(word, wantedVersion);
    return check;
}

}  // namespace hollarin
