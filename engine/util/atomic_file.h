// Files that other threads or programs read (pages, playlists, snapshots, ini and list files) are
// written to a temporary name in the same folder and renamed over the old file, so a reader sees the
// old content or the new one and never a half-written file.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Writes bytes to path atomically. False (and *error set when given) when the file cannot be written;
// the old file is then left as it was and no temporary file remains.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// A temporary name beside path that no other writer in this process or another one uses.
std::string TemporaryNameFor(const std::string& path);

}  // namespace engine
