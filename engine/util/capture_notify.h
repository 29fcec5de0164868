// wmCaptureNotify: what the engine tells the main window. The kind goes in WParam, the share's id (or
// 0) in LParam. Posted, never sent, so a worker never waits for the receiver.
#pragma once

#include <cstdint>

namespace engine {

constexpr uint32_t kWmCaptureNotify = 0xB800;

// WParam of wmCaptureNotify.
constexpr intptr_t kCnDeleteCapture = 1;  // LParam: the capture entry
constexpr intptr_t kCnImageData = 8;      // a snapshot was written
constexpr intptr_t kCnVideoData = 9;      // stream tick of a capture job with a broadcast
constexpr intptr_t kCnFileData = 10;      // a dropped file was published
constexpr intptr_t kCnHttpRequest = 11;   // a snapshot of the share was asked for
constexpr intptr_t kCnHttpSend = 12;      // a file went out

}  // namespace engine
