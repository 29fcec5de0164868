#include "installer/InstallerLog.h"

#include <iostream>
#include <mutex>

namespace hollarin {

void InstallerLog(std::string_view object, std::string_view text) {
    static std::mutex mutex;  // lines of the download and extraction threads stay whole
    std::lock_guard lock(mutex);
    std::clog << '[' << object << "] " << text << '\n';
}

}  // namespace hollarin
