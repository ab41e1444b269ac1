// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/MachineLinks.h"
#include "SimServer.h"
#include "config/MachineParams.h"
#include "config/Settings.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <random>

namespace inkvale::test {
namespace {

// A loopback address of its own, so that the machine port 5291 is free for this test.
std::string SomeLoopbackAddress() {
    std::random_device seed;
    std::uniform_int_distribution<int> octet(2, 250);
    return "127." + std::to_string(octet(seed)) + "." + std::to_string(octet(seed)) + "." +
           std::to_string(octet(seed));
}

uint32_t AddressValue(const std::string& strAddress) {
    in_addr addr{};
    inet_pton(AF_INET, strAddress.c_str(), &addr);
    return addr.s_addr; // first octet in the lowest byte
}

TEST(MachineLinksTest, ReadsTheParameterBlockOfTheMachineOfTheSettings) {
    const std::string strAddress = SomeLoopbackAddress();
    sim::CSimMachine machine;
    ASSERT_TRUE(machine.SetParam("HeadCombination", 3));
    ASSERT_TRUE(machine.SetParam("KnifePos", 3500, 3));
    ASSERT_TRUE(machine.SetParam("KnifePos", 3500, 1));
    sim::CSimServer server(machine);
    std::string strError;
    if (!server.Start(strAddress, kMachinePort, &strError))
        GTEST_SKIP() << strError;

    CSettings settings;
    settings.CommuVia = kCommuEthernet;
    CMachineParams params;
    params.SetMachineIP(AddressValue(strAddress));
    ASSERT_TRUE(ReadParamsFromMachine(settings, params, strError)) << strError;
    EXPECT_EQ(params.HeadCombination(), 3);
    EXPECT_EQ(params.KnifePos(1), 3500);
    EXPECT_EQ(params.KnifePos(3), 0) << "knife 2 beyond 3000 is held as 0";
    EXPECT_EQ(params.MachineIP(), AddressValue(strAddress));
    EXPECT_EQ(params.ColumnSpacing(), 26);
    server.Stop();

    CMachineParams absent;
    absent.SetMachineIP(AddressValue(strAddress));
    EXPECT_FALSE(ReadParamsFromMachine(settings, absent, strError));
    EXPECT_NE(strError.find(strAddress), std::string::npos) << strError;
    EXPECT_EQ(absent.HeadCombination(), 0) << "a failed read leaves the defaults";
}

} // namespace
} // namespace inkvale::test
