#include "platform/process/BrokenPipeSignal.h"

#include <signal.h>

namespace platform {

bool IgnoreBrokenPipeSignal() {
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGPIPE, &action, nullptr) == 0;
}

}  // namespace platform
