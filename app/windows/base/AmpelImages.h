// The seven 16 x 16 state images of the list views: white, red, yellow and green balls, a red cross,
// the green tick and the red bar, drawn once.
#pragma once

#include <QIcon>

namespace app {

enum TAmpelImage : int {
    kAmpelWhite = 0,
    kAmpelRed = 1,
    kAmpelYellow = 2,
    kAmpelGreen = 3,
    kAmpelCross = 4,
    kAmpelTick = 5,
    kAmpelBar = 6,
    kAmpelImageCount = 7
};

// The image (a null icon for an index outside the list; -1 is "no image").
QIcon AmpelImage(int index);

}  // namespace app
