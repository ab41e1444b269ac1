// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/link/MachineCommands.h"

#include <mutex>
#include <optional>

namespace inkvale {

namespace {

// Counts one exchange as under way for its whole scope, the wait for the lock included.
class CExchangeMark {
public:
    explicit CExchangeMark(CMachineStatus& status) : m_status(status) {
        ++m_status.m_nExchanges;
        ++m_status.m_nExchanging;
    }
    ~CExchangeMark() { --m_status.m_nExchanging; }
    CExchangeMark(const CExchangeMark&) = delete;
    CExchangeMark& operator=(const CExchangeMark&) = delete;
    /// The machine replied to this exchange.
    void Answered() { ++m_status.m_nAnswers; }

private:
    CMachineStatus& m_status;
};

} // namespace

CMachineCommands::CMachineCommands(const ILinkChoice& choice, CMachineStatus& status, CMachineLink& eth,
                   CMachineLink& usbPrint, CMachineLink& usb)
    : m_choice(choice), m_status(status), m_eth(eth), m_usbPrint(usbPrint), m_usb(usb) {}

CMachineLink& CMachineCommands::CurrentLink() {
    switch (m_choice.CommuVia()) {
    case kCommuUsbPrint:
        return m_usbPrint;
    case kCommuUsb:
        return m_usb;
    default:
        return m_eth;
    }
}

void CMachineCommands::CloseAfter(CMachineLink& link, int nResult) {
    m_status.m_linkRefusal.Store(link.Refusal());
    if (!m_status.m_bJobRunning || nResult != 0)
        link.Close();
}

int CMachineCommands::SendAction(uint8_t nCode) {
    CExchangeMark mark(m_status);
    CMachineLink& link = CurrentLink();
    std::lock_guard<std::mutex> guard(link.Lock());
    uint8_t nState = 0;
    const int nResult = link.Action(nCode, &nState);
    if (nResult == 0) {
        m_status.m_nMachineState = nState;
        mark.Answered();
    }
    CloseAfter(link, nResult);
    return nResult;
}

int CMachineCommands::ReadRegs(uint8_t nAddress, uint8_t nCount, CReplyBuffer& reply) {
    CExchangeMark mark(m_status);
    CMachineLink& link = CurrentLink();
    std::lock_guard<std::mutex> guard(link.Lock());
    const int nResult = link.Read(nAddress, nCount, reply);
    if (nResult == 0)
        mark.Answered();
    CloseAfter(link, nResult);
    return nResult;
}

int CMachineCommands::WriteRegs(uint8_t nAddress, uint8_t nCount, const uint8_t* pData) {
    CExchangeMark mark(m_status);
    CMachineLink& link = CurrentLink();
    std::lock_guard<std::mutex> guard(link.Lock());
    std::optional<uint8_t> state;
    const int nResult = link.Write(nAddress, nCount, pData, state);
    // A USB link's result byte may read -1 too; a reply with a state byte was an answer.
    if (nResult >= 0 || state)
        mark.Answered();
    if (state)
        m_status.m_nMachineState = *state;
    CloseAfter(link, nResult);
    return nResult;
}

int CMachineCommands::SendData(const uint8_t* pData, size_t nLength) {
    CExchangeMark mark(m_status);
    CMachineLink& link = CurrentLink();
    std::lock_guard<std::mutex> guard(link.Lock());
    const int nResult = link.SendData(pData, nLength, m_status.m_nMachineState);
    if (nResult >= 0)
        mark.Answered();
    m_status.m_linkRefusal.Store(link.Refusal());
    return nResult;
}

void CMachineCommands::CloseEthLink() {
    const int nVia = m_choice.CommuVia();
    if (nVia == kCommuUsbPrint || nVia == kCommuUsb)
        return;
    // Under the lock: the band sender may be in the middle of an exchange on this link.
    std::lock_guard<std::mutex> guard(m_eth.Lock());
    m_eth.Close();
}

} // namespace inkvale
