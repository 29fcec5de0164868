// Serves the messages waiting for the calling thread while a long routine runs on it.
#pragma once

namespace platform {

class TMessagePump {
public:
    virtual ~TMessagePump() = default;
    virtual void Pump() = 0;
};

}  // namespace platform
