// One network output of the sender thread (UDP, RTP, TCP client, web-socket server). The sender asks
// it to get ready at every turn of its loop and hands it the items chunk by chunk.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sinkfilter {

enum class TOutputState {
    Ready,     // send this turn
    NotReady,  // nothing can go out this turn: the queue is emptied
    Failed,    // the output cannot work at all: the sender ends
};

class TSinkOutput {
public:
    virtual ~TSinkOutput() = default;
    virtual TOutputState Prepare() = 0;
    // One datagram, write or message of `size` payload bytes; false when it did not go out.
    virtual bool SendChunk(const uint8_t* data, size_t size) = 0;
    // Payload bytes per chunk.
    virtual size_t PayloadPerChunk() const = 0;
};

}  // namespace sinkfilter
