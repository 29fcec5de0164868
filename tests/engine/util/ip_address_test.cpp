#include "engine/util/ip_address.h"

#include <gtest/gtest.h>

namespace {

struct AddressCase {
    uint32_t Address;
    const char* Text;
};

TEST(IpAddress, TextOfTheSharedInteger) {
    const AddressCase cases[] = {
        {0x7F000001u, "127.0.0.1"},   {0u, "0.0.0.0"},           {0xFFFFFFFFu, "255.255.255.255"},
        {0xC0A80A05u, "192.168.10.5"}, {0x0A000100u, "10.0.1.0"}, {0xE0000001u, "224.0.0.1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(engine::IpAddrToText(c.Address), c.Text) << std::hex << c.Address;
        EXPECT_EQ(engine::DottedAddress(static_cast<int32_t>(c.Address)), c.Text) << std::hex << c.Address;
    }
}

TEST(IpAddress, LoopbackIsTheOneAddressOfSettingsAndCaptures) {
    EXPECT_EQ(engine::DottedAddress(engine::kLoopbackAddress), "127.0.0.1");
}

}  // namespace
