// How the graphs word a failed COM call in their log lines.
#pragma once

#include <string>

#include "platform/com/com.h"

namespace engine {

// The HRESULT as eight upper-case hexadecimal digits ("80004005").
std::string HResultHex(HRESULT hr);
// The DirectShow error text followed by " (Error Code : " + HResultHex + ")".
std::string HResultText(HRESULT hr);

}  // namespace engine
