#include "installer/zip/zip_target_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

#include "installer/zip/zip_entry_name.h"
#include "installer/zip/zip_log.h"

namespace hollarin {
namespace {

constexpr int kMaxTempNameTries = 16;

std::string Join(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view p : parts) text.append(p);
    return text;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (!part.empty() && part != ".") parts.push_back(std::move(part));
        start = end + 1;
    }
    return parts;
}

std::string TempNameFor(const std::string& leaf) {
    static std::atomic<uint32_t> counter{0};
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%d.%u.part", int(::getpid()), counter.fetch_add(1));
    // Keep the name within a file system's 255-byte limit.
    std::string name(1, '.');
    name.append(leaf, 0, 180);
    name.append(suffix);
    return name;
}

}  // namespace

TZipTargetFile::~TZipTargetFile() { RemoveTemp(); }

void TZipTargetFile::RemoveTemp() {
    if (tempName_.empty()) return;
    file_.Reset();
    ::unlinkat(dir_.Get(), tempName_.c_str(), 0);
    tempName_.clear();
}

bool TZipTargetFile::OpenFolder(int parent, const std::string& name, bool followLinks, platform::TUniqueFd& out) {
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    out = platform::TUniqueFd(::openat(parent, name.c_str(), flags));
    if (out.Valid()) return true;
    if (errno != ENOENT) return false;
    if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return false;
    out = platform::TUniqueFd(::openat(parent, name.c_str(), flags));
    return out.Valid();
}

bool TZipTargetFile::Prepare(const std::string& outName, const std::string& root) {
    outName_ = outName;
    folder_ = !outName.empty() && outName.back() == '/';
    std::string relative;
    std::string base;
    bool followLinks = true;
    if (!root.empty()) {
        std::string top = root;
        while (top.size() > 1 && top.back() == '/') top.pop_back();
        std::string prefix = top;
        if (prefix != "/") prefix.push_back('/');
        if (outName.compare(0, prefix.size(), prefix) != 0 || !IsSafeZipEntryName(outName.substr(prefix.size()))) {
            ZipLog(archive_, Join({"\"", outName, "\" lies outside the target folder \"", top, "\": refused"}));
            return false;
        }
        relative = outName.substr(prefix.size());
        base = top;
        followLinks = false;
    } else {
        if (HasParentComponent(outName)) {
            ZipLog(archive_, Join({"\"", outName, "\" has a \"..\" component: refused"}));
            return false;
        }
        relative = outName;
        base.assign(1, !outName.empty() && outName.front() == '/' ? '/' : '.');
    }
    std::vector<std::string> parts = SplitPath(relative);
    if (!folder_) {
        if (parts.empty()) {
            ZipLog(archive_, Join({"\"", outName, "\" names no file"}));
            return false;
        }
        leaf_ = parts.back();
        parts.pop_back();
    }
    platform::TUniqueFd dir(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid()) {
        ZipLog(archive_, Join({"cannot open the folder \"", base, "\": ", std::strerror(errno)}));
        return false;
    }
    for (const std::string& part : parts) {
        platform::TUniqueFd next;
        if (!OpenFolder(dir.Get(), part, followLinks, next)) {
            ZipLog(archive_, Join({"cannot create the folder \"", part, "\" for \"", outName, "\": ", std::strerror(errno)}));
            return false;
        }
        dir = std::move(next);
    }
    dir_ = std::move(dir);
    if (folder_) return true;
    for (int attempt = 0; attempt < kMaxTempNameTries; ++attempt) {
        std::string temp = TempNameFor(leaf_);
        platform::TUniqueFd fd(::openat(dir_.Get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd.Valid()) {
            file_ = std::move(fd);
            tempName_ = std::move(temp);
            return true;
        }
        if (errno != EEXIST) break;
    }
    ZipLog(archive_, Join({"cannot create \"", outName, "\": ", std::strerror(errno)}));
    return false;
}

bool TZipTargetFile::Write(const uint8_t* data, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(file_.Get(), data, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            ZipLog(archive_, Join({"cannot write \"", outName_, "\": ", std::strerror(errno)}));
            return false;
        }
        data += w;
        n -= size_t(w);
    }
    return true;
}

bool TZipTargetFile::Commit(const time_t* modified, bool readOnly) {
    if (!file_.Valid()) return false;
    // Time and attributes are best effort, as on the file system that made the archive.
    if (modified) {
        struct timespec times[2] = {{*modified, 0}, {*modified, 0}};
        ::futimens(file_.Get(), times);
    }
    if (readOnly) {
        struct stat st {};
        if (::fstat(file_.Get(), &st) == 0) ::fchmod(file_.Get(), st.st_mode & ~mode_t(0222));
    }
    if (!file_.Close()) {
        ZipLog(archive_, Join({"cannot finish \"", outName_, "\": ", std::strerror(errno)}));
        RemoveTemp();
        return false;
    }
    if (::renameat(dir_.Get(), tempName_.c_str(), dir_.Get(), leaf_.c_str()) != 0) {
        ZipLog(archive_, Join({"cannot put \"", outName_, "\" in place: ", std::strerror(errno)}));
        RemoveTemp();
        return false;
    }
    tempName_.clear();
    return true;
}

}  // namespace hollarin
