// Files that other threads or programs read (pages, playlists, snapshots, ini and list files) are
// written to a temporary name in the same folder and renamed over the old file, so a reader sees the
// old content or the new one and never a half-written file.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace engine {

// Modes a written file is created with (the process umask still applies).
inline constexpr mode_t kSharedFileMode = 0644;     // pages, playlists, snapshots: anyone may read
inline constexpr mode_t kOwnerOnlyFileMode = 0600;  // files that hold credentials

// Writes bytes to path atomically. False (and *error set when given) when the file cannot be written;
// the old file is then left as it was and no temporary file remains. The new file has fileMode from
// its first byte on, so a narrower mode never leaves a moment in which others could read it.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                     mode_t fileMode = kSharedFileMode);

// A temporary name beside path that no other writer in this process or another one uses.
std::string TemporaryNameFor(const std::string& path);

}  // namespace engine
