#include "sinkfilter/ip_address.h"

#include <arpa/inet.h>

#include <string>

namespace sinkfilter {
namespace {
constexpr int kAddressParts = 4;
constexpr uint32_t kMaxPartValue = 255;
}  // namespace

std::string IpToDotted(int32_t address) {
    in_addr a{};
    a.s_addr = htonl(static_cast<uint32_t>(address));
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

std::optional<int32_t> DottedToIp(std::string_view text) {
    // Each part is one or more decimal digits worth 0..255; leading zeros are allowed ("127.0.0.01").
    uint32_t address = 0;
    size_t at = 0;
    for (int part = 0; part < kAddressParts; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.') return std::nullopt;
            ++at;
        }
        const size_t begin = at;
        uint32_t value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            value = value * 10 + static_cast<uint32_t>(text[at] - '0');
            if (value > kMaxPartValue) return std::nullopt;
            ++at;
        }
        if (at == begin) return std::nullopt;
        address = address << 8 | value;
    }
    if (at != text.size()) return std::nullopt;
    return static_cast<int32_t>(address);
}

}  // namespace sinkfilter
