#include "tests/support/unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace fw_test {

namespace {
constexpr int kCannotDropExitCode = 97;
}

uid_t UnprivilegedUid() { return ::geteuid() == 0 ? kNobodyUid : ::geteuid(); }
gid_t UnprivilegedGid() { return ::geteuid() == 0 ? kNobodyGid : ::getegid(); }

std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        const bool dropped = ::geteuid() != 0 ||
                             (::setgroups(0, nullptr) == 0 && ::setgid(kNobodyGid) == 0 && ::setuid(kNobodyUid) == 0);
        if (!dropped) ::_exit(kCannotDropExitCode);
        const std::string answer = body();
        for (size_t done = 0; done < answer.size();) {
            const ssize_t n = ::write(fds[1], answer.data() + done, answer.size() - done);
            if (n <= 0) ::_exit(EXIT_FAILURE);
            done += static_cast<size_t>(n);
        }
        ::_exit(EXIT_SUCCESS);  // no test-framework or sanitizer teardown in the copy of the test
    }
    ::close(fds[1]);
    std::string answer;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) answer.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != EXIT_SUCCESS) return std::nullopt;
    return answer;
}

UnprivilegedTempDir::UnprivilegedTempDir(uid_t owner, gid_t group) : owner_(owner), group_(group) {
    char pattern[] = "/tmp/fw-unprivileged-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = pattern;
    GiveAway(path_);
}

UnprivilegedTempDir::~UnprivilegedTempDir() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void UnprivilegedTempDir::GiveAway(const std::filesystem::path& path) const {
    if (::geteuid() == 0 && ::chown(path.c_str(), owner_, group_) != 0)
        throw std::system_error(errno, std::generic_category(), "chown " + path.string());
}

}  // namespace fw_test
