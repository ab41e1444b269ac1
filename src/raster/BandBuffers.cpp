// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandBuffers.h"

namespace inkvale {

CBandBuffers::CBandBuffers()
    : m_pBitmap(new uint8_t[kBitmapBytes]()), m_pCanvas(new uint8_t[kCanvasBytes]()),
      m_pColumns(new uint8_t[kColumnImageBytes]()), m_pData(new uint8_t[kBandDataBytes]()) {}

CBandBuffers& CBandBuffers::Instance() {
    static CBandBuffers instance;
    return instance;
}

CBandBuffers::CLease CBandBuffers::TryAcquire() {
    CLease lease;
    bool bFree = false;
    if (m_bHeld.compare_exchange_strong(bFree, true, std::memory_order_acquire))
        lease.m_pOwner = this;
    return lease;
}

} // namespace inkvale
