// What a path names on disk, and making a folder. Links are followed; any error reads as "no".
#pragma once

#include <string>

namespace platform {

// A regular file (a link to one counts).
bool IsFile(const std::string& path);
// A folder (a link to one counts).
bool IsFolder(const std::string& path);
// Makes folder with its parents; true when it is a folder afterwards.
bool MakeFolder(const std::string& folder);

}  // namespace platform
