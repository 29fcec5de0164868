#include "app/lists/list_file_limits.h"

#include <cstring>

#include "platform/util/utf8_text.h"

namespace app {
namespace {

constexpr size_t kMaxNameInLogChars = 64;  // an element name as the log line shows it

bool IsText(pugi::xml_node node) { return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata; }

// Looks no further than one byte past the limit, however long the text is.
bool TooLong(const char* text) { return ::strnlen(text, kMaxListTextBytes + 1) > kMaxListTextBytes; }

bool HasTooLongText(pugi::xml_node element) {
    for (pugi::xml_node child : element.children())
        if (IsText(child) && TooLong(child.value())) return true;
    return false;
}

std::string Shown(const char* name) { return platform::Utf8Left(name, kMaxNameInLogChars); }

std::string EntryTag(size_t number) { return "entry " + std::to_string(number) + ": "; }

}  // namespace

bool TListFileLimits::IsNestedList(const char* name) const {
    for (const char* list : nestedLists_)
        if (list != nullptr && std::strcmp(list, name) == 0) return true;
    return false;
}

void TListFileLimits::Trim(pugi::xml_node entry, size_t number) {
    // Nothing is removed while the walk runs; what is removed is never walked into, so no removed node
    // lies inside another.
    std::vector<pugi::xml_node> removed;
    std::vector<pugi::xml_node> pending{entry};
    const std::string tooLong = " is left out: its text is longer than " + std::to_string(kMaxListTextBytes) + " bytes";
    while (!pending.empty()) {
        const pugi::xml_node parent = pending.back();
        pending.pop_back();
        const bool list = IsNestedList(parent.name());
        size_t* taken = list ? &nestedItemsTaken_[parent.name()] : nullptr;
        size_t itemsLeftOut = 0;
        for (pugi::xml_node child : parent.children()) {
            if (taken != nullptr && *taken >= kMaxNestedListItems) {
                removed.push_back(child);
                ++itemsLeftOut;
                continue;
            }
            if (taken != nullptr) ++*taken;
            if (IsText(child)) {
                if (!TooLong(child.value())) continue;
                removed.push_back(child);
                leftOut_.push_back(EntryTag(number) + "a text in " + Shown(parent.name()) + tooLong);
            } else if (child.type() == pugi::node_element) {
                if (!HasTooLongText(child)) {
                    pending.push_back(child);
                    continue;
                }
                removed.push_back(child);
                leftOut_.push_back(EntryTag(number) + Shown(child.name()) + tooLong);
            }
        }
        if (itemsLeftOut > 0)
            leftOut_.push_back(EntryTag(number) + std::to_string(itemsLeftOut) + " of its " + Shown(parent.name()) +
                               " items are left out: the file holds more than " + std::to_string(kMaxNestedListItems));
    }
    for (pugi::xml_node node : removed) node.parent().remove_child(node);
}

void TListFileLimits::EntriesLeftOut(size_t count, size_t maxEntries) {
    leftOut_.push_back(std::to_string(count) + " entries after the first " + std::to_string(maxEntries) +
                       " are left out");
}

}  // namespace app
