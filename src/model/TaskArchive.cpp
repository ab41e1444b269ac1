// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TaskArchive.h"

#include "model/OnePage.h"

#include <cstring>

namespace inkvale {

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint16_t kBigIndexTag = 0x7FFF;
constexpr uint32_t kBigClassTagBit = 0x80000000u;
constexpr uint16_t kSchema = 1;
constexpr uint32_t kTime64Tag = 0x8000000A;

constexpr const char* kClassNames[] = {"COnePage", "CCurve"};

// Smallest byte counts of a page and a curve entry, for checking counts before reading.
constexpr size_t kMinPageEntry = 2 + 6 * 4 + 4 + 4 + 2;
constexpr size_t kMinCurveEntry = 2 + 4 + 6 * 4 + 2;

} // namespace

void CTaskArchiveWriter::WriteObjectHead(EClass cls) {
    uint32_t& index = m_nClassIndex[cls];
    if (index == 0) {
        const char* name = kClassNames[cls];
        const auto len = static_cast<uint16_t>(std::strlen(name));
        m_ar.WriteUInt16(kNewClassTag);
        m_ar.WriteUInt16(kSchema);
        m_ar.WriteUInt16(len);
        for (uint16_t i = 0; i < len; ++i)
            m_ar.WriteByte(static_cast<uint8_t>(name[i]));
        index = m_nNextIndex++;
    } else if (index < kBigIndexTag) {
        m_ar.WriteUInt16(static_cast<uint16_t>(kClassTagBit | index));
    } else {
        m_ar.WriteUInt16(kBigIndexTag);
        m_ar.WriteUInt32(kBigClassTagBit | index);
    }
    ++m_nNextIndex; // the object's own number
}

void CTaskArchiveWriter::WritePages(const std::vector<const COnePage*>& pages) {
    m_ar.WriteCount(static_cast<uint32_t>(pages.size()));
    for (const COnePage* page : pages) {
        WriteObjectHead(kPage);
        WritePage(*page);
    }
}

void CTaskArchiveWriter::WritePage(const COnePage& page) {
    m_ar.WriteInt32(page.m_nPrintState);
    m_ar.WriteInt32(page.m_nMaxX);
    m_ar.WriteInt32(page.m_nMinX);
    m_ar.WriteInt32(page.m_nMaxY);
    m_ar.WriteInt32(page.m_nMinY);
    m_ar.WriteInt32(page.m_nStartMm);
    m_ar.WriteString(page.m_strPath);
    m_ar.WriteUInt32(kTime64Tag);
    const auto t = static_cast<uint64_t>(page.m_tTime);
    m_ar.WriteUInt32(static_cast<uint32_t>(t));
    m_ar.WriteUInt32(static_cast<uint32_t>(t >> 32));
    m_ar.WriteCount(static_cast<uint32_t>(page.m_arrCurves.size()));
    for (const CCurve& curve : page.m_arrCurves)
        WriteCurve(curve);
}

void CTaskArchiveWriter::WriteCurve(const CCurve& curve) {
    WriteObjectHead(kCurve);
    curve.Serialize(m_ar);
}

bool CTaskArchiveReader::Fail(const std::string& why) {
    m_ar.Fail(why);
    return false;
}

CTaskArchiveReader::EClass CTaskArchiveReader::ReadClassRecord() {
    const uint16_t schema = m_ar.ReadUInt16();
    const uint16_t len = m_ar.ReadUInt16();
    if (!m_ar.HasBytes(len)) {
        Fail("class name beyond the end");
        return kNone;
    }
    std::string name(len, '\0');
    for (char& c : name)
        c = static_cast<char>(m_ar.ReadByte());
    EClass cls = kNone;
    if (name == kClassNames[kPage])
        cls = kPage;
    else if (name == kClassNames[kCurve])
        cls = kCurve;
    if (cls == kNone) {
        Fail("unknown class");
        return kNone;
    }
    if (schema != kSchema) {
        Fail("wrong schema");
        return kNone;
    }
    m_arrIndexClass.push_back(cls);
    ++m_nNextIndex;
    return cls;
}

CTaskArchiveReader::EClass CTaskArchiveReader::ReadObjectHead() {
    const uint16_t tag = m_ar.ReadUInt16();
    if (!m_ar.Ok())
        return kNone;
    EClass cls = kNone;
    if (tag == kNewClassTag) {
        cls = ReadClassRecord();
    } else {
        uint32_t ref = tag;
        if (tag == kBigIndexTag)
            ref = m_ar.ReadUInt32();
        const bool isClass =
            tag == kBigIndexTag ? (ref & kBigClassTagBit) != 0 : (tag & kClassTagBit) != 0;
        // Null entries and repeats of earlier objects are never written by this program.
        if (!isClass) {
            Fail("null or repeated object entry");
            return kNone;
        }
        const uint32_t index =
            tag == kBigIndexTag ? (ref & ~kBigClassTagBit) : (tag & ~kClassTagBit);
        if (index >= m_arrIndexClass.size() || m_arrIndexClass[index] == kNone) {
            Fail("reference to an unknown class");
            return kNone;
        }
        cls = m_arrIndexClass[index];
    }
    if (cls != kNone) {
        m_arrIndexClass.push_back(kNone);
        ++m_nNextIndex;
    }
    return cls;
}

bool CTaskArchiveReader::ReadPages(std::vector<COnePage>& pages) {
    const uint32_t count = m_ar.ReadCount();
    if (!m_ar.HasBytes(size_t{count} * kMinPageEntry))
        return Fail("page count beyond the end");
    for (uint32_t i = 0; i < count; ++i) {
        const EClass cls = ReadObjectHead();
        if (cls != kPage)
            return Fail("a task list holds something other than a task");
        pages.emplace_back();
        if (!ReadPage(pages.back()))
            return false;
    }
    return m_ar.Ok();
}

bool CTaskArchiveReader::ReadPage(COnePage& page) {
    page.m_nPrintState = m_ar.ReadInt32();
    page.m_nMaxX = m_ar.ReadInt32();
    page.m_nMinX = m_ar.ReadInt32();
    page.m_nMaxY = m_ar.ReadInt32();
    page.m_nMinY = m_ar.ReadInt32();
    page.m_nStartMm = m_ar.ReadInt32();
    page.m_strPath = m_ar.ReadString();
    const uint32_t first = m_ar.ReadUInt32();
    if (first == kTime64Tag) {
        const uint64_t lo = m_ar.ReadUInt32();
        const uint64_t hi = m_ar.ReadUInt32();
        page.m_tTime = static_cast<int64_t>(lo | (hi << 32));
    } else {
        page.m_tTime = static_cast<int32_t>(first);
    }
    // A task that was printing when the file or snapshot was made waits again.
    if (page.m_nPrintState == PS_PRINTING)
        page.m_nPrintState = PS_WAITING;
    return m_ar.Ok() && ReadCurves(page);
}

bool CTaskArchiveReader::ReadCurves(COnePage& page) {
    const uint32_t count = m_ar.ReadCount();
    if (!m_ar.HasBytes(size_t{count} * kMinCurveEntry))
        return Fail("curve count beyond the end");
    page.m_arrCurves.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (ReadObjectHead() != kCurve)
            return Fail("a drawing holds something other than a curve");
        page.m_arrCurves.emplace_back();
        page.m_arrCurves.back().Serialize(m_ar);
        if (!m_ar.Ok())
            return false;
    }
    return true;
}

} // namespace inkvale
