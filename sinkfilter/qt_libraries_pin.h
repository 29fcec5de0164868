// Qt is loaded into a host with the library when the host has no Qt of its own. Qt does not survive
// being unloaded again (its thread-exit and exit handlers point into it), so once loaded it stays
// for the life of the process, even when the library itself is unloaded.
#pragma once

namespace sinkfilter {

// Marks the Qt libraries the library uses as never to be unloaded; a logged line when that fails.
void PinQtLibraries();

}  // namespace sinkfilter
