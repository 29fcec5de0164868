// The X resource database of a display, as the user's session sets it with xrdb.
#pragma once

#include <string>

#include "tests/support/test_env.h"

namespace fw_test {

// Merges resource lines ("Xft.dpi: 120") into the database of display (":N"); an empty text removes the
// database.
inline bool SetXResources(const std::string& display, const std::string& lines) {
    if (lines.empty()) return RunProgram({"xrdb", "-display", display, "-remove"}) == 0;
    TempDir dir;
    WriteFile(dir / "resources", lines + "\n");
    return RunProgram({"xrdb", "-display", display, "-merge", (dir / "resources").string()}) == 0;
}

}  // namespace fw_test
