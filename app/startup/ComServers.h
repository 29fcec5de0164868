// The COM servers the capture graphs are built from (the sink filter, the screen-capture and the
// audio-grab filter), which lie beside the program. They are registered at start-up when the filters
// cannot be created from the registry as it stands.
#pragma once

#include <string>
#include <vector>

namespace app {

// The servers' library files, in the order they are registered.
const std::vector<std::string>& ComServerLibraryNames();

// Registers the servers of folder (with a trailing "/") unless every filter can be created already.
// Returns one line per server that could not be registered (empty when all is well).
std::vector<std::string> RegisterComServersIfMissing(const std::string& folder);

}  // namespace app
