// The lines of the filter layer (the sink's servers, the graphs, the capture stand-ins) as entries of
// the program's log queue, so they reach the log window and the daily log file: errors as errors, the
// rest as information. Standard error, where they went before, is seen by nobody running the program.
#pragma once

#include <memory>

#include "engine/settings/log_list.h"

namespace app {

// Installs the handler for as long as it lives; afterwards the lines go to standard error again.
class TFilterLogQueue {
public:
    explicit TFilterLogQueue(std::shared_ptr<engine::TLogList> list);
    ~TFilterLogQueue();
    TFilterLogQueue(const TFilterLogQueue&) = delete;
    TFilterLogQueue& operator=(const TFilterLogQueue&) = delete;
};

}  // namespace app
