// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/DxfRecords.h"

#include <cstdint>
#include <memory>
#include <string>

// The DXF drawing database: four fixed-capacity tables, up to kDxfBlockCapacity blocks
// with one entity buffer each, and the entity buffer of the ENTITIES section, linked by
// integer handles. Handles come from one counter per drawing that starts at 15, so the
// first handle given out is 16; every stored table entry, block and entity (and every
// DIMENSION read, though it is not stored) takes the next one. Handles are never reused.
//
// A drawing serves one thread at a time; the walk cursors make even reads stateful.

namespace inkvale {

/// The opaque drawing database.
struct DxfDrawing;

/// A new empty drawing; nullptr when it cannot be allocated.
DxfDrawing* DxfDrawingCreate();
/// Frees the drawing with every table, block, entity buffer and vertex array.
void DxfDrawingFree(DxfDrawing* pDrawing);

struct DxfDrawingDeleter {
    void operator()(DxfDrawing* p) const { DxfDrawingFree(p); }
};
using DxfDrawingPtr = std::unique_ptr<DxfDrawing, DxfDrawingDeleter>;

/// Why DxfImport failed (kNone after success).
enum class DxfImportError {
    kNone,
    kOpen,              ///< the file cannot be opened
    kUndefinedLinetype, ///< a LAYER names a linetype that LTYPE does not define (or none)
    kNoMemory,          ///< the database could not grow
    kClose,             ///< the file did not close without error
};

/// Text for an import failure, in English, for messages and logs of the callers.
const char* DxfImportErrorText(DxfImportError error);

/// Reads the DXF file into the drawing: TABLES (DIMSTYLE, LAYER, LTYPE, STYLE), BLOCKS
/// and ENTITIES; other sections and tables are passed over. A LAYER whose linetype is
/// not in the LTYPE table fails the whole import, except for the linetype CONTINUOUS
/// (any letter case), which every DXF reader knows without a definition. Entries, blocks
/// and entities beyond capacity or duplicate by name are left out. pError (optional)
/// receives the reason of a failure. True on success.
bool DxfImport(DxfDrawing* pDrawing, const std::string& strPath, DxfImportError* pError = nullptr);

/// DxfImport's choice of where a second thread starts reading.
inline constexpr int64_t kDxfSecondThreadAuto = -2;

/// DxfImport with a second thread reading from file offset nSecondAt at the same time (-1:
/// one thread alone; kDxfSecondThreadAuto: a block near the middle of a large file). The
/// second thread's reading counts only when the first one finds a (0, BLOCK) pair exactly
/// there; the result is that of one thread for every offset.
bool DxfImportFrom(DxfDrawing* pDrawing, const std::string& strPath, int64_t nSecondAt,
                   DxfImportError* pError = nullptr);

/// Stores a table entry (the entry's name references must already be handles); returns
/// its handle, or 0 when the table is full, the name is taken or the table code unknown.
int32_t DxfAddTableEntry(DxfDrawing* pDrawing, int nTable, const DxfTableEntry& entry);

/// Finds a table entry: First/Next/Previous/Last walk the table's cursor; ByName (exact
/// match of pEntry->m_strName) and ByHandle (pEntry->m_nHandle) search and set the
/// cursor. A found entry is copied to pEntry; returns its handle or 0.
int32_t DxfFindTableEntry(DxfDrawing* pDrawing, int nTable, DxfFind mode, DxfTableEntry* pEntry);

/// Stores a block header with an empty entity buffer; 0 when kDxfBlockCapacity blocks
/// exist or the name is taken.
int32_t DxfAddBlock(DxfDrawing* pDrawing, const DxfBlock& block);

/// Finds a block like DxfFindTableEntry finds table entries.
int32_t DxfFindBlock(DxfDrawing* pDrawing, DxfFind mode, DxfBlock* pBlock);

/// Appends an entity to the buffer of the block with handle nBlock, or to ENTITIES for 0;
/// returns its new handle, 0 when the block does not exist or memory runs out.
int32_t DxfAddEntity(DxfDrawing* pDrawing, int32_t nBlock, DxfEntityHeader&& header,
                     DxfEntityData&& data);

/// Makes room for n more entities in the buffer of block nBlock (ENTITIES for 0), so that
/// adding them moves none of those stored. Only a saving: false, with nothing changed, when
/// the block does not exist or the memory cannot be had.
bool DxfReserveEntities(DxfDrawing* pDrawing, int32_t nBlock, size_t n);

/// Walks the entity buffer of the named block (ENTITIES when pszBlock is nullptr):
/// First from the start, Next from the cursor (0 at the end), Last, or ByHandle
/// (nHandle). The found record is returned through ppEntity (valid until the drawing is
/// changed or freed) and the cursor moves behind it. Returns its handle or 0.
int32_t DxfWalkEntities(DxfDrawing* pDrawing, const char* pszBlock, DxfFind mode,
                        const DxfEntity** ppEntity, int32_t nHandle = 0);

/// The same walk on the buffer of the block with handle nBlock (0: ENTITIES).
int32_t DxfWalkBlockEntities(DxfDrawing* pDrawing, int32_t nBlock, DxfFind mode,
                             const DxfEntity** ppEntity, int32_t nHandle = 0);

/// Number of records in a table (by code), in the blocks, or in an entity buffer.
size_t DxfTableCount(const DxfDrawing* pDrawing, int nTable);
size_t DxfBlockCount(const DxfDrawing* pDrawing);
size_t DxfEntityCount(const DxfDrawing* pDrawing, int32_t nBlock);

/// The last handle given out (15 for an empty drawing).
int32_t DxfLastHandle(const DxfDrawing* pDrawing);

} // namespace inkvale
