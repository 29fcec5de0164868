// The filters of the web-socket audio graph, made known to COM for a test suite: the real sink filter
// from its library and the audio-grab filter built in. Register them in SetUpTestSuite and revoke them
// in TearDownTestSuite.
#pragma once

#include <string>

namespace fw_test {

// COM is initialised for the calling thread; false when the sink filter's library cannot be registered.
bool RegisterAudioGraphFilters(const std::string& sinkModule);
void RevokeAudioGraphFilters();

}  // namespace fw_test
