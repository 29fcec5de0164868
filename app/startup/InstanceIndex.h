// Which instance of the program this is: 0 for a plain installation; the three digits after
// "Instance_" in the program's folder path; overridden by the first argument whose first four letters
// are "inst" (any case), whose next four characters give the number. Text that is no number gives 0.
#pragma once

#include <string>
#include <vector>

namespace app {

// The rule above for a program file and its arguments (without the program name).
int ComputeInstanceIndex(const std::string& programFile, const std::vector<std::string>& arguments);

// The instance of this process: computed from the running program's file and arguments on the first
// call; later calls return that value whatever they pass.
int GetInstanceIndex(const std::vector<std::string>& arguments);

}  // namespace app
