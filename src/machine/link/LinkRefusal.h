// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace inkvale {

/// Why a link would not even try to reach the machine. The links report a code and the
/// address it concerns; the front ends turn them into the operator's text.
enum class ELinkRefusal : uint8_t {
    kNone = 0,
    /// A loopback-only build (INKVALE_LOOPBACK_ONLY) was asked for an address outside
    /// 127.0.0.0/8.
    kLoopbackOnly = 1,
};

struct CLinkRefusal {
    ELinkRefusal m_nCode = ELinkRefusal::kNone;
    uint32_t m_nAddress = 0; ///< IPv4 address, first octet in the lowest byte
    bool Refused() const { return m_nCode != ELinkRefusal::kNone; }
    bool operator==(const CLinkRefusal&) const = default;
};

/// The English text of a refusal for the command-line tools and logs ("" for kNone), e.g.
/// "This development build reaches only the loopback network (127.0.0.0/8), not 192.0.2.1;
/// build with the package preset (cmake --preset package) to reach a real plotter."
std::string LinkRefusalText(const CLinkRefusal& refusal);

/// A refusal shared between threads as one word: the code in the high half, the address
/// in the low half, so that a reader never sees the code of one refusal with the address of
/// another.
class CAtomicLinkRefusal {
public:
    void Store(const CLinkRefusal& refusal) {
        m_nPacked = uint64_t{static_cast<uint8_t>(refusal.m_nCode)} << 32 | refusal.m_nAddress;
    }
    CLinkRefusal Load() const {
        const uint64_t n = m_nPacked.load();
        return {static_cast<ELinkRefusal>(n >> 32), static_cast<uint32_t>(n)};
    }

private:
    std::atomic<uint64_t> m_nPacked{0};
};

} // namespace inkvale
