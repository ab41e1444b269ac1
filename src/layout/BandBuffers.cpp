#include "layout/BandBuffers.h"

namespace inkvale {

CBandBuffers::CBandBuffers()
    : m_pBitmap(new uint8_t[kBitmapBytes]()), m_pColumns(new uint8_t[kColumnImageBytes]()),
      m_pData(new uint8_t[kBandDataBytes]()) {}

CBandBuffers& CBandBuffers::Instance() {
    static CBandBuffers instance;
    return instance;
}

CBandBuffers::CLease CBandBuffers::TryAcquire() {
    CLease lease;
    lease.m_lock = std::unique_lock<std::mutex>(m_mutex, std::try_to_lock);
    if (lease.m_lock.owns_lock())
        lease.m_pOwner = this;
    return lease;
}

} // namespace inkvale
