#include "engine/capture/LoopbackListener.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace engine {
namespace {

constexpr const char* kListenState = "0A";
constexpr const char* kSocketLinkPrefix = "socket:[";

struct TTcpTable {
    const char* Path;
    std::set<std::string> Addresses;  // as the table writes them: 127.0.0.1 and "every address"
};

// The socket inodes of the listeners on port that a client of 127.0.0.1 reaches.
std::set<std::string> ListenerInodes(int port) {
    char portHex[8];
    std::snprintf(portHex, sizeof portHex, "%04X", static_cast<unsigned>(port) & 0xFFFFu);
    const TTcpTable tables[] = {
        {"/proc/net/tcp", {"0100007F", "00000000"}},
        {"/proc/net/tcp6", {"00000000000000000000000000000000", "0000000000000000FFFF00000100007F"}},
    };
    std::set<std::string> inodes;
    for (const TTcpTable& table : tables) {
        std::ifstream in(table.Path);
        std::string line;
        std::getline(in, line);  // the heading
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
            if (!(fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode) ||
                state != kListenState)
                continue;
            const size_t colon = local.find(':');
            if (colon == std::string::npos || local.substr(colon + 1) != portHex) continue;
            if (table.Addresses.count(local.substr(0, colon))) inodes.insert(inode);
        }
    }
    return inodes;
}

bool ThisProcessHoldsSocket(const std::set<std::string>& inodes) {
    std::error_code error;
    for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error)) {
        std::error_code linkError;
        const std::string target = std::filesystem::read_symlink(it->path(), linkError).string();
        if (linkError || target.rfind(kSocketLinkPrefix, 0) != 0 || target.back() != ']') continue;
        const size_t start = std::char_traits<char>::length(kSocketLinkPrefix);
        if (inodes.count(target.substr(start, target.size() - start - 1))) return true;
    }
    return false;
}

}  // namespace

TPortListener LoopbackPortListener(int port) {
    const std::set<std::string> inodes = ListenerInodes(port);
    if (inodes.empty()) return TPortListener::Nobody;
    return ThisProcessHoldsSocket(inodes) ? TPortListener::ThisProcess : TPortListener::AnotherProcess;
}

}  // namespace engine
