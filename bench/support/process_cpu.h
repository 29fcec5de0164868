// CPU time of processes, for benchmarks that set our programs beside outside ones.
#pragma once

#include <sys/types.h>

#include <vector>

namespace fw_bench {

// User + system seconds of a process from /proc (clock-tick resolution); 0 when it is gone.
double ProcessCpuSeconds(pid_t pid);
// The same for this process, to the microsecond.
double OwnCpuSeconds();
// The processes whose parent is pid (nginx's workers under its master).
std::vector<pid_t> ChildProcesses(pid_t pid);

}  // namespace fw_bench
