// Which entry names may be written below a target folder: never an absolute name, a drive letter or a
// ".." component, so an archive cannot place a file outside the folder it is unpacked into.
#pragma once

#include <string_view>

namespace hollarin {

// Names use "/" between components here (the directory reader turns "\" into "/").
bool IsSafeZipEntryName(std::string_view name);

// True when one "/"-separated component of path is "..".
bool HasParentComponent(std::string_view path);

}  // namespace hollarin
