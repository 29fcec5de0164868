// The optional export "DataOutputIpCallBack" of the host program: called with the size of each sample
// sent. Looked up once when the library starts.
#pragma once

#include <cstdint>

namespace sinkfilter {

using THostCallback = void (*)(int32_t bytesSent);

// Looks the export up among the host program's global symbols and keeps it (null when absent).
void LookupHostCallback();
THostCallback HostCallback();

}  // namespace sinkfilter
