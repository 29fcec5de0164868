#include "tests/engine/graphs/AudioGraphFilters.h"

#include "platform/com/com.h"
#include "platform/filters/AudioGrabFilter.h"

namespace fw_test {

bool RegisterAudioGraphFilters(const std::string& sinkModule) {
    CoInitialize();
    if (RegisterServerLibrary(sinkModule) != S_OK) return false;
    CoRegisterBuiltinClass(CLSID_AudioGrabFilter, &platform::TAudioGrabFilter::Create);
    return true;
}

void RevokeAudioGraphFilters() {
    CoRevokeBuiltinClass(CLSID_AudioGrabFilter);
    CoUninitialize();
}

}  // namespace fw_test
