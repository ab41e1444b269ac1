// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/DxfRecords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The ASCII DXF reader: walks a file as group-code/value line pairs and parses sections,
// table entries, block headers and entities into the records of DxfRecords.h.
//
// Lines end at CR LF, LF or a lone CR; the last line may lack its end. A line longer than
// kDxfValueMax bytes is cut to that length (the rest of it is skipped), names to
// kDxfNameMax. Group codes and integers are read like atoi (leading blanks, leading
// digits; out-of-range values saturate), reals like atof (without the locale). Structural
// keywords (SECTION, ENDSEC, entity names ...) are matched exactly except for trailing
// blanks, which some exporters append.
//
// One reader serves one thread at a time.

namespace inkvale {

/// The opaque reader object.
struct DxfFile;

/// Opens the file for reading and fills the buffer from its start; nullptr when the file
/// cannot be opened.
DxfFile* DxfOpen(const std::string& strPath);
/// Closes the file and frees the reader; true when the file closed without error.
bool DxfClose(DxfFile* pFile);

struct DxfFileCloser {
    void operator()(DxfFile* p) const { (void)DxfClose(p); }
};
/// Owning reader handle for callers that do not care about the close result.
using DxfFilePtr = std::unique_ptr<DxfFile, DxfFileCloser>;

/// Reads one pair: the code line (converted like atoi) and the value line. The value
/// stays valid until the next read. False at the end of the file (a code line without
/// its value line counts as the end).
bool DxfReadPair(DxfFile* pFile, int* pnCode, std::string_view* pValue);

/// Marks the current position, then reads pairs until one has this code and value, and
/// stops behind it. At the end of the file it returns to the mark and reports false.
bool DxfFindPair(DxfFile* pFile, int nCode, std::string_view value);

/// Finds the next (0, "SECTION"), reads the following pair and returns the section code
/// of its value (kDxfSectionOther for an unknown name); 0 when no section follows.
/// A (0, "EOF") pair ends the search: anything written after it is ignored.
int DxfNextSection(DxfFile* pFile);

/// Inside TABLES: finds the next (0, "TABLE") and returns the code of its name; 0 at the
/// end of the section.
int DxfNextTable(DxfFile* pFile);

/// Inside the current table: finds the next entry of the table and reads it into pEntry
/// (cleared first). Returns the table code, or 0 when the table has no further entry.
/// When the entry is followed by (0, "ENDTAB") and (0, "ENDSEC") the table and the
/// section are closed.
int DxfReadTableEntry(DxfFile* pFile, DxfTableEntry* pEntry);

/// Inside BLOCKS: finds the next (0, "BLOCK") and reads its header up to the next group
/// 0. When that group is "ENDBLK" the block is empty; otherwise the reader is now inside
/// the block. False when the section holds no further block.
bool DxfReadBlockHeader(DxfFile* pFile, DxfBlock* pBlock);

/// Reads the next entity of ENTITIES, or of the current block while inside one. Unknown
/// entities are skipped; ELLIPSE and DIMENSION are parsed like the others. False when the
/// section or block holds no further entity (or the reader is in neither), or when the
/// pair read is not a group 0.
bool DxfReadEntity(DxfFile* pFile, DxfEntityHeader* pHeader, DxfEntityData* pData);

/// The file offset at which the (0, "BLOCK") pair of the last block header read begins.
int64_t DxfBlockOffset(const DxfFile* pFile);

/// The offset of the first line at or after nFrom (within a window of a few hundred
/// kilobytes) that looks like the start of a (0, "BLOCK") pair; -1 when none is seen. A
/// guess only: it does not know the pairing of the lines before it.
int64_t DxfFindBlockStart(const DxfFile* pFile, int64_t nFrom);

/// A second reader of the same open file, placed at nOffset inside BLOCKS between two
/// blocks, as if the reader had just left a block there; nullptr when the file cannot be
/// opened again. It reads on independently of pFile.
DxfFile* DxfOpenBlocksAt(const DxfFile* pFile, int64_t nOffset);

/// Places the reader at nOffset inside BLOCKS between two blocks, as if it had just left a
/// block there.
void DxfPlaceInBlocks(DxfFile* pFile, int64_t nOffset);

/// The length of the file in bytes when it was opened.
int64_t DxfFileLength(const DxfFile* pFile);

/// The section code the reader is in (0 once the section has ended).
int DxfCurrentSection(const DxfFile* pFile);
/// Whether the reader is inside a block of the BLOCKS section.
bool DxfInsideBlock(const DxfFile* pFile);

} // namespace inkvale
