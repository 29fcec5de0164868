// What one list file may hold, far above any real configuration. Every capture service is a job and a
// panel, every web server a root folder, every share a status tab and folders: a file beyond these
// limits is a broken or hostile one, and reading all of it would keep the user-interface thread busy
// for minutes. What lies beyond a limit is left out of the reading (the file itself is kept aside, so
// nothing is lost).
#pragma once

#include <pugixml.hpp>

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace app {

inline constexpr size_t kMaxCaptureServices = 64;   // each costs a job, a panel and its checks at start-up
inline constexpr size_t kMaxListEntries = 256;      // web servers, web sockets
inline constexpr size_t kMaxNestedListItems = 256;  // shares, extra files: per kind, in one file together
inline constexpr size_t kMaxListTextBytes = 4096;   // any value: names, paths (the system's PATH_MAX), passwords

// The element names of the lists that entries hold (a capture service's shares, a server's files).
using TNestedListNames = std::array<const char*, 2>;

// Cuts one file's entries down to the limits, entry by entry, and tells what it left out.
class TListFileLimits {
public:
    explicit TListFileLimits(const TNestedListNames& nestedLists) : nestedLists_(nestedLists) {}

    // Removes from entry (the number-th of its file) every element whose text is longer than
    // kMaxListTextBytes, and the items of its nested lists once kMaxNestedListItems of that list's kind
    // were taken in this file.
    void Trim(pugi::xml_node entry, size_t number);
    // Notes that the count entries after the first maxEntries are not read.
    void EntriesLeftOut(size_t count, size_t maxEntries);

    // One line per thing left out, in the order found.
    const std::vector<std::string>& LeftOut() const { return leftOut_; }

private:
    bool IsNestedList(const char* name) const;

    TNestedListNames nestedLists_;
    std::map<std::string, size_t> nestedItemsTaken_;
    std::vector<std::string> leftOut_;
};

}  // namespace app
