#include "engine/util/system_info.h"

#include <limits.h>
#include <unistd.h>

namespace engine {

std::string GetLocalComputerName() {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buffer, sizeof(buffer) - 1) != 0) return std::string();
    std::string name(buffer);
    if (name.size() > kMaxComputerNameLength) name.resize(kMaxComputerNameLength);
    return name;
}

}  // namespace engine
