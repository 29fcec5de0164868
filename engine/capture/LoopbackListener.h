// Whether something listens for TCP connections on a port of 127.0.0.1 (or of every address), as the
// kernel's socket table tells it. Side-effect free: no connection is made.
#pragma once

namespace engine {

bool IsLoopbackPortListening(int port);

}  // namespace engine
