#include "engine/graphs/GraphErrorText.h"

#include <cstdio>

#include "platform/dshow/error_text.h"

namespace engine {

std::string HResultHex(HRESULT hr) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(hr));
    return digits;
}

std::string HResultText(HRESULT hr) { return dshow::ErrorText(hr) + " (Error Code : " + HResultHex(hr) + ")"; }

}  // namespace engine
