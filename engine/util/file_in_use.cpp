#include "engine/util/file_in_use.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace engine {

namespace {

std::mutex g_marksMutex;
std::map<std::string, int>& Marks() {
    static std::map<std::string, int> marks;
    return marks;
}

// One spelling per file, whether it exists yet or not.
std::string KeyFor(const std::string& fileName) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(fileName, ec);
    if (ec) p = std::filesystem::absolute(fileName, ec).lexically_normal();
    return p.string();
}

}  // namespace

TFileUseMark::TFileUseMark(const std::string& fileName) : key_(KeyFor(fileName)) {
    std::lock_guard lock(g_marksMutex);
    ++Marks()[key_];
}

TFileUseMark::~TFileUseMark() {
    std::lock_guard lock(g_marksMutex);
    auto it = Marks().find(key_);
    if (it != Marks().end() && --it->second <= 0) Marks().erase(it);
}

bool IsFileInUse(const std::string& fileName) {
    struct stat st {};
    if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0) return false;
    {
        std::lock_guard lock(g_marksMutex);
        if (Marks().count(KeyFor(fileName))) return true;
    }
    // A file nobody may write is read-only, whoever asks.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    int fd = ::open(fileName.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return true;
    ::close(fd);
    return false;
}

}  // namespace engine
