#include "engine/capture/LoopbackListener.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace engine {
namespace {

constexpr const char* kTcpTable = "/proc/net/tcp";
constexpr const char* kListenState = "0A";
constexpr const char* kLoopbackHex = "0100007F";  // 127.0.0.1 as the table writes it
constexpr const char* kAnyHex = "00000000";

}  // namespace

bool IsLoopbackPortListening(int port) {
    char portHex[8];
    std::snprintf(portHex, sizeof portHex, "%04X", static_cast<unsigned>(port) & 0xFFFFu);
    std::ifstream table(kTcpTable);
    std::string line;
    std::getline(table, line);  // the heading
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        if (!(fields >> slot >> local >> remote >> state) || state != kListenState) continue;
        const size_t colon = local.find(':');
        if (colon == std::string::npos || local.substr(colon + 1) != portHex) continue;
        const std::string address = local.substr(0, colon);
        if (address == kLoopbackHex || address == kAnyHex) return true;
    }
    return false;
}

}  // namespace engine
