// Kinds used by the bevelled windowed controls.
#pragma once

#include <cstdint>

namespace components {

// Which window a left-button press on the control drags: none, the control, its parent, the active form.
enum THitTest : uint8_t { htNone, htSelf, htParent, htForm };

enum TBevelShape : uint8_t { bsRect, bsPolyButton, bsPolyBevel, bsRound, bsRoundRect, bsVariable };

enum TBevelFill : uint8_t { bfNone, bfSymm, bfUnsymm };

}  // namespace components
