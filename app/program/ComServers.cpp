#include "app/program/ComServers.h"

#include <filesystem>

#include "engine/graphs/SpreadFilterGraph.h"
#include "platform/com/com.h"

namespace app {
namespace {

// Swallows the probe's message: a failure here only means the servers are not registered yet.
class TSilentErrorBox final : public engine::IErrorBox {
public:
    void ShowError(const std::string&, const std::string&) override {}
};

}  // namespace

const std::vector<std::string>& ComServerLibraryNames() {
    static const std::vector<std::string> names{"libOrbelle32.so", "libFwScreenCapture.so", "libFwAudioGrab.so"};
    return names;
}

std::vector<std::string> RegisterComServersIfMissing(const std::string& folder) {
    TSilentErrorBox silent;
    if (engine::TSpreadFilterGraph::ProbeFilters(&silent)) return {};
    std::vector<std::string> failures;
    for (const std::string& name : ComServerLibraryNames()) {
        const std::string path = folder + name;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            failures.push_back("COM server " + path + " not found");
            continue;
        }
        if (const HRESULT hr = RegisterServerLibrary(path); FAILED(hr))
            failures.push_back("COM server " + path + " cannot be registered (" + std::to_string(hr) + ")");
    }
    return failures;
}

}  // namespace app
