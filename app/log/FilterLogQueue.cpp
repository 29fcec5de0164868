#include "app/log/FilterLogQueue.h"

#include "app/log/LogQueue.h"
#include "platform/dshow/dshow_log.h"

namespace app {

TFilterLogQueue::TFilterLogQueue(std::shared_ptr<engine::TLogList> list) {
    // Any thread: the sink's servers log from their own.
    dshow::SetLogHandler([list = std::move(list)](dshow::TLogLevel level, const std::string& line) {
        QueueLogEntry(*list, line, level == dshow::TLogLevel::Error ? engine::kLogError : engine::kLogInfo);
    });
}

TFilterLogQueue::~TFilterLogQueue() { dshow::SetLogHandler({}); }

}  // namespace app
