// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Archive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace inkvale {

class COnePage;
class CCurve;

/// Writes object entries the way the task file stores them: the first object of a class
/// is preceded by 0xFFFF and its class record, later ones by a reference to the class
/// index. One index counter, starting at 1, numbers classes and objects in the order
/// they first appear.
class CTaskArchiveWriter {
public:
    explicit CTaskArchiveWriter(CArchiveWriter& ar) : m_ar(ar) {}

    /// An object array of pages: count, then each page entry with its curves.
    void WritePages(const std::vector<const COnePage*>& pages);

private:
    enum EClass { kPage, kCurve, kClassCount };

    void WriteObjectHead(EClass cls);
    void WritePage(const COnePage& page);
    void WriteCurve(const CCurve& curve);

    CArchiveWriter& m_ar;
    uint32_t m_nNextIndex = 1;
    uint32_t m_nClassIndex[kClassCount] = {0, 0};
};

/// Reads what CTaskArchiveWriter writes. Any entry this program would not have written
/// (an unknown class, a wrong schema, a null entry, a reference to an earlier object, a
/// class of the wrong kind for its array) or a truncated record fails the reader; counts
/// are checked against the bytes left, so no allocation follows an unchecked count.
class CTaskArchiveReader {
public:
    explicit CTaskArchiveReader(CArchiveReader& ar) : m_ar(ar) {}

    /// Reads an object array of pages; false (and the archive marked failed) on error.
    bool ReadPages(std::vector<COnePage>& pages);

private:
    enum EClass { kPage, kCurve, kNone };

    /// Reads an entry head and returns the class of the object that follows.
    EClass ReadObjectHead();
    EClass ReadClassRecord();
    bool ReadPage(COnePage& page);
    bool ReadCurves(COnePage& page);
    bool Fail(const std::string& why);

    CArchiveReader& m_ar;
    uint32_t m_nNextIndex = 1;
    /// Class of every index handed out so far; kNone for object indices.
    std::vector<EClass> m_arrIndexClass = {kNone};
};

} // namespace inkvale
