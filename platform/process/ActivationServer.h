// The running instance's side of bring-to-front: a local socket server that calls onActivate on the
// thread that made it (the user-interface thread) whenever a second start asks for it.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace platform {

class TActivationServer {
public:
    explicit TActivationServer(std::function<void()> onActivate);
    ~TActivationServer();
    TActivationServer(const TActivationServer&) = delete;
    TActivationServer& operator=(const TActivationServer&) = delete;

    // Listens on serverName (ActivationServerName). Call it only while holding the global mutex: a
    // socket file that a crashed instance left behind is removed first, which would cut off a live
    // instance. False with *error when the socket cannot be made.
    bool Listen(const std::string& serverName, std::string* error = nullptr);
    bool Listening() const;

private:
    void AcceptPending();

    std::shared_ptr<std::function<void()>> onActivate_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace platform
