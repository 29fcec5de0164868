// Who listens for TCP connections on a port of 127.0.0.1 (or of every address), as the kernel's
// socket tables tell it. Side-effect free: no connection is made.
#pragma once

namespace engine {

enum class TPortListener {
    Nobody,
    ThisProcess,     // one of this process's own sockets (the sink filter is loaded in-process)
    AnotherProcess,  // a stranger: a client that connects reads that program's stream
};

TPortListener LoopbackPortListener(int port);

}  // namespace engine
