// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/MyEth.h"

#include <gtest/gtest.h>

namespace inkvale {
namespace {

#ifdef INKVALE_LOOPBACK_ONLY
TEST(MyEthAddress, DevelopmentBuildsReachLoopbackOnly) {
    struct Case {
        uint32_t ip; // first octet in the lowest byte
        bool allowed;
    };
    const Case cases[] = {
        {16777343u, true},    // 127.0.0.1
        {0x0302007Fu, true},  // 127.0.2.3
        {0xAF01A8C0u, false}, // 192.168.1.175, the factory default
        {0x0100000Au, false}, // 10.0.0.1
        {0x7F000001u, false}, // 1.0.0.127: octets the wrong way round
        {0u, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsMachineAddressAllowed(c.ip), c.allowed) << std::hex << c.ip;
}
#endif

} // namespace
} // namespace inkvale
