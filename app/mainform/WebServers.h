// The program's web servers: their list, each server made with the capture services as its host (the
// share question, the notifications) and its log queued, started and stopped together, and the error
// LEDs of the shares each one serves.
//
// Everything runs on the user-interface thread except the servers' log event (connection threads),
// which only queues.
#pragma once

#include <memory>

#include "app/lists/http_server_list.h"
#include "app/log/LogQueue.h"
#include "app/mainform/CaptureServices.h"

namespace app {

class TWebServers {
public:
    // writeLog: where a server that fails to start or stop is reported.
    TWebServers(std::shared_ptr<TCaptureServices> captures, TLogWriter writeLog);

    THttpServerList& List() { return list_; }
    const THttpServerList& List() const { return list_; }
    // A new server with index idx (0: none yet) and the program's index file as its default.
    std::unique_ptr<engine::TCaptureHttpServer> Create(int idx) const;
    // Every server: LEDs off, then started when start and the server starts with the program, else
    // stopped; a server that cannot listen lights its shares' error LEDs.
    void StartStop(bool start);
    // The error LED of every HTTP share bound to server that has a status tab.
    void SetLeds(const THttpServerEntry& server, bool on) const;
    bool AnyListening() const;
    // The closing: every server stopped and freed with the list.
    void Free();

private:
    std::shared_ptr<TCaptureServices> captures_;
    TLogWriter writeLog_;
    THttpServerList list_;
};

}  // namespace app
