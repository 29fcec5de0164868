#include "app/startup/ComServers.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "engine/graphs/SpreadFilterGraph.h"
#include "platform/com/com.h"
#include "platform/filters/AudioGrabData.h"
#include "platform/filters/ScreenCaptureData.h"
#include "sinkfilter/if_orbelle.h"

namespace app {
namespace {

// Swallows the probe's message: a failure here only means the servers are not registered yet.
class TSilentErrorBox final : public engine::IErrorBox {
public:
    void ShowError(const std::string&, const std::string&) override {}
};

struct TComServer {
    const char* Library;
    const CLSID& Class;  // the filter it serves
};

const TComServer kComServers[] = {
    {"libOrbelle32.so", CLSID_Orbelle},
    {"libFwScreenCapture.so", CLSID_ScreenCaptureFilter},
    {"libFwAudioGrab.so", CLSID_AudioGrabFilter},
};

}  // namespace

const std::vector<std::string>& ComServerLibraryNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const TComServer& server : kComServers) list.push_back(server.Library);
        return list;
    }();
    return names;
}

std::vector<std::string> RegisterComServersIfMissing(const std::string& folder) {
    // The registry is asked first: creating a class that is not registered logs a line of its own,
    // which would show at the first start of every new installation.
    const bool registered = std::all_of(std::begin(kComServers), std::end(kComServers),
                                        [](const TComServer& server) { return CoIsClassRegistered(server.Class); });
    TSilentErrorBox silent;
    if (registered && engine::TSpreadFilterGraph::ProbeFilters(&silent)) return {};
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
