// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimUsbBus.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace inkvale::sim {

namespace {

constexpr int kNoDevice = -19;
constexpr int kBadHandle = -22;

} // namespace

CSimUsbBus::CSimUsbBus(CSimMachine& machine, std::vector<CSimUsbDevice> devices)
    : m_machine(machine), m_devices(std::move(devices)) {}

CSimUsbBus::~CSimUsbBus() = default;

int CSimUsbBus::FindDevices() {
    ++m_nFindDevices;
    return 0;
}

std::vector<CUsbDeviceRef> CSimUsbBus::Devices() {
    std::vector<CUsbDeviceRef> refs;
    for (CSimUsbDevice& device : m_devices)
        refs.push_back({device.m_nVendor, device.m_nProduct, &device});
    return refs;
}

CSimUsbDevice* CSimUsbBus::DeviceOf(void* pHandle) {
    for (CSimUsbDevice& device : m_devices) {
        if (&device == pHandle)
            return &device;
    }
    return nullptr;
}

void* CSimUsbBus::Open(const CUsbDeviceRef& ref) {
    auto* pDevice = static_cast<CSimUsbDevice*>(ref.m_pDevice);
    m_calls.push_back({CSimUsbCall::Open, 0, 0, 0, pDevice->m_bOpenFails ? -1 : 0});
    if (pDevice->m_bOpenFails)
        return nullptr;
    ++m_nOpen;
    if (pDevice->m_bMachine) {
        m_pStream = std::make_unique<CSimStream>(m_machine, 4096);
        m_replies.clear();
    }
    return pDevice;
}

int CSimUsbBus::ClaimInterface(void* pHandle, int) {
    const CSimUsbDevice* pDevice = DeviceOf(pHandle);
    const int nResult = pDevice == nullptr ? kBadHandle : pDevice->m_bClaimFails ? -16 : 0;
    m_calls.push_back({CSimUsbCall::Claim, 0, 0, 0, nResult});
    return nResult;
}

int CSimUsbBus::ReleaseInterface(void* pHandle, int) {
    const int nResult = DeviceOf(pHandle) == nullptr ? kBadHandle : 0;
    m_calls.push_back({CSimUsbCall::Release, 0, 0, 0, nResult});
    return nResult;
}

int CSimUsbBus::Close(void* pHandle) {
    const CSimUsbDevice* pDevice = DeviceOf(pHandle);
    m_calls.push_back({CSimUsbCall::Close, 0, 0, 0, pDevice == nullptr ? kBadHandle : 0});
    if (pDevice == nullptr)
        return kBadHandle;
    --m_nOpen;
    if (pDevice->m_bMachine) {
        m_pStream.reset();
        m_replies.clear();
    }
    return 0;
}

int CSimUsbBus::BulkWrite(void* pHandle, int nEndpoint, const uint8_t* p, int n, int nTimeoutMs) {
    const CSimUsbDevice* pDevice = DeviceOf(pHandle);
    int nResult = pDevice == nullptr ? kBadHandle : n;
    if (pDevice != nullptr && pDevice->m_bMachine && m_pStream) {
        for (CSimReply& reply : m_pStream->Feed(p, static_cast<size_t>(n)))
            m_replies.push_back(std::move(reply));
    }
    m_calls.push_back({CSimUsbCall::Write, nEndpoint, n, nTimeoutMs, nResult});
    return nResult;
}

int CSimUsbBus::BulkRead(void* pHandle, int nEndpoint, uint8_t* p, int n, int nTimeoutMs) {
    const CSimUsbDevice* pDevice = DeviceOf(pHandle);
    int nResult = pDevice == nullptr ? kBadHandle : kTimedOut;
    if (pDevice != nullptr && !pDevice->m_bMachine)
        nResult = kNoDevice;
    // Quiet replies and replies too late for this read are not seen by it.
    while (!m_replies.empty() && m_replies.front().m_bNone)
        m_replies.pop_front();
    if (nResult == kTimedOut && !m_replies.empty()) {
        CSimReply& reply = m_replies.front();
        if (reply.m_bDrop) {
            nResult = kNoDevice;
            m_replies.clear();
        } else if (reply.m_nDelayMs <= nTimeoutMs) {
            // A reply in pieces is one transfer per piece: each read takes the next piece.
            size_t nTake = reply.m_pieces.empty() ? reply.m_bytes.size() : reply.m_pieces.front();
            nTake = std::min({nTake, reply.m_bytes.size(), static_cast<size_t>(n)});
            std::memcpy(p, reply.m_bytes.data(), nTake);
            reply.m_bytes.erase(reply.m_bytes.begin(),
                                reply.m_bytes.begin() + static_cast<long>(nTake));
            if (!reply.m_pieces.empty())
                reply.m_pieces.erase(reply.m_pieces.begin());
            nResult = static_cast<int>(nTake);
            if (reply.m_bytes.empty())
                m_replies.pop_front();
        } else {
            reply.m_nDelayMs -= nTimeoutMs;
        }
    }
    m_calls.push_back({CSimUsbCall::Read, nEndpoint, n, nTimeoutMs, nResult});
    return nResult;
}

std::vector<CSimUsbCall> CSimUsbBus::Calls() {
    return m_calls;
}

void CSimUsbBus::ClearCalls() {
    m_calls.clear();
}

} // namespace inkvale::sim
