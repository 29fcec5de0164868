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
// the old file is then left as it was and no temporary file remains. A folder that refuses new files
// (its mode or a read-only mount) is named as the cause: the file itself may be writable, but it is
// replaced only through a new file beside it, never rewritten in place. The new file has fileMode from
// its first byte on, so a narrower mode never leaves a moment in which others could read it.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                     mode_t fileMode = kSharedFileMode);

// As WriteFileAtomic, for a file the user keeps (settings, lists): a file that is there and read-only is
// left alone and the write fails. Read-only means either of two things. The process may not write the
// file (access(2) with the effective ids: its mode, ACLs, a read-only mount). Or the file carries no
// write bit at all: a root process could write it anyway, but chmod a-w is how a user marks a file
// read-only, so it holds for root too. The new file is never readable by more than the one it
// replaces: its mode is fileMode narrowed by the old file's.
bool WriteUserFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                         mode_t fileMode = kSharedFileMode);

// A temporary name beside path that no other writer in this process or another one uses.
std::string TemporaryNameFor(const std::string& path);

}  // namespace engine
