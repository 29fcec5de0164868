// Hollarin's coloured frame: the frame of the components with the installer's way of painting. It
// fills only its inner area with the background, after the bevels; where the bands leave a gap, and
// outside the outline, what lies beneath shows.
#pragma once

#include "components/ColorFrames.h"

namespace hollarin {

class TColorFrames : public components::TColorFrames {
public:
    explicit TColorFrames(QWidget* parent = nullptr) : components::TColorFrames(parent) { SetPaintsOuterArea(false); }
};

}  // namespace hollarin
