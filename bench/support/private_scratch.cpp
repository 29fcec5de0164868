#include "bench/support/private_scratch.h"

#include <stdlib.h>

#include <vector>

namespace fw_bench {

std::filesystem::path MakePrivateScratch(const std::string& name) {
    const std::string pattern = "/tmp/fw-" + name + "-XXXXXX";
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    if (!::mkdtemp(folder.data())) return {};
    const std::filesystem::path work = folder.data();
    ::setenv("FRAMEWICK_REGISTRY_HKCU", (work / "hkcu").c_str(), 1);
    ::setenv("FRAMEWICK_REGISTRY_HKLM", (work / "hklm").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
    return work;
}

}  // namespace fw_bench
