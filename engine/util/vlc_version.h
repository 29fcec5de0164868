// The libVLC version rule shared by every check (binding, capture jobs, main window, installer).
#pragma once

#include <string>
#include <string_view>

namespace engine {

// The libVLC release line the program is built for; a library is usable when its version word is
// this text or starts with it followed by "." ("3.0", "3.0.24").
constexpr std::string_view kRequiredVlcVersion = "3.0";

// The version word of a libVLC version text ("3.0.24 Vetinari" gives "3.0.24"): leading blanks
// dropped, the text up to the first blank taken and every blank removed. A text without any blank
// (and an empty text) gives an empty word, which never matches.
std::string VlcVersionWord(std::string_view versionText);

// True when word is wanted or starts with wanted followed by "."; an empty word or wanted never matches.
bool VlcVersionMatches(std::string_view word, std::string_view wanted = kRequiredVlcVersion);

}  // namespace engine
