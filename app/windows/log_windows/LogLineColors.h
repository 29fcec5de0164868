// The colours of a log line by its level (main log) or value (SNMP log); a selected line has colours of
// its own.
#pragma once

#include <cstdint>

#include "components/Color.h"

namespace app {

struct TLogLineColors {
    components::TColor Text;
    components::TColor Background;
};

// Main log: 0 white on blue, 1 black on light green, 2 black on light red, 3 black on light grey, 4 black
// on white, 5 white on maroon, any other black on silver; selected white on navy.
TLogLineColors MainLogLineColors(uint8_t level, bool selected);

// SNMP log: 1 white on red, 2 black on yellow, 3 white on blue, 4 black on white, other black on silver;
// selected on navy, the text 0x8080FF, 0x00FFFF, 0xFFFF00 or white for 1, 2, 3 and the rest.
TLogLineColors SnmpLogLineColors(int value, bool selected);

}  // namespace app
