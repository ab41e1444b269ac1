// SPDX-License-Identifier: GPL-3.0-or-later
// DxfImport: reads a DXF file through the reader and stores it in the drawing database.

#include "import/DxfDrawing.h"
#include "import/DxfDrawingData.h"
#include "import/DxfNumbers.h"
#include "import/DxfReader.h"

#include "support/TwoThreads.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <string_view>
#include <thread>
#include <vector>

namespace inkvale {

namespace {

/// Files from this size on are read by two threads at once where a block begins near the
/// middle.
constexpr int64_t kTwoThreadBytes = int64_t{2} << 20;

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

/// Keeps an INSERT or DIMENSION whose block is not defined yet, to be drawn once all are.
void KeepLate(DxfDrawing& d, int32_t nBlock, DxfEntityHeader& header, DxfEntityData& data) {
    DxfEntityBuffer* pBuffer = DxfBufferOf(d, nBlock);
    if (pBuffer == nullptr)
        return;
    if (data.m_strName.empty()) { // no block to draw, ever
        if (header.m_nKind == kDxfDimension && !header.m_bPaperSpace)
            DxfCountSkipped(*pBuffer, "DIMENSION");
        return;
    }
    DxfEntity& e = pBuffer->m_arrLate.emplace_back();
    e.m_header = std::move(header);
    e.m_data = std::move(data);
}

/// Resolves the names of a parsed entity and stores it in the buffer of block nBlock
/// (0: ENTITIES). ELLIPSE and DIMENSION are dropped; an INSERT of an unknown block too.
void AddParsedEntity(DxfDrawing& d, int32_t nBlock, DxfEntityHeader& header, DxfEntityData& data) {
    if (header.m_nKind == kDxfDimension) {
        // A dimension is drawn by its block (it takes a handle whether it is kept or not).
        const ptrdiff_t i = DxfBlockIndexByName(d, data.m_strName);
        header.m_nLayer = HandleByName(d, kDxfTableLayer, header.m_strLayer);
        if (i >= 0) {
            data.m_nBlock = d.m_arrBlocks[static_cast<size_t>(i)].m_header.m_nHandle;
            (void)DxfAddEntity(&d, nBlock, std::move(header), std::move(data));
            return;
        }
        ++d.m_nHandle;
        KeepLate(d, nBlock, header, data);
        return;
    }
    if (header.m_nKind == kDxfSkipped) {
        DxfEntityBuffer* pBuffer = DxfBufferOf(d, nBlock);
        const int32_t nLayer = HandleByName(d, kDxfTableLayer, header.m_strLayer);
        if (pBuffer != nullptr && !header.m_bPaperSpace && !DxfLayerHidden(d, nLayer))
            DxfCountSkipped(*pBuffer, data.m_strName);
        return;
    }
    header.m_nLayer = HandleByName(d, kDxfTableLayer, header.m_strLayer);
    header.m_nLineType = HandleByName(d, kDxfTableLtype, header.m_strLineType);
    if (header.m_nKind == kDxfText)
        data.m_nStyle = HandleByName(d, kDxfTableStyle, data.m_strName);
    if (header.m_nKind == kDxfInsert) {
        const ptrdiff_t i = DxfBlockIndexByName(d, data.m_strName);
        if (i < 0) {
            KeepLate(d, nBlock, header, data);
            return;
        }
        data.m_nBlock = d.m_arrBlocks[static_cast<size_t>(i)].m_header.m_nHandle;
    }
    (void)DxfAddEntity(&d, nBlock, std::move(header), std::move(data));
}

/// Resolves a block's layer and stores it; returns its handle, 0 when it is not stored.
int32_t AddParsedBlock(DxfDrawing& d, DxfBlock& block) {
    const ptrdiff_t nLayer = DxfTableIndexByName(d.m_layers, block.m_strLayer);
    if (nLayer >= 0)
        block.m_nLayer = d.m_layers.m_arr[static_cast<size_t>(nLayer)].m_nHandle;
    return DxfAddBlock(&d, block);
}

/// Where the import loops put what they read: straight into the drawing.
class CDrawingSink {
public:
    explicit CDrawingSink(DxfDrawing& d) : m_d(d) {}

    bool Table(int nTable, DxfTableEntry& entry) { return AddTableEntry(m_d, nTable, entry); }
    int32_t Block(DxfBlock& block) { return AddParsedBlock(m_d, block); }
    void Entity(int32_t nBlock, DxfEntityHeader& header, DxfEntityData& data) {
        AddParsedEntity(m_d, nBlock, header, data);
    }
    static bool Stopped() { return false; }
    DxfDrawing* Drawing() { return &m_d; }

private:
    DxfDrawing& m_d;
};

/// Records kept in order in chunks, so that storing one moves none of the others and takes
/// an allocation only now and then. (A deque gives a record as large as an entity a node of
/// its own.)
template <typename T>
class CChunks {
public:
    size_t size() const { return m_nSize; }
    void push_back(T&& v) {
        if (m_nSize % kChunk == 0) {
            std::vector<T> chunk;
            chunk.reserve(kChunk);
            m_arrChunks.push_back(std::move(chunk));
        }
        m_arrChunks.back().push_back(std::move(v));
        ++m_nSize;
    }
    T& operator[](size_t i) { return m_arrChunks[i / kChunk][i % kChunk]; }

private:
    static constexpr size_t kChunk = 256;
    std::vector<std::vector<T>> m_arrChunks;
    size_t m_nSize = 0;
};

/// What a second thread reads from the middle of the file, kept in order to be stored once
/// the first thread has stored everything before it. Names are resolved when it is stored,
/// against the drawing as it then stands, exactly as one thread would resolve them.
class CParseLog {
public:
    explicit CParseLog(const std::atomic<bool>& bStop) : m_bStop(bStop) {}

    bool Table(int nTable, DxfTableEntry& entry) {
        m_arrSteps.push_back({kTable, nTable, m_arrTables.size()});
        m_arrTables.push_back(std::move(entry));
        return true;
    }
    int32_t Block(DxfBlock& block) {
        m_arrSteps.push_back({kBlock, 0, m_arrBlocks.size()});
        m_arrBlocks.push_back(std::move(block));
        return kCurrentBlock;
    }
    void Entity(int32_t nBlock, DxfEntityHeader& header, DxfEntityData& data) {
        m_arrSteps.push_back({kEntity, nBlock, m_arrEntities.size()});
        m_arrEntities.push_back({std::move(header), std::move(data)});
    }
    bool Stopped() const { return m_bStop.load(std::memory_order_relaxed); }
    static DxfDrawing* Drawing() { return nullptr; } // the header comes before any block

    /// Stores the steps in order into the drawing; false when a table entry fails the import.
    bool StoreInto(DxfDrawing& d) {
        const std::vector<size_t> arrCounts = EntityCounts();
        (void)DxfReserveEntities(&d, 0, arrCounts[0]);
        int32_t nBlock = 0; // the log begins with a block
        for (const CStep& step : m_arrSteps) {
            switch (step.m_nKind) {
            case kTable:
                if (!AddTableEntry(d, step.m_nArg, m_arrTables[step.m_nIndex]))
                    return false;
                break;
            case kBlock:
                nBlock = AddParsedBlock(d, m_arrBlocks[step.m_nIndex]);
                if (nBlock != 0)
                    (void)DxfReserveEntities(&d, nBlock, arrCounts[step.m_nIndex + 1]);
                break;
            default: {
                DxfEntity& e = m_arrEntities[step.m_nIndex];
                AddParsedEntity(d, step.m_nArg == kCurrentBlock ? nBlock : 0, e.m_header, e.m_data);
                e = DxfEntity{}; // what was not moved into the drawing goes now
                break;
            }
            }
        }
        return true;
    }

    bool m_bFailed = false; ///< the second thread could not read to the end

private:
    static constexpr int32_t kCurrentBlock = -1;
    enum : uint8_t { kTable, kBlock, kEntity };
    struct CStep {
        uint8_t m_nKind;
        int32_t m_nArg; ///< table code, or the entity's block (0 or kCurrentBlock)
        size_t m_nIndex;
    };

    /// How many entities of the log go to ENTITIES ([0]) and to each of its blocks ([k + 1]
    /// for block k), so that each buffer grows once as they are stored.
    std::vector<size_t> EntityCounts() const {
        std::vector<size_t> arrCounts(m_arrBlocks.size() + 1, 0);
        size_t nCurrent = 0;
        for (const CStep& step : m_arrSteps) {
            if (step.m_nKind == kBlock)
                nCurrent = step.m_nIndex + 1;
            else if (step.m_nKind == kEntity)
                ++arrCounts[step.m_nArg == kCurrentBlock ? nCurrent : 0];
        }
        return arrCounts;
    }
    const std::atomic<bool>& m_bStop;
    std::vector<CStep> m_arrSteps;
    CChunks<DxfTableEntry> m_arrTables;
    CChunks<DxfBlock> m_arrBlocks;
    CChunks<DxfEntity> m_arrEntities;
};

template <typename Sink>
bool ImportTables(Sink& sink, DxfFile* pFile) {
    DxfTableEntry entry;
    while (const int nTable = DxfNextTable(pFile)) {
        if (nTable == kDxfTableOther)
            continue; // passed over: the next DxfNextTable looks for the next TABLE
        while (DxfReadTableEntry(pFile, &entry) != 0) {
            if (!sink.Table(nTable, entry))
                return false;
        }
    }
    return true;
}

/// Where the first thread stops for the second: the offset of the (0, BLOCK) pair the
/// second one starts at (-1: none). Met exactly, the first thread has read everything
/// before it and stands where the second one began; passed, the guess was wrong.
struct CMeeting {
    int64_t m_nAt = -1;
    bool m_bMet = false;
    std::atomic<bool>* m_pStop = nullptr; ///< set when the meeting is passed
};

template <typename Sink>
void ImportBlocks(Sink& sink, DxfFile* pFile, CMeeting& meeting) {
    DxfBlock block;
    DxfEntityHeader header;
    DxfEntityData data;
    while (!sink.Stopped() && DxfReadBlockHeader(pFile, &block)) {
        if (meeting.m_nAt >= 0 && DxfBlockOffset(pFile) >= meeting.m_nAt) {
            if (DxfBlockOffset(pFile) == meeting.m_nAt) {
                meeting.m_bMet = true;
                return;
            }
            meeting.m_nAt = -1;
            meeting.m_pStop->store(true);
        }
        // A block that cannot be stored (duplicate name, capacity) gives its entities to
        // ENTITIES, where they are drawn directly.
        const int32_t nBlock = sink.Block(block);
        while (DxfInsideBlock(pFile) && DxfReadEntity(pFile, &header, &data))
            sink.Entity(nBlock, header, data);
    }
}

template <typename Sink>
void ImportEntities(Sink& sink, DxfFile* pFile) {
    DxfEntityHeader header;
    DxfEntityData data;
    while (!sink.Stopped() && DxfReadEntity(pFile, &header, &data))
        sink.Entity(0, header, data);
}

/// The header variables the conversion uses ($INSUNITS, $MEASUREMENT), up to the end of the
/// section.
void ImportHeader(DxfDrawing& d, DxfFile* pFile) {
    int nCode = 0;
    std::string_view value;
    int16_t* pVariable = nullptr;
    while (DxfReadPair(pFile, &nCode, &value) && nCode != 0) {
        if (nCode == 9) {
            const std::string_view name = value.substr(0, value.find_last_not_of(' ') + 1);
            pVariable = name == "$INSUNITS"      ? &d.m_nInsUnits
                        : name == "$MEASUREMENT" ? &d.m_nMeasurement
                                                 : nullptr;
        } else if (pVariable != nullptr && nCode == 70) {
            *pVariable = DxfParseInt16(value);
            pVariable = nullptr;
        }
    }
}

template <typename Sink>
bool ImportSections(Sink& sink, DxfFile* pFile, CMeeting& meeting) {
    while (const int nSection = DxfNextSection(pFile)) {
        switch (nSection) {
        case kDxfSectionHeader:
            if (DxfDrawing* pDrawing = sink.Drawing())
                ImportHeader(*pDrawing, pFile);
            break;
        case kDxfSectionTables:
            if (!ImportTables(sink, pFile))
                return false;
            break;
        case kDxfSectionBlocks:
            ImportBlocks(sink, pFile, meeting);
            if (meeting.m_bMet)
                return true;
            break;
        case kDxfSectionEntities:
            ImportEntities(sink, pFile);
            break;
        default:
            break; // passed over: the next DxfNextSection looks for the next SECTION
        }
        if (sink.Stopped())
            return true;
    }
    return true;
}

/// The second thread's part: from the block at nOffset to the end of the file.
void ReadFromBlock(const DxfFile* pFirst, int64_t nOffset, CParseLog& log) {
    try {
        DxfFilePtr pFile(DxfOpenBlocksAt(pFirst, nOffset));
        if (!pFile) {
            log.m_bFailed = true;
            return;
        }
        CMeeting none;
        ImportBlocks(log, pFile.get(), none);
        (void)ImportSections(log, pFile.get(), none); // the log refuses nothing
    } catch (const std::bad_alloc&) {
        log.m_bFailed = true;
    }
}

/// Reads the file from its current position to the end into the drawing. With nSecondAt
/// at 0 or more a second thread reads from there at the same time; what it read is stored
/// once the first thread has met it there, and read again by the first one when the
/// second could not finish. A wrong guess costs the second thread's work, nothing else.
bool ImportOpenFile(DxfDrawing& d, DxfFile* pFile, int64_t nSecondAt) {
    CDrawingSink sink(d);
    CMeeting meeting;
    if (nSecondAt < 0)
        return ImportSections(sink, pFile, meeting);
    std::atomic<bool> bStop{false};
    CParseLog log(bStop);
    meeting.m_nAt = nSecondAt;
    meeting.m_pStop = &bStop;
    bool bOk = true;
    RunOnTwoThreads(
        [&] {
            try {
                bOk = ImportSections(sink, pFile, meeting);
            } catch (...) {
                bStop.store(true); // the second thread's reading is of no use now
                throw;
            }
            if (!meeting.m_bMet)
                bStop.store(true);
        },
        [&] { ReadFromBlock(pFile, nSecondAt, log); });
    if (!meeting.m_bMet)
        return bOk;
    if (!log.m_bFailed)
        return log.StoreInto(d);
    DxfPlaceInBlocks(pFile, nSecondAt);
    CMeeting none;
    ImportBlocks(sink, pFile, none);
    return ImportSections(sink, pFile, none);
}

/// Where a second thread starts on this file: a block a little beyond the middle of a large
/// file. The second thread's part costs more per byte (the ENTITIES section of a marker, a
/// record of many small inserts, comes last, and what it reads is kept to be stored later),
/// so the two end about together when the first one reads 9/16 of the file.
int64_t SecondThreadStart(const DxfFile* pFile) {
    const int64_t nLen = DxfFileLength(pFile);
    if (nLen < kTwoThreadBytes || std::thread::hardware_concurrency() < 2)
        return -1;
    return DxfFindBlockStart(pFile, nLen / 16 * 9);
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
    return DxfImportFrom(pDrawing, strPath, kDxfSecondThreadAuto, pError);
}

bool DxfImportFrom(DxfDrawing* pDrawing, const std::string& strPath, int64_t nSecondAt,
                   DxfImportError* pError) {
    DxfImportError error = DxfImportError::kNone;
    DxfFile* pFile = DxfOpen(strPath);
    if (pFile == nullptr) {
        error = DxfImportError::kOpen;
    } else {
        try {
            if (nSecondAt == kDxfSecondThreadAuto)
                nSecondAt = SecondThreadStart(pFile);
            if (!ImportOpenFile(*pDrawing, pFile, nSecondAt))
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
