// Reads the reply to LIST: the names and sizes of the plain files in it. Understands the Unix style
// ("-rw-r--r-- 1 owner group 1234 Dec 10 10:04 name") with or without the group column, and the
// DOS style ("12-10-26  10:04AM  1234 name"); folders, links and lines it does not understand are
// left out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct FtpListedFile {
    std::string name;  // as the server spells it
    int64_t size = 0;  // bytes
    bool operator==(const FtpListedFile&) const = default;
};

std::vector<FtpListedFile> PlainFilesInListing(std::string_view listing);

}  // namespace engine
