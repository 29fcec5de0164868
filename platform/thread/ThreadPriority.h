// Scheduling priority of the calling thread.
#pragma once

namespace platform {

// The lowest priority a thread can take without special rights (nice 19). On Linux the nice value
// belongs to the calling thread alone; a failure leaves the thread at its normal priority.
void SetThisThreadLowestPriority();

}  // namespace platform
