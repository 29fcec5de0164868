#include "platform/com/com_log.h"

#include <cstdio>

namespace platform {

void LogCom(const std::string& text) { std::fprintf(stderr, "[com] %s\n", text.c_str()); }

}  // namespace platform
