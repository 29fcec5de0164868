// How capture-job pieces report: a text and a level, handed to the job's log event. Lines name the
// job ("[idx: 3] ...") where the text does not belong to the user-facing messages of the job itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace engine {

constexpr uint8_t kLogLevelError = 2;
constexpr uint8_t kLogLevelInfo = 4;

using CaptureLog = std::function<void(const std::string& text, uint8_t level)>;

// "[idx: n] " for the lines a job's pieces log.
inline std::string CaptureLogPrefix(int32_t captureIdx) { return "[idx: " + std::to_string(captureIdx) + "] "; }

}  // namespace engine
