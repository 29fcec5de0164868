// DirectShow-style error text for an HRESULT, as the engine logs it after a failed step.
#pragma once

#include <string>

#include "platform/dshow/dshow.h"

// Copies the text (cut to maxLength - 1 characters, always terminated) into buffer; returns the number
// of characters copied, 0 when buffer is null or maxLength is 0.
DWORD AMGetErrorText(HRESULT hr, char* buffer, DWORD maxLength);

namespace dshow {
// The whole text; unknown codes read "Unknown error 0x" + eight hexadecimal digits.
std::string ErrorText(HRESULT hr);
}  // namespace dshow
