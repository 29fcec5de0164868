// Picture buffers in System V shared memory, so that the display server can write a grabbed picture
// straight into the buffer that then travels down the graph: the screen-capture stream's samples live
// here, and the X source looks a buffer up to hand its segment to the server. Thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// A new zero-filled buffer of bytes in a segment of its own; nullptr when none can be made. The
// segment is already marked for removal: it goes when the last side (this process or the display
// server) lets it go.
uint8_t* AllocateSharedFrame(size_t bytes);
void FreeSharedFrame(uint8_t* data);

// The segment id of the shared buffer that begins at data and holds at least bytes; -1 for any other
// memory.
int SharedFrameSegment(const uint8_t* data, size_t bytes);

}  // namespace platform
