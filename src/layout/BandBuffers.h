#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace inkvale {

/// The process-wide raster buffers: the band bitmap, the column image and the band data.
/// Allocated once, on first use, and kept for the life of the process. One band producer
/// at a time holds them through a lease; the band data it produces stays valid until its
/// next band.
class CBandBuffers {
public:
    static constexpr size_t kBitmapBytes = 28000 * 80;      ///< 28 000 rows of 640 pixels
    static constexpr size_t kColumnImageBytes = 28030 * 88; ///< JobWidth + 30 columns
    static constexpr size_t kChunkBytes = 4096;             ///< the link sends whole chunks
    static constexpr size_t kBandDataBytes = 2464000 * 2 + kChunkBytes; ///< code words + slack

    /// Exclusive use of the buffers; movable, released on destruction.
    class CLease {
    public:
        CLease() = default;
        explicit operator bool() const { return m_lock.owns_lock(); }
        uint8_t* Bitmap() const { return m_pOwner->m_pBitmap.get(); }
        uint8_t* ColumnImage() const { return m_pOwner->m_pColumns.get(); }
        uint8_t* BandData() const { return m_pOwner->m_pData.get(); }

    private:
        friend class CBandBuffers;
        CBandBuffers* m_pOwner = nullptr;
        std::unique_lock<std::mutex> m_lock;
    };

    /// The single instance (allocates the buffers on the first call). Thread-safe.
    static CBandBuffers& Instance();

    /// The buffers when no other producer holds them, else an empty lease (false).
    CLease TryAcquire();

    CBandBuffers(const CBandBuffers&) = delete;
    CBandBuffers& operator=(const CBandBuffers&) = delete;

private:
    CBandBuffers();

    std::mutex m_mutex;
    std::unique_ptr<uint8_t[]> m_pBitmap;
    std::unique_ptr<uint8_t[]> m_pColumns;
    std::unique_ptr<uint8_t[]> m_pData;
};

} // namespace inkvale
