#include "app/log/LogLineModel.h"

namespace app {

size_t TLogLineModel::Trim() {
    size_t removed = 0;
    while (lines_.size() > kMaxLogWindowLines) {
        lines_.pop_front();
        ++removed;
    }
    return removed;
}

}  // namespace app
