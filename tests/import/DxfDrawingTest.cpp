// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfDrawing.h"
#include "import/DxfDrawingData.h"

#include "DxfTestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>

#include <chrono>
#include <future>

#include <string>
#include <vector>

namespace inkvale {
namespace {

using test::DxfEntities;
using test::DxfLayerEntry;
using test::DxfLtypeTable;
using test::DxfTables;
using test::DxfText;

/// Imports the bytes into a fresh drawing.
struct Imported {
    DxfDrawingPtr m_pDrawing{DxfDrawingCreate()};
    bool m_bOk = false;
    DxfImportError m_error = DxfImportError::kNone;
};

Imported Import(const std::string& strBytes) {
    test::CScratchDir dir;
    const std::string path = dir.File("d.dxf");
    EXPECT_TRUE(test::WriteFileBytes(path, strBytes));
    Imported r;
    r.m_bOk = DxfImport(r.m_pDrawing.get(), path, &r.m_error);
    return r;
}

std::vector<const DxfEntity*> Walk(DxfDrawing* pDrawing, const char* pszBlock) {
    std::vector<const DxfEntity*> out;
    const DxfEntity* pEntity = nullptr;
    for (int32_t h = DxfWalkEntities(pDrawing, pszBlock, DxfFind::First, &pEntity); h != 0;
         h = DxfWalkEntities(pDrawing, pszBlock, DxfFind::Next, &pEntity))
        out.push_back(pEntity);
    return out;
}

TEST(DxfDrawing, FirstHandleOfAnEmptyDrawingIs16) {
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    ASSERT_NE(pDrawing, nullptr);
    EXPECT_EQ(DxfLastHandle(pDrawing.get()), 15);
    DxfTableEntry ltype;
    ltype.m_strName = "CONTINUOUS";
    EXPECT_EQ(DxfAddTableEntry(pDrawing.get(), kDxfTableLtype, ltype), 16);
    EXPECT_EQ(DxfAddTableEntry(pDrawing.get(), kDxfTableLtype, ltype), 0) << "duplicate name";
    EXPECT_EQ(DxfAddTableEntry(pDrawing.get(), kDxfTableOther, ltype), 0);
    DxfBlock block;
    block.m_strName = "B";
    EXPECT_EQ(DxfAddBlock(pDrawing.get(), block), 17);
    EXPECT_EQ(DxfAddEntity(pDrawing.get(), 17, DxfEntityHeader{}, DxfEntityData{}), 18);
    EXPECT_EQ(DxfAddEntity(pDrawing.get(), 0, DxfEntityHeader{}, DxfEntityData{}), 19);
    EXPECT_EQ(DxfAddEntity(pDrawing.get(), 99, DxfEntityHeader{}, DxfEntityData{}), 0);
    EXPECT_EQ(DxfLastHandle(pDrawing.get()), 19);
    // Making room takes no handle and stores nothing; an unknown block or an absurd count
    // is refused.
    EXPECT_TRUE(DxfReserveEntities(pDrawing.get(), 17, 1000));
    EXPECT_TRUE(DxfReserveEntities(pDrawing.get(), 0, 1000));
    EXPECT_FALSE(DxfReserveEntities(pDrawing.get(), 99, 1));
    EXPECT_FALSE(DxfReserveEntities(pDrawing.get(), 0, SIZE_MAX / 2));
    EXPECT_EQ(DxfLastHandle(pDrawing.get()), 19);
    EXPECT_EQ(DxfAddEntity(pDrawing.get(), 17, DxfEntityHeader{}, DxfEntityData{}), 20);
}

TEST(DxfDrawing, TablesAndBlocksStopAtCapacity) {
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    struct Case {
        int m_nTable;
        size_t m_nCapacity;
    };
    for (const Case& c : {Case{kDxfTableLayer, 128}, Case{kDxfTableLtype, 128},
                          Case{kDxfTableStyle, 128}, Case{kDxfTableDimStyle, 64}}) {
        DxfTableEntry entry;
        for (size_t i = 0; i <= c.m_nCapacity; ++i) {
            entry.m_strName = "N" + std::to_string(i);
            EXPECT_EQ(DxfAddTableEntry(pDrawing.get(), c.m_nTable, entry) != 0, i < c.m_nCapacity);
        }
        EXPECT_EQ(DxfTableCount(pDrawing.get(), c.m_nTable), c.m_nCapacity);
    }
    DxfBlock block;
    for (int i = 0; i <= 256; ++i) {
        block.m_strName = "B" + std::to_string(i);
        EXPECT_EQ(DxfAddBlock(pDrawing.get(), block) != 0, i < 256);
    }
}

TEST(DxfDrawing, FindWalksTheCursorAndSearchesByNameAndHandle) {
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    DxfTableEntry entry;
    for (const char* name : {"A", "B", "C"}) {
        entry.m_strName = name;
        ASSERT_NE(DxfAddTableEntry(pDrawing.get(), kDxfTableStyle, entry), 0);
    }
    DxfDrawing* d = pDrawing.get();
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::First, &entry), 16);
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::Next, &entry), 17);
    EXPECT_EQ(entry.m_strName, "B");
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::Previous, &entry), 16);
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::Previous, &entry), 0);
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::Last, &entry), 18);
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::Next, &entry), 0);
    entry.m_strName = "B";
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::ByName, &entry), 17);
    entry.m_strName = "b";
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::ByName, &entry), 0) << "exact";
    entry.m_nHandle = 18;
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableStyle, DxfFind::ByHandle, &entry), 18);
    EXPECT_EQ(entry.m_strName, "C");
    EXPECT_EQ(DxfFindTableEntry(d, kDxfTableLayer, DxfFind::First, &entry), 0);
}

const std::string kLineBody = DxfText({"0", "LINE", "8", "0", "10", "0", "11", "1"});

TEST(DxfImport, LayerLinetypeRules) {
    struct Case {
        const char* m_pszName;
        std::string m_strTables;
        bool m_bOk;
    };
    const std::string layerDashed = DxfText({"0", "TABLE", "2", "LAYER"}) +
                                    DxfLayerEntry("0", "7", "DASHED") + DxfText({"0", "ENDTAB"});
    const std::string layerNoLtype = DxfText({"0", "TABLE", "2", "LAYER"}) +
                                     DxfLayerEntry("0", "7", "-") + DxfText({"0", "ENDTAB"});
    const std::string layerCont = DxfText({"0", "TABLE", "2", "LAYER"}) +
                                  DxfLayerEntry("0", "7", "Continuous") + DxfText({"0", "ENDTAB"});
    const Case cases[] = {
        {"linetype defined first", DxfLtypeTable({"DASHED"}) + layerDashed, true},
        {"LAYER table before LTYPE", layerDashed + DxfLtypeTable({"DASHED"}), false},
        {"layer without group 6", DxfLtypeTable({"DASHED"}) + layerNoLtype, false},
        {"CONTINUOUS needs no definition", layerCont, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        const Imported r = Import(DxfTables(c.m_strTables) + DxfEntities(kLineBody));
        EXPECT_EQ(r.m_bOk, c.m_bOk);
        EXPECT_EQ(r.m_error, c.m_bOk ? DxfImportError::kNone : DxfImportError::kUndefinedLinetype);
        EXPECT_EQ(DxfTableCount(r.m_pDrawing.get(), kDxfTableLayer), c.m_bOk ? 1u : 0u);
    }
}

TEST(DxfImport, EntityReferencesBecomeHandles) {
    const std::string tables =
        DxfTables(DxfLtypeTable({"CONTINUOUS", "DASHED"}) + DxfText({"0", "TABLE", "2", "LAYER"}) +
                  DxfLayerEntry("CUT", "-7", "CONTINUOUS") + DxfText({"0", "ENDTAB"}) +
                  DxfText({"0", "TABLE",      "2",  "STYLE", "0", "STYLE",   "2", "ROMAN",
                           "3", "romans.shx", "40", "0",     "0", "ENDTAB",  "0", "TABLE",
                           "2", "VPORT",      "0",  "VPORT", "2", "*ACTIVE", "0", "ENDTAB"}));
    const std::string body = DxfText({"0", "LINE", "8", "CUT", "6", "DASHED", "0", "LINE", "8",
                                      "NOPE", "6", "", "0", "TEXT", "7", "ROMAN", "1", "x"});
    const Imported r = Import(tables + DxfEntities(body));
    ASSERT_TRUE(r.m_bOk);
    DxfDrawing* d = r.m_pDrawing.get();
    // Handles: LTYPEs 16, 17; layer 18; style 19; entities 20, 21, 22.
    DxfTableEntry layer;
    layer.m_strName = "CUT";
    ASSERT_EQ(DxfFindTableEntry(d, kDxfTableLayer, DxfFind::ByName, &layer), 18);
    EXPECT_EQ(layer.m_nLineType, 16);
    EXPECT_EQ(layer.m_nColor, -7);
    const std::vector<const DxfEntity*> v = Walk(d, nullptr);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0]->m_header.m_nHandle, 20);
    EXPECT_EQ(v[0]->m_header.m_nLayer, 18);
    EXPECT_EQ(v[0]->m_header.m_nLineType, 17);
    EXPECT_EQ(v[1]->m_header.m_nLayer, 0) << "unknown layer";
    EXPECT_EQ(v[1]->m_header.m_nLineType, 0) << "empty linetype";
    EXPECT_EQ(v[2]->m_data.m_nStyle, 19);
}

TEST(DxfImport, BlocksInsertsAndDroppedKinds) {
    const std::string blocks =
        DxfText({"0", "SECTION", "2",  "BLOCKS", "0",  "BLOCK",  "2", "B",
                 "0", "LINE",    "10", "1",      "0",  "ENDBLK", "0", "BLOCK",
                 "2", "B",       "0",  "CIRCLE", "40", "2",      "0", "ENDBLK", // duplicate name
                 "0", "ENDSEC"});
    const std::string body =
        DxfText({"0", "INSERT", "2", "B", "0", "INSERT", "2", "UNDEFINED", "0", "ELLIPSE", "40",
                 "0.5", "0", "DIMENSION", "0", "ARC", "40", "1"});
    const Imported r = Import(blocks + DxfEntities(body));
    ASSERT_TRUE(r.m_bOk);
    DxfDrawing* d = r.m_pDrawing.get();
    ASSERT_EQ(DxfBlockCount(d), 1u);
    EXPECT_EQ(Walk(d, "B").size(), 1u);
    // Block 16, its LINE 17; the second block's CIRCLE 18 in ENTITIES; INSERT 19; the
    // ELLIPSE 20; the DIMENSION takes 21 though it is not kept (it is counted as not drawn);
    // the ARC 22.
    const std::vector<const DxfEntity*> v = Walk(d, nullptr);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0]->m_header.m_nKind, kDxfCircle);
    EXPECT_EQ(v[0]->m_header.m_nHandle, 18);
    EXPECT_EQ(v[1]->m_header.m_nKind, kDxfInsert);
    EXPECT_EQ(v[1]->m_data.m_nBlock, 16);
    EXPECT_EQ(v[2]->m_header.m_nKind, kDxfEllipse);
    EXPECT_EQ(v[3]->m_header.m_nKind, kDxfArc);
    EXPECT_EQ(v[3]->m_header.m_nHandle, 22);
    EXPECT_EQ(d->m_entities.m_arrSkipped,
              (std::vector<std::pair<std::string, int64_t>>{{"DIMENSION", 1}}));
    ASSERT_EQ(d->m_entities.m_arrLate.size(), 1u) << "kept for a block defined later";
    EXPECT_EQ(d->m_entities.m_arrLate[0].m_data.m_strName, "UNDEFINED");

    const DxfEntity* pEntity = nullptr;
    EXPECT_EQ(DxfWalkEntities(d, nullptr, DxfFind::ByHandle, &pEntity, 19), 19);
    EXPECT_EQ(DxfWalkEntities(d, nullptr, DxfFind::Next, &pEntity), 20) << "cursor moved behind";
    EXPECT_EQ(DxfWalkEntities(d, nullptr, DxfFind::ByHandle, &pEntity, 21), 0);
    EXPECT_EQ(DxfWalkEntities(d, nullptr, DxfFind::Last, &pEntity), 22);
    EXPECT_EQ(DxfWalkEntities(d, "NOPE", DxfFind::First, &pEntity), 0);
}

TEST(DxfImport, LtypeKeepsThirtyDashesAndReadsOn) {
    std::string ltype =
        DxfText({"0", "TABLE", "2", "LTYPE", "0", "LTYPE", "2", "MANY", "73", "40"});
    for (int i = 0; i < 40; ++i)
        ltype += DxfText({"49", std::to_string(i)});
    ltype += DxfText({"0", "LTYPE", "2", "NEXT", "0", "ENDTAB"});
    const Imported r = Import(DxfTables(ltype) + DxfEntities(kLineBody));
    ASSERT_TRUE(r.m_bOk);
    DxfTableEntry entry;
    ASSERT_EQ(DxfFindTableEntry(r.m_pDrawing.get(), kDxfTableLtype, DxfFind::First, &entry), 16);
    EXPECT_EQ(entry.m_nDashesRead, 30);
    EXPECT_EQ(entry.m_adDashes[29], 29.0);
    EXPECT_EQ(entry.m_nDashCount, 40);
    EXPECT_EQ(DxfFindTableEntry(r.m_pDrawing.get(), kDxfTableLtype, DxfFind::Next, &entry), 17);
    EXPECT_EQ(entry.m_strName, "NEXT");
}

TEST(DxfImport, OverlongNamesAreCut) {
    const std::string longName(3000, 'N');
    const std::string blocks = DxfText({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", longName,
                                        "0", "LINE", "0", "ENDBLK", "0", "ENDSEC"});
    const Imported r = Import(blocks + DxfEntities(DxfText({"0", "INSERT", "2", longName})));
    ASSERT_TRUE(r.m_bOk);
    DxfBlock block;
    ASSERT_NE(DxfFindBlock(r.m_pDrawing.get(), DxfFind::First, &block), 0);
    EXPECT_EQ(block.m_strName.size(), kDxfNameMax);
    EXPECT_EQ(Walk(r.m_pDrawing.get(), nullptr).size(), 1u) << "the INSERT finds the cut name";
}

TEST(DxfImport, MissingFileFails) {
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    DxfImportError error = DxfImportError::kNone;
    EXPECT_FALSE(DxfImport(pDrawing.get(), "/nonexistent/x.dxf", &error));
    EXPECT_EQ(error, DxfImportError::kOpen);
}

// Only regular files are drawings: a FIFO or a device named like one is refused at once
// instead of blocking the reader (a FIFO open waits for a writer that never comes).
TEST(DxfImport, FifosAndDevicesAreRefusedWithoutWaiting) {
    test::CScratchDir dir;
    const std::string fifo = dir.File("marker.dxf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.Path().string()}) {
        auto import = std::async(std::launch::async, [&path] {
            DxfDrawingPtr pDrawing(DxfDrawingCreate());
            DxfImportError error = DxfImportError::kNone;
            return DxfImport(pDrawing.get(), path, &error) ? DxfImportError::kNone : error;
        });
        if (import.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            // Release the blocked open so the test ends, then fail.
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            ADD_FAILURE() << path << " blocked the reader";
            import.wait();
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        EXPECT_EQ(import.get(), DxfImportError::kOpen) << path;
    }
}

// Every file of the real-world corpus: what it must give.
TEST(DxfImport, CorpusFilesImport) {
    struct Case {
        const char* m_pszFile;
        size_t m_nBlocks;
        size_t m_nEntities; ///< top-level records stored
    };
    const Case cases[] = {
        {"astm-parser-GMX1416S18_ASTM.DXF", 150, 158},
        {"astm-parser-ORILEGWB_AAMA.DXF", 28, 37},
        {"astm-parser-ORILEGWB_ASTM.DXF", 28, 36},
        {"astm-parser-WM_LOOSE_SHAPE_TANK.DXF", 28, 37},
        {"astm-parser-clo-box.dxf", 1, 9},
        {"astm-parser-clo-pattern.dxf", 9, 17},
        {"ezdxf-AC1003_LINE_Example.dxf", 0, 22}, // no LTYPE table: CONTINUOUS is built in
        {"ezdxf-ASCII_R12.dxf", 3, 3},
        {"ezdxf-Leica_Disto_S910.dxf", 0, 32},
        {"ezdxf-Minimal_DXF_AC1009.dxf", 0, 0},
        {"ezdxf-POLI-ALL210_12.DXF", 2, 30},
        {"ezdxf-R12_with_trash_beyond_EOF.dxf", 0, 1},
        {"ezdxf-cc_dxflib.dxf", 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_pszFile);
        DxfDrawingPtr pDrawing(DxfDrawingCreate());
        DxfImportError error = DxfImportError::kNone;
        const std::string path = (test::CorpusDir() / "dxf" / c.m_pszFile).string();
        EXPECT_TRUE(DxfImport(pDrawing.get(), path, &error)) << DxfImportErrorText(error);
        EXPECT_EQ(DxfBlockCount(pDrawing.get()), c.m_nBlocks);
        EXPECT_EQ(DxfEntityCount(pDrawing.get(), 0), c.m_nEntities);
    }
}

/// Everything the import stored, as text: tables, blocks and entities with their handles.
std::string Dump(DxfDrawing* d) {
    std::string s;
    const auto add = [&s](auto... v) { ((s += std::to_string(v) + ' '), ...); };
    for (const int nTable : {kDxfTableDimStyle, kDxfTableLayer, kDxfTableLtype, kDxfTableStyle}) {
        DxfTableEntry e;
        for (int32_t h = DxfFindTableEntry(d, nTable, DxfFind::First, &e); h != 0;
             h = DxfFindTableEntry(d, nTable, DxfFind::Next, &e)) {
            s += "table " + e.m_strName + ' ';
            add(nTable, h, e.m_nLineType, e.m_nColor);
        }
    }
    const auto entities = [&](int32_t nBlock) {
        const DxfEntity* p = nullptr;
        for (int32_t h = DxfWalkBlockEntities(d, nBlock, DxfFind::First, &p); h != 0;
             h = DxfWalkBlockEntities(d, nBlock, DxfFind::Next, &p)) {
            const DxfEntityHeader& eh = p->m_header;
            const DxfEntityData& ed = p->m_data;
            s += "\n  " + eh.m_strLayer + '|' + ed.m_strText + '|' + ed.m_strName + ' ';
            add(eh.m_nKind, h, eh.m_nLayer, eh.m_nLineType, eh.m_nColor, ed.m_aPt[0].x,
                ed.m_aPt[0].y, ed.m_dRadius, ed.m_nStyle, ed.m_nBlock, ed.m_arrVertices.size());
            for (const DxfVertex& v : ed.m_arrVertices)
                add(v.x, v.y, v.bulge);
        }
    };
    DxfBlock b;
    for (int32_t h = DxfFindBlock(d, DxfFind::First, &b); h != 0;
         h = DxfFindBlock(d, DxfFind::Next, &b)) {
        s += "\nblock " + b.m_strName + ' ';
        add(h, b.m_nLayer, b.m_nFlags);
        entities(h);
    }
    s += "\nentities";
    entities(0);
    add(DxfLastHandle(d));
    return s;
}

/// Offsets of every line of the text.
std::vector<int64_t> LineStarts(const std::string& text) {
    std::vector<int64_t> starts{0};
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\n')
            starts.push_back(static_cast<int64_t>(i + 1));
    }
    return starts;
}

// A second thread may start reading anywhere: where the first one meets it at a block, its
// reading is used, and everywhere else the first one reads on alone. The drawing must be
// that of one thread in every case, for well-formed blocks and for the ways blocks go wrong.
TEST(DxfImport, SecondThreadReadsLikeOneThreadFromAnyOffset) {
    const std::string tables =
        DxfTables(DxfLtypeTable({"DASHED"}) + DxfText({"0", "TABLE", "2", "LAYER"}) +
                  DxfLayerEntry("CUT", "3", "DASHED") + DxfText({"0", "ENDTAB"}));
    const std::string block = DxfText(
        {"0", "BLOCK",  "8",  "CUT",  "2",  "A",   "0", "POLYLINE", "8",  "CUT",   "66", "1",
         "0", "VERTEX", "10", "1.5",  "20", "2",   "0", "VERTEX",   "10", "3",     "20", "4",
         "0", "SEQEND", "0",  "TEXT", "8",  "CUT", "1", "P1",       "0",  "ENDBLK"});
    const std::string blocks = DxfText({"0", "SECTION", "2", "BLOCKS"}) + block +
                               DxfText({"0", "BLOCK", "2", "B", "0", "INSERT", "2", "A", "10", "5",
                                        "0", "CIRCLE", "40", "2", "0", "ENDBLK", "999",
                                        "a comment between blocks"}) +
                               block + // a duplicate name: its entities go to ENTITIES
                               DxfText({"0",      "BLOCK", "2",         "C", "0",
                                        "LINE",   "10",    "7", // no ENDBLK: the next
                                        "0",      "BLOCK", "2",         "D", "0",
                                        "ENDBLK", "0",     "BLOCK",     "2", // BLOCK is skipped
                                        "E",      "0",     "DIMENSION", "0", "ELLIPSE",
                                        "0",      "ARC",   "40",        "1", "0",
                                        "ENDBLK", "0",     "ENDSEC"});
    const std::string entities =
        DxfEntities(DxfText({"0", "INSERT", "2", "B", "0", "INSERT", "2", "C", "0", "INSERT", "2",
                             "E", "0", "TEXT", "8", "NOPE", "1", "P2"}));
    const std::string late =
        DxfText({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "2", "F", "0", "LINE", "0", "ENDBLK",
                 "0", "ENDSEC"}) +
        DxfTables(DxfText({"0", "TABLE", "2", "LAYER"}) + DxfLayerEntry("LATE", "1", "DASHED") +
                  DxfLayerEntry("BAD", "1", "UNDEFINED") + DxfText({"0", "ENDTAB"}));
    const std::string whole = tables + blocks + entities;
    const struct {
        const char* m_pszName;
        std::string m_strFile;
    } cases[] = {
        {"blocks, then entities", whole},
        {"CR LF lines",
         [&] {
             std::string crlf;
             for (const char c : whole)
                 crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
             return crlf;
         }()},
        {"a BLOCKS section after ENTITIES, then a failing layer", whole + late},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        test::CScratchDir dir;
        const std::string path = dir.File("d.dxf");
        ASSERT_TRUE(test::WriteFileBytes(path, c.m_strFile));
        DxfDrawingPtr pAlone(DxfDrawingCreate());
        DxfImportError aloneError = DxfImportError::kNone;
        const bool bAloneOk = DxfImportFrom(pAlone.get(), path, -1, &aloneError);
        const std::string alone = Dump(pAlone.get());
        ASSERT_NE(alone.find("block B"), std::string::npos);
        for (const int64_t nAt : LineStarts(c.m_strFile)) {
            SCOPED_TRACE(nAt);
            DxfDrawingPtr pTwo(DxfDrawingCreate());
            DxfImportError twoError = DxfImportError::kNone;
            EXPECT_EQ(DxfImportFrom(pTwo.get(), path, nAt, &twoError), bAloneOk);
            EXPECT_EQ(twoError, aloneError);
            EXPECT_EQ(Dump(pTwo.get()), alone);
        }
    }
}

} // namespace
} // namespace inkvale
