// A worker that runs for one share (snapshot thread, file-drop thread, FTP mirror). The share keeps it
// while it runs; deleting the share asks it to end.
#pragma once

namespace engine {

class IShareWorker {
public:
    // Destroying a worker that its owner waits for (the FTP mirror) waits for its thread.
    virtual ~IShareWorker() = default;
    // Asks the worker to end without waiting; a self-freeing thread finishes its pass and goes.
    virtual void RequestEnd() = 0;
};

}  // namespace engine
