#include "tests/support/own_network.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fw_test {
namespace {

bool g_ownNetworkAsked = false;  // set while statics are made, read by main

std::string Failed(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteProcFile(const char* file, const std::string& text) {
    const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

// Maps this user's own ids, and nothing else, into the user namespace just made.
std::string MapOwnIds(uid_t uid, gid_t gid) {
    if (!WriteProcFile("/proc/self/setgroups", "deny")) return Failed("/proc/self/setgroups");
    if (!WriteProcFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1"))
        return Failed("/proc/self/uid_map");
    if (!WriteProcFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1"))
        return Failed("/proc/self/gid_map");
    return {};
}

std::string LoopbackUp() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Failed("socket");
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    std::string error;
    if (::ioctl(fd, SIOCGIFFLAGS, &request) != 0) {
        error = Failed("reading the loopback's flags");
    } else {
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        if (::ioctl(fd, SIOCSIFFLAGS, &request) != 0) error = Failed("bringing the loopback up");
    }
    ::close(fd);
    return error;
}

std::string DropCapabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3]{};
    return ::syscall(SYS_capset, &header, none) == 0 ? std::string() : Failed("giving up capabilities");
}

}  // namespace

bool AskForOwnNetwork() {
    g_ownNetworkAsked = true;
    return true;
}

bool OwnNetworkAsked() { return g_ownNetworkAsked; }

std::string EnterOwnNetwork() {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (uid == 0) {
        if (::unshare(CLONE_NEWNET) != 0) return Failed("unshare(network namespace)");
        return LoopbackUp();
    }
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) return Failed("unshare(user and network namespace)");
    std::string error = MapOwnIds(uid, gid);
    if (error.empty()) error = LoopbackUp();
    if (error.empty()) error = DropCapabilities();
    return error;
}

}  // namespace fw_test
