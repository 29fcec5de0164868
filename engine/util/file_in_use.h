// "Is a writer still at this file?" A file is in use while any process, this one included, holds it
// open for writing: the HLS output filling a segment in this process, another program dropping a file
// into a watched folder. Readers do not count. A file this process may not write is never in use, so
// read-only files are served and mirrored like any other; anything but a regular file always is, as
// there is nothing to publish in it. Thread-safe, keeps no state.
//
// How it is told: the kernel grants a read lease (F_SETLEASE, F_RDLCK) only while nobody has the file
// open for writing; the test takes one and gives it back at once. Leases are granted only on files
// this process owns (or with CAP_LEASE) and only on file systems that keep them. For any other file
// the answer comes from this process's own descriptors open for writing and, for other processes,
// from the file's last change: a file modified less than kRecentWrite ago still counts as written.
//
// Cost: IsOpenFileInUse makes three fcntl calls; IsFileInUse adds a stat, an open and a close. The
// fallback reads /proc/self/fd and is slower, but only files we do not own reach it.
#pragma once

#include <chrono>
#include <string>

namespace engine {

constexpr std::chrono::seconds kRecentWrite{2};

// False when the file does not exist.
bool IsFileInUse(const std::string& fileName);

// The same test for a file that the caller already holds open for reading only (the web server's
// answer to a request): no second open, no path to resolve.
bool IsOpenFileInUse(int fd);

}  // namespace engine
