// The install window's version check of a loaded libVLC: the first word of the library's version text
// against the wanted version, by the one rule every libVLC check of the system uses
// (engine::VlcVersionMatches: the word is the wanted version or one of its point releases).
#pragma once

#include <string>
#include <string_view>

namespace hollarin {

struct TVersionCheck {
    bool Ok = false;
    // What the window shows: the text without its leading blanks, cut after its first blank (which
    // stays), so "3.0.24 Vetinari" gives "3.0.24 ". Empty for an empty or all-blank text.
    std::string VersionText;
};

TVersionCheck VersionCheck(std::string_view text, std::string_view wantedVersion);

}  // namespace hollarin
