// Facts about the machine the program runs on.
#pragma once

#include <string>

namespace engine {

// Longest computer name handed out (the original 16-character buffer less its terminator).
constexpr size_t kMaxComputerNameLength = 15;

// The host name cut to kMaxComputerNameLength characters; "" when it cannot be read.
std::string GetLocalComputerName();

}  // namespace engine
