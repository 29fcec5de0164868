// The message pump of a Qt program: serves the events posted to the calling thread.
#pragma once

#include "platform/ui/message_pump.h"

namespace platform {

class TQtMessagePump final : public TMessagePump {
public:
    void Pump() override;
};

}  // namespace platform
