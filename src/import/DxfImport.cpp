// SPDX-License-Identifier: GPL-3.0-or-later
// DxfImport: reads a DXF file through the reader and stores it in the drawing database.

#include "import/DxfDrawing.h"
#include "import/DxfDrawingData.h"
#include "import/DxfReader.h"

#include <algorithm>
#include <new>
#include <string_view>

namespace inkvale {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

/// Handle of a table entry by exact name; 0 for an empty or unknown name.
int32_t HandleByName(const DxfDrawing& d, int nTable, const std::string& strName) {
    if (strName.empty())
        return 0;
    const DxfTable& table = *DxfTableByCode(d, nTable);
    const ptrdiff_t i = DxfTableIndexByName(table, strName);
    return i < 0 ? 0 : table.m_arr[static_cast<size_t>(i)].m_nHandle;
}

/// Stores one table entry with its name references resolved. False only when a LAYER
/// names a linetype that is not defined, which fails the import.
bool AddTableEntry(DxfDrawing& d, int nTable, DxfTableEntry& entry) {
    if (nTable == kDxfTableLayer) {
        entry.m_nLineType = HandleByName(d, kDxfTableLtype, entry.m_strLineType);
        // CONTINUOUS is the solid line every CAD program knows; files without an LTYPE
        // table (old AutoCAD, some exporters) still name it on their layers.
        if (entry.m_nLineType == 0 && !EqualsNoCase(entry.m_strLineType, "CONTINUOUS"))
            return false;
    } else if (nTable == kDxfTableDimStyle) {
        entry.m_nStyle = HandleByName(d, kDxfTableStyle, entry.m_strTextStyle);
        if (entry.m_nStyle == 0)
            return true; // a dimension style is kept only with its text style
    }
    (void)DxfAddTableEntry(&d, nTable, entry);
    return true;
}

bool ImportTables(DxfDrawing& d, DxfFile* pFile) {
    DxfTableEntry entry;
    while (const int nTable = DxfNextTable(pFile)) {
        if (nTable == kDxfTableOther)
            continue; // passed over: the next DxfNextTable looks for the next TABLE
        while (DxfReadTableEntry(pFile, &entry) != 0) {
            if (!AddTableEntry(d, nTable, entry))
                return false;
        }
    }
    return true;
}

/// Resolves the names of a parsed entity and stores it in the buffer of block nBlock
/// (0: ENTITIES). ELLIPSE and DIMENSION are dropped; an INSERT of an unknown block too.
void AddParsedEntity(DxfDrawing& d, int32_t nBlock, DxfEntityHeader& header, DxfEntityData& data) {
    if (header.m_nKind == kDxfEllipse)
        return;
    if (header.m_nKind == kDxfDimension) {
        ++d.m_nHandle; // a dimension takes a handle although it is not kept
        return;
    }
    header.m_nLayer = HandleByName(d, kDxfTableLayer, header.m_strLayer);
    header.m_nLineType = HandleByName(d, kDxfTableLtype, header.m_strLineType);
    if (header.m_nKind == kDxfText)
        data.m_nStyle = HandleByName(d, kDxfTableStyle, data.m_strName);
    if (header.m_nKind == kDxfInsert) {
        const ptrdiff_t i = DxfBlockIndexByName(d, data.m_strName);
        if (i < 0)
            return;
        data.m_nBlock = d.m_arrBlocks[static_cast<size_t>(i)].m_header.m_nHandle;
    }
    (void)DxfAddEntity(&d, nBlock, std::move(header), std::move(data));
}

void ImportBlocks(DxfDrawing& d, DxfFile* pFile) {
    DxfBlock block;
    DxfEntityHeader header;
    DxfEntityData data;
    while (DxfReadBlockHeader(pFile, &block)) {
        const ptrdiff_t nLayer = DxfTableIndexByName(d.m_layers, block.m_strLayer);
        if (nLayer >= 0)
            block.m_nLayer = d.m_layers.m_arr[static_cast<size_t>(nLayer)].m_nHandle;
        // A block that cannot be stored (duplicate name, capacity) gives its entities to
        // ENTITIES, where they are drawn directly.
        const int32_t nBlock = DxfAddBlock(&d, block);
        while (DxfInsideBlock(pFile) && DxfReadEntity(pFile, &header, &data))
            AddParsedEntity(d, nBlock, header, data);
    }
}

void ImportEntities(DxfDrawing& d, DxfFile* pFile) {
    DxfEntityHeader header;
    DxfEntityData data;
    while (DxfReadEntity(pFile, &header, &data))
        AddParsedEntity(d, 0, header, data);
}

bool ImportSections(DxfDrawing& d, DxfFile* pFile) {
    while (const int nSection = DxfNextSection(pFile)) {
        switch (nSection) {
        case kDxfSectionTables:
            if (!ImportTables(d, pFile))
                return false;
            break;
        case kDxfSectionBlocks:
            ImportBlocks(d, pFile);
            break;
        case kDxfSectionEntities:
            ImportEntities(d, pFile);
            break;
        default:
            break; // passed over: the next DxfNextSection looks for the next SECTION
        }
    }
    return true;
}

} // namespace

const char* DxfImportErrorText(DxfImportError error) {
    switch (error) {
    case DxfImportError::kNone:
        return "no error";
    case DxfImportError::kOpen:
        return "the file cannot be opened";
    case DxfImportError::kUndefinedLinetype:
        return "a layer refers to an undefined linetype";
    case DxfImportError::kNoMemory:
        return "out of memory";
    case DxfImportError::kClose:
        return "the file could not be closed";
    }
    return "unknown error";
}

bool DxfImport(DxfDrawing* pDrawing, const std::string& strPath, DxfImportError* pError) {
    DxfImportError error = DxfImportError::kNone;
    DxfFile* pFile = DxfOpen(strPath);
    if (pFile == nullptr) {
        error = DxfImportError::kOpen;
    } else {
        try {
            if (!ImportSections(*pDrawing, pFile))
                error = DxfImportError::kUndefinedLinetype;
        } catch (const std::bad_alloc&) {
            error = DxfImportError::kNoMemory;
        }
        if (!DxfClose(pFile) && error == DxfImportError::kNone)
            error = DxfImportError::kClose;
    }
    if (pError != nullptr)
        *pError = error;
    return error == DxfImportError::kNone;
}

} // namespace inkvale
