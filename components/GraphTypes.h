// Kinds shared by the painting routines and the controls that configure them. The ordinal values of
// TGradStyle are stored with the controls' settings and must not change.
#pragma once

#include <cstdint>

namespace components {

enum TGradStyle : uint8_t {
    gsCornerTopLeft = 0,
    gsCornerTopRight = 1,
    gsCornerBottomRight = 2,
    gsCornerBottomLeft = 3,
    gsDiagonalRising = 4,
    gsDiagonalFalling = 5,
    gsSymmetric = 6,
    gsHorizontal = 7,
    gsPyramid = 8,
    gsVertical = 9,
    gs3D = 10,
};

enum TPanelShape : uint8_t { psRect = 0, psRoundRect = 1, psEllipse = 2 };

// How a control's background is filled: flat, a plain gradient or a mirrored (symmetric) one.
enum TFillKind : uint8_t { fkNone = 0, fkGrad = 1, fkSym = 2 };

// Hue 0..239 (160 for a grey), luminance 0..240, saturation 0..240.
struct THLSTriple {
    uint8_t Hue = 0;
    uint8_t Lum = 0;
    uint8_t Sat = 0;
    bool operator==(const THLSTriple&) const = default;
};

}  // namespace components
