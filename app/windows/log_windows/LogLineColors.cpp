#include "app/windows/log_windows/LogLineColors.h"

namespace app {

namespace {

constexpr components::TColor kWhite = 0xFFFFFF;
constexpr components::TColor kBlack = 0x000000;
constexpr components::TColor kSilver = 0xC0C0C0;
constexpr components::TColor kNavy = 0x800000;

}  // namespace

TLogLineColors MainLogLineColors(uint8_t level, bool selected) {
    if (selected) return {kWhite, kNavy};
    switch (level) {
        case 0: return {kWhite, 0xFF0000};
        case 1: return {kBlack, 0xBFFFBF};
        case 2: return {kBlack, 0x8080FF};
        case 3: return {kBlack, 0xDADADA};
        case 4: return {kBlack, kWhite};
        case 5: return {kWhite, 0x000080};
        default: return {kBlack, kSilver};
    }
}

TLogLineColors SnmpLogLineColors(int value, bool selected) {
    if (selected) {
        switch (value) {
            case 1: return {0x8080FF, kNavy};
            case 2: return {0x00FFFF, kNavy};
            case 3: return {0xFFFF00, kNavy};
            default: return {kWhite, kNavy};
        }
    }
    switch (value) {
        case 1: return {kWhite, 0x0000FF};
        case 2: return {kBlack, 0x00FFFF};
        case 3: return {kWhite, 0xFF0000};
        case 4: return {kBlack, kWhite};
        default: return {kBlack, kSilver};
    }
}

}  // namespace app
