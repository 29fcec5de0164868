#include "platform/thread/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace platform {
namespace {
constexpr int kLowestNice = 19;
}  // namespace

void SetThisThreadLowestPriority() { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kLowestNice); }

}  // namespace platform
