// Ends the calls of one FTP session from another thread at once. The session's calls watch the flag,
// and every socket the session has open is shut down, which wakes a call that waits on a silent
// server. The session opens and closes its sockets through this object (libcurl's socket callbacks),
// under one lock, so a socket is never shut down after its number went to someone else.
// One session per object.
#pragma once

#include <atomic>
#include <mutex>
#include <set>

namespace engine {

class FtpCallStop {
public:
    // Any thread: the running call and every later one end with kAborted until Clear.
    void Request();
    void Clear() { requested_.store(false); }
    bool Requested() const { return requested_.load(); }

    // Ends every open connection without a word to the server; a later call connects anew.
    void ShutDownSockets();

    // The session's socket callbacks. While a stop is requested no socket is opened.
    int OpenSocket(int domain, int type, int protocol);
    int CloseSocket(int fd);

private:
    std::mutex mutex_;
    std::atomic<bool> requested_{false};
    std::set<int> sockets_;
};

}  // namespace engine
