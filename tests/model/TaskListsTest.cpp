// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TaskLists.h"

#include "common/TestPaths.h"
#include "support/Archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace inkvale {
namespace {

std::unique_ptr<COnePage> MakeTask(const std::string& path,
                                   std::vector<std::vector<CPoint>> curves) {
    auto page = std::make_unique<COnePage>();
    page->m_strPath = path;
    page->m_tTime = 1700000000;
    for (auto& pts : curves) {
        CCurve c;
        c.m_arrPoints = pts;
        c.CalcExtents();
        page->m_arrCurves.push_back(c);
    }
    page->CalcExtents();
    return page;
}

// Byte builder for the expected layouts.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& u8(int v) {
        b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& i32(int64_t v) {
        return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>((v >> 16) & 0xFFFF));
    }
    Bytes& ascii(const char* s) {
        for (; *s; ++s)
            u8(*s);
        return *this;
    }
    Bytes& str(const char* ascii) {
        u8(0xFF).u16(0xFFFE).u8(static_cast<int>(std::strlen(ascii)));
        for (const char* p = ascii; *p; ++p)
            u16(*p);
        return *this;
    }
};

TEST(TaskLists, EmptyDocumentIsSixZeroBytes) {
    const CTaskLists doc;
    EXPECT_EQ(doc.Serialize(), std::vector<uint8_t>(6, 0));
}

TEST(TaskLists, GoldenBytesOfOneTaskWithOneCurve) {
    SetCurveTag("TAVO");
    CTaskLists doc;
    doc.m_arrOpened.push_back(MakeTask("a.plt", {{{0, 0}, {100, 50}}}));
    doc.m_arrOpened[0]->m_nStartMm = 7;
    doc.m_arrOpened[0]->m_nPrintState = PS_REPEAT;

    Bytes want;
    want.u16(1).u16(0xFFFF).u16(1).u16(8).ascii("COnePage");
    want.i32(PS_REPEAT).i32(100).i32(0).i32(50).i32(0).i32(7).str("a.plt");
    want.i32(0x8000000A).i32(1700000000).i32(0);
    want.u16(1).u16(0xFFFF).u16(1).u16(6).ascii("CCurve");
    want.str("TAVO").i32(1).i32(100).i32(50).i32(0).i32(0).i32(0).u16(2);
    want.i32(0).i32(0).i32(100).i32(50);
    want.u16(0).u16(0);
    EXPECT_EQ(doc.Serialize(), want.b);
}

TEST(TaskLists, LaterObjectsReferToTheirClassIndex) {
    CTaskLists doc;
    doc.m_arrOpened.push_back(MakeTask("a", {{{0, 0}, {1, 1}}, {{2, 2}, {3, 3}}}));
    doc.m_arrAutoDir.push_back(MakeTask("b", {{{5, 5}, {6, 6}}}));
    const std::vector<uint8_t> bytes = doc.Serialize();
    // Pages after the first start with 0x8001, curves after the first with 0x8003.
    size_t pageRefs = 0, curveRefs = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        const int v = bytes[i] | (bytes[i + 1] << 8);
        pageRefs += v == 0x8001;
        curveRefs += v == 0x8003;
    }
    EXPECT_EQ(pageRefs, 1u);
    EXPECT_EQ(curveRefs, 2u);

    CTaskLists back;
    ASSERT_TRUE(back.Deserialize(bytes).Ok());
    ASSERT_EQ(back.m_arrOpened.size(), 1u);
    EXPECT_TRUE(back.m_arrManDir.empty());
    ASSERT_EQ(back.m_arrAutoDir.size(), 1u);
    EXPECT_EQ(back.m_arrOpened[0]->m_arrCurves.size(), 2u);
    EXPECT_EQ(back.m_arrAutoDir[0]->m_arrCurves[0].m_arrPoints,
              (std::vector<CPoint>{{5, 5}, {6, 6}}));
    EXPECT_EQ(back.Serialize(), bytes);
}

TEST(TaskLists, ReadBackRulesForQueueFields) {
    CTaskLists doc;
    doc.m_arrOpened.push_back(MakeTask("printing.plt", {{{0, 0}, {1, 1}}}));
    doc.m_arrOpened.push_back(MakeTask("repeat.plt", {{{0, 0}, {1, 1}}}));
    doc.m_arrOpened[0]->m_nPrintState = PS_PRINTING;
    doc.m_arrOpened[0]->m_nCopies = 5;
    doc.m_arrOpened[0]->m_bQueued = 1;
    doc.m_arrOpened[0]->m_strName = "printing.plt";
    doc.m_arrOpened[1]->m_nPrintState = PS_REPEAT;
    CTaskLists back;
    ASSERT_TRUE(back.Deserialize(doc.Serialize()).Ok());
    const COnePage& a = *back.m_arrOpened[0];
    EXPECT_EQ(a.m_nPrintState, PS_WAITING);
    EXPECT_EQ(a.m_nCopies, 1);
    EXPECT_EQ(a.m_bQueued, 0);
    EXPECT_EQ(a.m_strName, "");
    EXPECT_EQ(a.m_tTime, 1700000000);
    EXPECT_EQ(back.m_arrOpened[1]->m_nPrintState, PS_REPEAT);
}

TEST(TaskLists, ThirtyTwoBitTimeIsSignExtended) {
    Bytes file;
    file.u16(1).u16(0xFFFF).u16(1).u16(8).ascii("COnePage");
    file.i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).str("x");
    file.i32(-5); // old 32-bit time form
    file.u16(0).u16(0).u16(0);
    CTaskLists doc;
    ASSERT_TRUE(doc.Deserialize(file.b).Ok());
    EXPECT_EQ(doc.m_arrOpened[0]->m_tTime, -5);
}

TEST(TaskLists, RejectedFilesLeaveTheListsAsTheyWere) {
    const auto head = [] {
        Bytes b;
        b.u16(1).u16(0xFFFF);
        return b;
    };
    std::vector<std::pair<const char*, std::vector<uint8_t>>> bad;
    bad.push_back({"unknown class", head().u16(1).u16(5).ascii("CFoo!").b});
    bad.push_back({"wrong schema", head().u16(2).u16(8).ascii("COnePage").b});
    bad.push_back({"curve in a task list", head().u16(1).u16(6).ascii("CCurve").b});
    bad.push_back({"null entry", Bytes().u16(1).u16(0).b});
    bad.push_back({"repeat of an object", Bytes().u16(1).u16(2).b});
    bad.push_back({"unknown class index", Bytes().u16(1).u16(0x8005).b});
    bad.push_back({"huge count", Bytes().u16(0xFFFF).i32(0x7FFFFFFF).b});
    bad.push_back({"only two lists", Bytes().u16(0).u16(0).b});

    CTaskLists good;
    good.m_arrManDir.push_back(MakeTask("keep.plt", {{{1, 2}, {3, 4}}}));
    const std::vector<uint8_t> goodBytes = good.Serialize();
    // Every truncation of a valid file is rejected too.
    for (size_t cut = 0; cut < goodBytes.size(); ++cut)
        bad.push_back(
            {"truncated", {goodBytes.begin(), goodBytes.begin() + static_cast<long>(cut)}});

    for (const auto& [what, bytes] : bad) {
        CTaskLists doc;
        doc.m_arrOpened.push_back(MakeTask("before.plt", {{{9, 9}, {8, 8}}}));
        const std::vector<uint8_t> before = doc.Serialize();
        const CDocResult r = doc.Deserialize(bytes);
        EXPECT_EQ(r.m_nCode, -2) << what;
        EXPECT_EQ(r.m_arrMessages, (std::vector<CMessage>{{EMsg::kTaskFileFormat, {}}})) << what;
        EXPECT_EQ(doc.Serialize(), before) << what;
    }
}

TEST(TaskLists, RandomBytesNeverCrash) {
    std::mt19937 rng(7);
    CTaskLists good;
    good.m_arrOpened.push_back(MakeTask("a.plt", {{{1, 2}, {3, 4}, {5, 6}}}));
    const std::vector<uint8_t> base = good.Serialize();
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> bytes = base;
        for (int k = 0; k < 3; ++k)
            bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        CTaskLists doc;
        (void)doc.Deserialize(bytes);
    }
}

TEST(TaskLists, TaskFileOnDisk) {
    test::CScratchDir dir;
    CTaskLists doc;
    doc.m_arrOpened.push_back(MakeTask("/tmp/喷墨.plt", {{{0, 0}, {4000, 4000}}}));
    ASSERT_TRUE(doc.SaveTaskFile(dir.File("q.sptask")).Ok());
    CTaskLists back;
    ASSERT_TRUE(back.OpenTaskFile(dir.File("q.sptask")).Ok());
    EXPECT_EQ(back.m_arrOpened[0]->m_strPath, "/tmp/喷墨.plt");

    const CDocResult missing = back.OpenTaskFile(dir.File("none.sptask"));
    EXPECT_EQ(missing.m_nCode, -1);
    EXPECT_EQ(missing.m_arrMessages,
              (std::vector<CMessage>{{EMsg::kTaskFileRead, {dir.File("none.sptask")}}}));
    EXPECT_EQ(back.m_arrOpened.size(), 1u);
}

} // namespace
} // namespace inkvale
