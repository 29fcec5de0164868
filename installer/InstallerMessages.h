// The install window's private message, posted by the download thread to the window's handle
// (platform::PostMessage). The byte counts travel by value in lParam.
#pragma once

#include <cstdint>

namespace hollarin {

constexpr uint32_t kInstallerMessage = 0xAB90;

// wParam values of kInstallerMessage.
constexpr intptr_t kDownloadProgress = 1;  // lParam: bytes of the archive received so far
constexpr intptr_t kDownloadSize = 2;      // lParam: the archive's length from the HEAD answer, -1 when it gave none

}  // namespace hollarin
