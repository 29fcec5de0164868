// A scratch folder of a benchmark's own that also holds the program's registry hives and XDG folders,
// so a run never touches the user's settings. Empty when no folder could be made.
#pragma once

#include <filesystem>
#include <string>

namespace fw_bench {

std::filesystem::path MakePrivateScratch(const std::string& name);

}  // namespace fw_bench
