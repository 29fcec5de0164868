// Hollarin's log lines ("[object] text"). They go to the process's error stream, as the zip code's do.
#pragma once

#include <string_view>

namespace hollarin {

void InstallerLog(std::string_view object, std::string_view text);

}  // namespace hollarin
