// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/LinkRefusal.h"
#include "machine/link/TcpLink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace inkvale {
namespace {

#ifdef INKVALE_LOOPBACK_ONLY
TEST(TcpLinkAddress, DevelopmentBuildsReachLoopbackOnly) {
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

class CFixedChoice : public ILinkChoice {
public:
    explicit CFixedChoice(uint32_t nIp) : m_nIp(nIp) {}
    int CommuVia() const override { return kCommuEthernet; }
    uint32_t MachineIp() const override { return m_nIp; }

private:
    uint32_t m_nIp;
};

long OpenDescriptors() {
    return static_cast<long>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                           std::filesystem::directory_iterator()));
}

// The refusal comes before any socket exists, and says why in words the operator can act on.
TEST(TcpLinkAddress, ARefusedAddressOpensNoSocketAndGivesItsReason) {
    constexpr uint32_t kTestNet1 = 0x010200C0u; // 192.0.2.1, a documentation address
    const CFixedChoice choice(kTestNet1);
    CTcpLink eth(choice);
    EXPECT_EQ(eth.Refusal(), CLinkRefusal{});
    const long nBefore = OpenDescriptors();
    EXPECT_EQ(eth.EnsureOpen(), -1);
    EXPECT_EQ(OpenDescriptors(), nBefore);
    EXPECT_FALSE(eth.IsOpen());
    const CLinkRefusal refusal = eth.Refusal();
    EXPECT_EQ(refusal, (CLinkRefusal{ELinkRefusal::kLoopbackOnly, kTestNet1}));
    EXPECT_EQ(LinkRefusalText(refusal),
              "This development build reaches only the loopback network (127.0.0.0/8), not "
              "192.0.2.1; build with the package preset (cmake --preset package) to reach a real "
              "plotter.");
    EXPECT_EQ(LinkRefusalText({}), "");
}
#endif

} // namespace
} // namespace inkvale
