#include "engine/util/ip_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace engine {

std::string IpAddrToText(uint32_t ipAddr) {
    const in_addr address{htonl(ipAddr)};
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace engine
