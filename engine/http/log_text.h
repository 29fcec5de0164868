// Text that a client sent (document, form fields) goes into log lines only through this escape, so a
// request can never forge or split a log line.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// CR and LF become "\r" and "\n"; every other control byte and DEL becomes "\xNN"; a backslash stays.
std::string EscapeForLog(std::string_view text);

}  // namespace engine
