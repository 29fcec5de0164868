#include "sinkfilter/ip_address.h"

#include <arpa/inet.h>

#include <string>

namespace sinkfilter {

std::string IpToDotted(int32_t address) {
    in_addr a{};
    a.s_addr = htonl(static_cast<uint32_t>(address));
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

std::optional<int32_t> DottedToIp(std::string_view text) {
    const std::string s(text);
    in_addr a{};
    if (inet_pton(AF_INET, s.c_str(), &a) != 1) return std::nullopt;
    return static_cast<int32_t>(ntohl(a.s_addr));
}

}  // namespace sinkfilter
