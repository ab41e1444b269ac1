// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace inkvale {

/// The process-wide raster buffers: the band bitmap, the column image and the band data.
/// Allocated once, on first use, and kept for the life of the process. One band producer
/// at a time holds them through a lease; the band data it produces stays valid until its
/// next band.
class CBandBuffers {
public:
    static constexpr size_t kBitmapBytes = 28000 * 80;      ///< 28 000 rows of 640 pixels
    static constexpr size_t kCanvasBytes = 28000 * 640;     ///< the painter's byte per pixel
    static constexpr size_t kColumnImageBytes = 28030 * 88; ///< JobWidth + 30 columns
    static constexpr size_t kChunkBytes = 4096;             ///< the link sends whole chunks
    static constexpr size_t kBandDataBytes = 2464000 * 2 + kChunkBytes; ///< code words + slack

    /// Exclusive use of the buffers; movable, released on destruction (by any thread).
    class CLease {
    public:
        CLease() = default;
        CLease(CLease&& other) noexcept : m_pOwner(std::exchange(other.m_pOwner, nullptr)) {}
        CLease& operator=(CLease&& other) noexcept {
            if (this != &other) {
                Release();
                m_pOwner = std::exchange(other.m_pOwner, nullptr);
            }
            return *this;
        }
        CLease(const CLease&) = delete;
        CLease& operator=(const CLease&) = delete;
        ~CLease() { Release(); }
        explicit operator bool() const { return m_pOwner != nullptr; }
        uint8_t* Bitmap() const { return m_pOwner->m_pBitmap.get(); }
        /// The drawing surface: zero between bands (the rasteriser clears what it drew).
        uint8_t* Canvas() const { return m_pOwner->m_pCanvas.get(); }
        uint8_t* ColumnImage() const { return m_pOwner->m_pColumns.get(); }
        uint8_t* BandData() const { return m_pOwner->m_pData.get(); }

    private:
        friend class CBandBuffers;
        void Release() {
            if (m_pOwner != nullptr)
                m_pOwner->m_bHeld.store(false, std::memory_order_release);
            m_pOwner = nullptr;
        }
        CBandBuffers* m_pOwner = nullptr;
    };

    /// The single instance (allocates the buffers on the first call). Thread-safe.
    static CBandBuffers& Instance();

    /// The buffers when no other producer holds them, else an empty lease (false).
    CLease TryAcquire();

    CBandBuffers(const CBandBuffers&) = delete;
    CBandBuffers& operator=(const CBandBuffers&) = delete;

private:
    CBandBuffers();

    // A flag rather than a mutex: a job may take the buffers on the window thread and
    // release them on another.
    std::atomic<bool> m_bHeld{false};
    std::unique_ptr<uint8_t[]> m_pBitmap;
    std::unique_ptr<uint8_t[]> m_pCanvas;
    std::unique_ptr<uint8_t[]> m_pColumns;
    std::unique_ptr<uint8_t[]> m_pData;
};

} // namespace inkvale
