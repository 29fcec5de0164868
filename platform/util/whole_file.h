// Reading a whole regular file into memory.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace platform {

enum class WholeFileRead { Ok, Missing, CannotOpen, CannotRead, TooLarge };

// Reads path into bytes (replacing what they held). On any other result than Ok, error (when given)
// holds the errno of the step that failed; CannotOpen also stands for a path that is no regular file.
// A file above maxBytes is TooLarge.
WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes, int* error = nullptr,
                            uint64_t maxBytes = std::numeric_limits<uint64_t>::max());

}  // namespace platform
