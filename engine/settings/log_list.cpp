#include "engine/settings/log_list.h"

namespace engine {

const char* LogLevelTag(uint8_t level) {
    static const char* const kTags[] = {"[sys]", "[wrn]", "[err]", "[dbg]", "[inf]", "[dx ]"};
    return level < std::size(kTags) ? kTags[level] : "";  // an unknown level shows no tag
}

void TLogList::Append(TLogListEntry entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
}

bool TLogList::AppendIfFewerThan(TLogListEntry entry, size_t limit) {
    std::lock_guard lock(mutex_);
    if (entries_.size() >= limit) return false;
    entries_.push_back(std::move(entry));
    return true;
}

std::vector<TLogListEntry> TLogList::TakeAll() {
    std::lock_guard lock(mutex_);
    std::vector<TLogListEntry> taken;
    taken.swap(entries_);
    return taken;
}

size_t TLogList::Count() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::shared_ptr<TLogList> LogList() {
    static const std::shared_ptr<TLogList> list = std::make_shared<TLogList>();
    return list;
}

}  // namespace engine
