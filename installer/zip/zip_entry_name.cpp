#include "installer/zip/zip_entry_name.h"

#include <cctype>

namespace hollarin {

bool HasParentComponent(std::string_view path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (path.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

bool IsSafeZipEntryName(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    return !HasParentComponent(name);
}

}  // namespace hollarin
