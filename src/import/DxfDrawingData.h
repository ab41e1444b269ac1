// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/DxfDrawing.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The inside of the opaque drawing database, shared by the database functions and the
// import; nothing outside src/import/Dxf*.cpp includes it.

namespace inkvale {

/// One table: its entries in the order stored (and so by handle), an index by name, the
/// capacity and the cursor of the first/next/previous/last walks.
struct DxfTable {
    std::vector<DxfTableEntry> m_arr;
    std::unordered_map<std::string, size_t> m_byName;
    size_t m_nCapacity = 0;
    ptrdiff_t m_nCursor = -1;
};

/// The entity records of ENTITIES or of one block, in file order (and so by handle),
/// with the walk cursor (index of the record a Next walk returns).
struct DxfEntityBuffer {
    std::vector<DxfEntity> m_arr;
    size_t m_nCursor = 0;
    /// Entities of the buffer that are not drawn, counted by name (model space, visible
    /// layers only), in the order first met.
    std::vector<std::pair<std::string, int64_t>> m_arrSkipped;
    /// INSERTs and DIMENSIONs whose block was not defined yet when they were read (blocks
    /// may come in any order): kept by block name, without a handle, and drawn after the
    /// buffer's other entities once every block is known.
    std::vector<DxfEntity> m_arrLate;
};

struct DxfBlockRecord {
    DxfBlock m_header;
    DxfEntityBuffer m_buffer;
};

struct DxfDrawing {
    DxfTable m_dimStyles;
    DxfTable m_layers;
    DxfTable m_ltypes;
    DxfTable m_styles;
    std::vector<DxfBlockRecord> m_arrBlocks;
    std::unordered_map<std::string, size_t> m_blocksByName;
    ptrdiff_t m_nBlockCursor = -1;
    DxfEntityBuffer m_entities;
    int32_t m_nHandle = 15;      ///< the last handle given out
    int64_t m_nTextBytes = 0;    ///< bytes of the TEXT, ATTRIB and MTEXT values stored
    int16_t m_nInsUnits = -1;    ///< header variable $INSUNITS; -1 when not given
    int16_t m_nMeasurement = -1; ///< header variable $MEASUREMENT; -1 when not given
    bool m_bValid = false;
};

const DxfTable* DxfTableByCode(const DxfDrawing& d, int nTable);
DxfTable* DxfTableByCode(DxfDrawing& d, int nTable);
/// Index of an entry or block, or -1.
ptrdiff_t DxfTableIndexByName(const DxfTable& t, const std::string& strName);
ptrdiff_t DxfTableIndexByHandle(const DxfTable& t, int32_t nHandle);
ptrdiff_t DxfBlockIndexByName(const DxfDrawing& d, const std::string& strName);
ptrdiff_t DxfBlockIndexByHandle(const DxfDrawing& d, int32_t nHandle);
/// The entity buffer of block nBlock (ENTITIES for 0), nullptr when there is no such block.
DxfEntityBuffer* DxfBufferOf(DxfDrawing& d, int32_t nBlock);
const DxfEntityBuffer* DxfBufferOf(const DxfDrawing& d, int32_t nBlock);
/// Counts one entity of the buffer that is not drawn.
void DxfCountSkipped(DxfEntityBuffer& buffer, const std::string& strName);
/// Whether the layer with this handle is switched off (negative colour) or frozen.
bool DxfLayerHidden(const DxfDrawing& d, int32_t nLayer);

} // namespace inkvale
