// Where the screen-capture filter takes its pixels from: the X server when one answers, else a moving
// test pattern, so that screen capture works on a machine without a display.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/display/geometry.h"
#include "platform/dshow/RowOrder.h"

namespace platform {

class IScreenSource {
public:
    virtual ~IScreenSource() = default;
    // Fills frame (area.Width() x area.Height() pixels, RGB32, rows in the given order) with the part
    // `readable` of that area of the virtual desktop; pixels outside readable or outside the screen are
    // black, and nothing outside readable is read. False when the screen could not be read; the frame
    // is then black. A top-down frame that is a shared buffer (SharedFrameMemory.h) may be written by
    // the display server itself.
    virtual bool Grab(const TRect& area, const TRect& readable, uint8_t* frame, TRowOrder order) = 0;
    // True for a source that reads the display server.
    virtual bool FromDisplay() const = 0;
};

// The X server named by $DISPLAY, else the test pattern; *note tells which and why.
std::unique_ptr<IScreenSource> OpenScreenSource(std::string* note);

// Copies the visible part of a capture area into an RGB32 frame of area's size, rows in the given order,
// and paints the rest black. visible is the part of the area that lies on the screen (it may be empty);
// its pixels are given top-down with visibleStride bytes per row.
void ComposeFrame(const TRect& area, const TRect& visible, const uint8_t* visiblePixels, size_t visibleStride,
                  uint8_t* frame, TRowOrder order);

}  // namespace platform
