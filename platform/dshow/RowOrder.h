// The order of the rows of an uncompressed RGB picture in memory. DirectShow's RGB video and bitmap
// files keep them bottom-up unless the picture's height is given as a negative number.
#pragma once

namespace platform {

enum class TRowOrder { TopDown, BottomUp };

}  // namespace platform
