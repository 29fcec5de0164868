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

bool IsMarked(const std::string& fileName) {
    {
        std::lock_guard lock(g_marksMutex);
        if (Marks().empty()) return false;  // the usual case: no spelling to work out
    }
    const std::string key = KeyFor(fileName);
    std::lock_guard lock(g_marksMutex);
    return Marks().count(key) != 0;
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
    if (IsMarked(fileName)) return true;
    // A file nobody may write is read-only, whoever asks; a folder is never ours to hand out.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || S_ISDIR(st.st_mode)) return true;
    // Asked with the effective ids, as an open for reading and writing would be.
    return ::faccessat(AT_FDCWD, fileName.c_str(), R_OK | W_OK, AT_EACCESS) != 0;
}

}  // namespace engine
