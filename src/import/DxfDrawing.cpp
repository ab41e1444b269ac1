// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfDrawing.h"

#include "import/DxfDrawingData.h"

#include <algorithm>
#include <new>
#include <utility>

namespace inkvale {

namespace {

/// Moves a table's or the blocks' cursor by the walk mode; the index found or -1.
ptrdiff_t MoveCursor(ptrdiff_t& nCursor, size_t nCount, DxfFind mode) {
    const auto nLast = static_cast<ptrdiff_t>(nCount) - 1;
    ptrdiff_t n = -1;
    switch (mode) {
    case DxfFind::First:
        n = 0;
        break;
    case DxfFind::Next:
        n = nCursor + 1;
        break;
    case DxfFind::Previous:
        n = nCursor - 1;
        break;
    case DxfFind::Last:
        n = nLast;
        break;
    default:
        return -1;
    }
    if (n < 0 || n > nLast)
        return -1;
    nCursor = n;
    return n;
}

/// Index of the record with this handle in a list ordered by handle, or -1.
template <typename T, typename GetHandle>
ptrdiff_t FindByHandle(const std::vector<T>& arr, int32_t nHandle, GetHandle getHandle) {
    const auto it = std::lower_bound(arr.begin(), arr.end(), nHandle,
                                     [&](const T& r, int32_t h) { return getHandle(r) < h; });
    if (it == arr.end() || getHandle(*it) != nHandle)
        return -1;
    return it - arr.begin();
}

template <typename Drawing>
auto BufferOf(Drawing& d, int32_t nBlock) -> decltype(&d.m_entities) {
    if (nBlock == 0)
        return &d.m_entities;
    const ptrdiff_t i = DxfBlockIndexByHandle(d, nBlock);
    return i < 0 ? nullptr : &d.m_arrBlocks[static_cast<size_t>(i)].m_buffer;
}

} // namespace

DxfEntityBuffer* DxfBufferOf(DxfDrawing& d, int32_t nBlock) {
    return BufferOf(d, nBlock);
}

const DxfEntityBuffer* DxfBufferOf(const DxfDrawing& d, int32_t nBlock) {
    return BufferOf(d, nBlock);
}

void DxfCountSkipped(DxfEntityBuffer& buffer, const std::string& strName) {
    for (auto& [strKind, nCount] : buffer.m_arrSkipped) {
        if (strKind == strName) {
            ++nCount;
            return;
        }
    }
    buffer.m_arrSkipped.emplace_back(strName, 1);
}

bool DxfLayerHidden(const DxfDrawing& d, int32_t nLayer) {
    const ptrdiff_t i = DxfTableIndexByHandle(d.m_layers, nLayer);
    if (i < 0)
        return false;
    const DxfTableEntry& layer = d.m_layers.m_arr[static_cast<size_t>(i)];
    return layer.m_nColor < 0 || (layer.m_nFlags & 1) != 0;
}

const DxfTable* DxfTableByCode(const DxfDrawing& d, int nTable) {
    switch (nTable) {
    case kDxfTableDimStyle:
        return &d.m_dimStyles;
    case kDxfTableLayer:
        return &d.m_layers;
    case kDxfTableLtype:
        return &d.m_ltypes;
    case kDxfTableStyle:
        return &d.m_styles;
    default:
        return nullptr;
    }
}

DxfTable* DxfTableByCode(DxfDrawing& d, int nTable) {
    return const_cast<DxfTable*>(DxfTableByCode(std::as_const(d), nTable));
}

ptrdiff_t DxfTableIndexByName(const DxfTable& t, const std::string& strName) {
    const auto it = t.m_byName.find(strName);
    return it == t.m_byName.end() ? -1 : static_cast<ptrdiff_t>(it->second);
}

ptrdiff_t DxfTableIndexByHandle(const DxfTable& t, int32_t nHandle) {
    return FindByHandle(t.m_arr, nHandle, [](const DxfTableEntry& e) { return e.m_nHandle; });
}

ptrdiff_t DxfBlockIndexByName(const DxfDrawing& d, const std::string& strName) {
    const auto it = d.m_blocksByName.find(strName);
    return it == d.m_blocksByName.end() ? -1 : static_cast<ptrdiff_t>(it->second);
}

ptrdiff_t DxfBlockIndexByHandle(const DxfDrawing& d, int32_t nHandle) {
    return FindByHandle(d.m_arrBlocks, nHandle,
                        [](const DxfBlockRecord& b) { return b.m_header.m_nHandle; });
}

DxfDrawing* DxfDrawingCreate() {
    DxfDrawing* pDrawing = new (std::nothrow) DxfDrawing;
    if (pDrawing == nullptr)
        return nullptr;
    pDrawing->m_dimStyles.m_nCapacity = kDxfDimStyleCapacity;
    pDrawing->m_layers.m_nCapacity = kDxfLayerCapacity;
    pDrawing->m_ltypes.m_nCapacity = kDxfLtypeCapacity;
    pDrawing->m_styles.m_nCapacity = kDxfStyleCapacity;
    pDrawing->m_bValid = true;
    return pDrawing;
}

void DxfDrawingFree(DxfDrawing* pDrawing) {
    delete pDrawing;
}

int32_t DxfAddTableEntry(DxfDrawing* pDrawing, int nTable, const DxfTableEntry& entry) {
    DxfTable* pTable = DxfTableByCode(*pDrawing, nTable);
    if (pTable == nullptr || pTable->m_arr.size() >= pTable->m_nCapacity ||
        pTable->m_byName.contains(entry.m_strName))
        return 0;
    try {
        DxfTableEntry stored = entry;
        stored.m_nHandle = pDrawing->m_nHandle + 1;
        pTable->m_arr.push_back(std::move(stored));
        pTable->m_byName.emplace(entry.m_strName, pTable->m_arr.size() - 1);
    } catch (const std::bad_alloc&) {
        if (pTable->m_arr.size() > pTable->m_byName.size())
            pTable->m_arr.pop_back();
        return 0;
    }
    return ++pDrawing->m_nHandle;
}

int32_t DxfFindTableEntry(DxfDrawing* pDrawing, int nTable, DxfFind mode, DxfTableEntry* pEntry) {
    DxfTable* pTable = DxfTableByCode(*pDrawing, nTable);
    if (pTable == nullptr)
        return 0;
    ptrdiff_t i = -1;
    if (mode == DxfFind::ByName)
        i = DxfTableIndexByName(*pTable, pEntry->m_strName);
    else if (mode == DxfFind::ByHandle)
        i = DxfTableIndexByHandle(*pTable, pEntry->m_nHandle);
    else
        i = MoveCursor(pTable->m_nCursor, pTable->m_arr.size(), mode);
    if (i < 0)
        return 0;
    pTable->m_nCursor = i;
    *pEntry = pTable->m_arr[static_cast<size_t>(i)];
    return pEntry->m_nHandle;
}

int32_t DxfAddBlock(DxfDrawing* pDrawing, const DxfBlock& block) {
    if (pDrawing->m_arrBlocks.size() >= kDxfBlockCapacity ||
        pDrawing->m_blocksByName.contains(block.m_strName))
        return 0;
    try {
        DxfBlockRecord rec;
        rec.m_header = block;
        rec.m_header.m_nHandle = pDrawing->m_nHandle + 1;
        pDrawing->m_arrBlocks.push_back(std::move(rec));
        pDrawing->m_blocksByName.emplace(block.m_strName, pDrawing->m_arrBlocks.size() - 1);
    } catch (const std::bad_alloc&) {
        if (pDrawing->m_arrBlocks.size() > pDrawing->m_blocksByName.size())
            pDrawing->m_arrBlocks.pop_back();
        return 0;
    }
    return ++pDrawing->m_nHandle;
}

int32_t DxfFindBlock(DxfDrawing* pDrawing, DxfFind mode, DxfBlock* pBlock) {
    ptrdiff_t i = -1;
    if (mode == DxfFind::ByName)
        i = DxfBlockIndexByName(*pDrawing, pBlock->m_strName);
    else if (mode == DxfFind::ByHandle)
        i = DxfBlockIndexByHandle(*pDrawing, pBlock->m_nHandle);
    else
        i = MoveCursor(pDrawing->m_nBlockCursor, pDrawing->m_arrBlocks.size(), mode);
    if (i < 0)
        return 0;
    pDrawing->m_nBlockCursor = i;
    *pBlock = pDrawing->m_arrBlocks[static_cast<size_t>(i)].m_header;
    return pBlock->m_nHandle;
}

int32_t DxfAddEntity(DxfDrawing* pDrawing, int32_t nBlock, DxfEntityHeader&& header,
                     DxfEntityData&& data) {
    DxfEntityBuffer* pBuffer = BufferOf(*pDrawing, nBlock);
    if (pBuffer == nullptr)
        return 0;
    try {
        // Moved once, straight into its place: a record is some 300 bytes.
        DxfEntity& e = pBuffer->m_arr.emplace_back();
        e.m_header = std::move(header);
        e.m_data = std::move(data);
        e.m_header.m_nHandle = pDrawing->m_nHandle + 1;
        const int16_t nKind = e.m_header.m_nKind;
        if (nKind == kDxfText || nKind == kDxfAttrib || nKind == kDxfMText)
            pDrawing->m_nTextBytes += static_cast<int64_t>(e.m_data.m_strText.size());
    } catch (const std::bad_alloc&) {
        return 0; // the record could not be stored: the entity is dropped
    }
    return ++pDrawing->m_nHandle;
}

bool DxfReserveEntities(DxfDrawing* pDrawing, int32_t nBlock, size_t n) {
    DxfEntityBuffer* pBuffer = BufferOf(*pDrawing, nBlock);
    if (pBuffer == nullptr)
        return false;
    try {
        pBuffer->m_arr.reserve(pBuffer->m_arr.size() + n);
    } catch (const std::exception&) { // bad_alloc, or length_error for an absurd n
        return false;
    }
    return true;
}

int32_t DxfWalkBlockEntities(DxfDrawing* pDrawing, int32_t nBlock, DxfFind mode,
                             const DxfEntity** ppEntity, int32_t nHandle) {
    DxfEntityBuffer* pBuffer = BufferOf(*pDrawing, nBlock);
    if (pBuffer == nullptr)
        return 0;
    const std::vector<DxfEntity>& arr = pBuffer->m_arr;
    ptrdiff_t i = -1;
    switch (mode) {
    case DxfFind::First:
        i = 0;
        break;
    case DxfFind::Next:
        i = static_cast<ptrdiff_t>(pBuffer->m_nCursor);
        break;
    case DxfFind::Last:
        i = static_cast<ptrdiff_t>(arr.size()) - 1;
        break;
    case DxfFind::ByHandle:
        i = FindByHandle(arr, nHandle, [](const DxfEntity& e) { return e.m_header.m_nHandle; });
        break;
    default:
        return 0;
    }
    if (i < 0 || i >= static_cast<ptrdiff_t>(arr.size()))
        return 0;
    pBuffer->m_nCursor = static_cast<size_t>(i) + 1;
    *ppEntity = &arr[static_cast<size_t>(i)];
    return arr[static_cast<size_t>(i)].m_header.m_nHandle;
}

int32_t DxfWalkEntities(DxfDrawing* pDrawing, const char* pszBlock, DxfFind mode,
                        const DxfEntity** ppEntity, int32_t nHandle) {
    int32_t nBlock = 0;
    if (pszBlock != nullptr) {
        const ptrdiff_t i = DxfBlockIndexByName(*pDrawing, pszBlock);
        if (i < 0)
            return 0;
        nBlock = pDrawing->m_arrBlocks[static_cast<size_t>(i)].m_header.m_nHandle;
    }
    return DxfWalkBlockEntities(pDrawing, nBlock, mode, ppEntity, nHandle);
}

size_t DxfTableCount(const DxfDrawing* pDrawing, int nTable) {
    const DxfTable* pTable = DxfTableByCode(*pDrawing, nTable);
    return pTable == nullptr ? 0 : pTable->m_arr.size();
}

size_t DxfBlockCount(const DxfDrawing* pDrawing) {
    return pDrawing->m_arrBlocks.size();
}

size_t DxfEntityCount(const DxfDrawing* pDrawing, int32_t nBlock) {
    const DxfEntityBuffer* pBuffer = BufferOf(*pDrawing, nBlock);
    return pBuffer == nullptr ? 0 : pBuffer->m_arr.size();
}

int32_t DxfLastHandle(const DxfDrawing* pDrawing) {
    return pDrawing->m_nHandle;
}

} // namespace inkvale
