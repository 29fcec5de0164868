// The zip code's log lines ("[zip: archive] text"); they go to the process's error stream, where
// Hollarin's own log picks them up.
#pragma once

#include <string_view>

namespace hollarin {

void ZipLog(std::string_view archive, std::string_view text);

}  // namespace hollarin
