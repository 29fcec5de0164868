#include "installer/zip/zip_log.h"

#include <iostream>
#include <mutex>

namespace hollarin {

void ZipLog(std::string_view archive, std::string_view text) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::clog << "[zip: " << archive << "] " << text << '\n';
}

}  // namespace hollarin
