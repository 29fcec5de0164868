// The message pump of a Qt program: serves the events posted to the calling thread.
#pragma once

#include "installer/zip/message_pump.h"

namespace hollarin {

class TQtMessagePump final : public TMessagePump {
public:
    void Pump() override;
};

}  // namespace hollarin
