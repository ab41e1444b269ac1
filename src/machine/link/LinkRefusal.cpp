// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/LinkRefusal.h"

#include "config/MachineParams.h"

namespace inkvale {

std::string LinkRefusalText(const CLinkRefusal& refusal) {
    switch (refusal.m_nCode) {
    case ELinkRefusal::kLoopbackOnly:
        return "This development build reaches only the loopback network (127.0.0.0/8), not " +
               FormatMachineIP(refusal.m_nAddress) +
               "; build with the package preset (cmake --preset package) to reach a real "
               "plotter.";
    case ELinkRefusal::kNone:
        break;
    }
    return {};
}

} // namespace inkvale
