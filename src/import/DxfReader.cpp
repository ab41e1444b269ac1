// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfReader.h"

#include "import/DxfNumbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace inkvale {

namespace {

constexpr size_t kBufferSize = 32768;
/// How far DxfFindBlockStart looks.
constexpr size_t kFindWindow = 256 * 1024;

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

/// The first CR or LF in [p, pEnd), or pEnd. Most lines of a DXF file are shorter than
/// eight bytes, so they are looked at eight bytes at a time: a byte of v ^ (CR repeated) is
/// zero where v holds a CR, and (x - 1) & ~x sets the high bit of the first zero byte of x
/// (and perhaps of later ones, which do not count).
const char* FindLineEnd(const char* p, const char* pEnd) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = 0x0101010101010101;
        constexpr uint64_t kHighs = 0x8080808080808080;
        while (pEnd - p >= 8) {
            uint64_t v = 0;
            std::memcpy(&v, p, 8);
            const uint64_t lf = v ^ (kOnes * '\n');
            const uint64_t cr = v ^ (kOnes * '\r');
            const uint64_t hits = (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs;
            if (hits != 0)
                return p + (std::countr_zero(hits) >> 3);
            p += 8;
        }
    }
    while (p < pEnd && !IsLineEnd(*p))
        ++p;
    return p;
}

/// A group code line of blanks and one to four digits, the way every writer puts them, read
/// at once; anything else (a sign, a tab, trailing text) goes to DxfParseInt, which reads
/// these alike.
int ParseCode(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    const size_t nDigits = line.size() - i;
    if (nDigits == 0 || nDigits > 4)
        return DxfParseInt(line);
    int n = 0;
    for (size_t k = i; k < line.size(); ++k) {
        const unsigned d = static_cast<unsigned>(line[k] - '0');
        if (d > 9)
            return DxfParseInt(line);
        n = n * 10 + static_cast<int>(d);
    }
    return n;
}

} // namespace

struct DxfFile {
    int m_fd = -1;
    int64_t m_nFileLen = 0;
    std::vector<char> m_buf = std::vector<char>(kBufferSize);
    int64_t m_nBufStart = 0; ///< file offset of m_buf[0]
    size_t m_nBufValid = 0;  ///< valid bytes in m_buf
    int64_t m_nPos = 0;      ///< file offset of the next byte to read
    int64_t m_nMark = 0;
    int64_t m_nPairStart = 0;  ///< file offset of the last pair read
    int64_t m_nBlockStart = 0; ///< file offset of the last (0, BLOCK) pair found
    int m_nSection = 0;
    int m_nTable = 0;
    std::string m_strTable; ///< name of the current table (the entries' group-0 value)
    bool m_bInBlock = false;
    std::array<char, kDxfValueMax + 1> m_szCode{};
    std::array<char, kDxfValueMax + 1> m_szValue{};
};

namespace {

/// Makes the byte at file offset nPos available in the buffer; false at the end of the
/// file (or on a read error, which ends the file as far as the reader is concerned).
bool Load(DxfFile& f, int64_t nPos) {
    if (nPos >= f.m_nBufStart && nPos < f.m_nBufStart + static_cast<int64_t>(f.m_nBufValid))
        return true;
    const ssize_t n = pread(f.m_fd, f.m_buf.data(), f.m_buf.size(), nPos);
    f.m_nBufStart = nPos;
    f.m_nBufValid = n > 0 ? static_cast<size_t>(n) : 0;
    return n > 0;
}

/// Reads one line into dst (at most kDxfValueMax bytes kept, NUL-terminated); the line
/// end (CR LF, LF or CR) is consumed. False when no byte is left.
bool ReadLine(DxfFile& f, std::array<char, kDxfValueMax + 1>& dst, size_t& nLen) {
    nLen = 0;
    if (!Load(f, f.m_nPos))
        return false;
    for (;;) {
        const size_t nOff = static_cast<size_t>(f.m_nPos - f.m_nBufStart);
        const char* p = f.m_buf.data() + nOff;
        const char* pEnd = f.m_buf.data() + f.m_nBufValid;
        const char* q = FindLineEnd(p, pEnd);
        const size_t nTake = std::min(static_cast<size_t>(q - p), kDxfValueMax - nLen);
        std::copy_n(p, nTake, dst.data() + nLen);
        nLen += nTake;
        f.m_nPos += q - p;
        if (q < pEnd) {
            f.m_nPos += 1;
            if (*q == '\r' && Load(f, f.m_nPos) && f.m_buf[f.m_nPos - f.m_nBufStart] == '\n')
                f.m_nPos += 1;
            break;
        }
        if (!Load(f, f.m_nPos))
            break; // the last line has no line end
    }
    dst[nLen] = '\0';
    return true;
}

/// Where the line that starts at p ends (its first CR or LF), and where the next line
/// starts; false when the buffer ends before that is certain (a CR last in the buffer may
/// be the first half of CR LF).
bool LineInBuffer(const char* p, const char* pEnd, const char*& pLineEnd, const char*& pNext) {
    const char* q = FindLineEnd(p, pEnd);
    if (q == pEnd)
        return false;
    pLineEnd = q;
    if (*q == '\r') {
        if (q + 1 == pEnd)
            return false;
        if (q[1] == '\n')
            ++q;
    }
    pNext = q + 1;
    return true;
}

/// The pair at the read position when both its lines end inside the buffer, which is all
/// but a few pairs of a file: read where it stands, without copying. False, having read
/// nothing, when it is not; ReadLine then reads line by line across buffers, with the same
/// outcome.
bool ReadPairInBuffer(DxfFile& f, int* pnCode, std::string_view* pValue) {
    if (f.m_nPos < f.m_nBufStart || f.m_nPos >= f.m_nBufStart + static_cast<int64_t>(f.m_nBufValid))
        return false;
    const char* const pEnd = f.m_buf.data() + f.m_nBufValid;
    const char* const pCode = f.m_buf.data() + (f.m_nPos - f.m_nBufStart);
    const char* pCodeEnd = nullptr;
    const char* pValueStart = nullptr;
    const char* pValueEnd = nullptr;
    const char* pNext = nullptr;
    if (!LineInBuffer(pCode, pEnd, pCodeEnd, pValueStart) ||
        !LineInBuffer(pValueStart, pEnd, pValueEnd, pNext))
        return false;
    // Both lines are cut to kDxfValueMax bytes, as ReadLine keeps them.
    const auto cut = [](const char* p, const char* q) {
        return std::string_view(p, std::min(static_cast<size_t>(q - p), kDxfValueMax));
    };
    *pnCode = ParseCode(cut(pCode, pCodeEnd));
    *pValue = cut(pValueStart, pValueEnd);
    f.m_nPos += pNext - pCode;
    return true;
}

/// Strips trailing blanks, for comparing structural keywords.
std::string_view TrimRight(std::string_view v) {
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
        v.remove_suffix(1);
    return v;
}

bool IsKeyword(std::string_view value, std::string_view keyword) {
    return TrimRight(value) == keyword;
}

std::string Name(std::string_view v) {
    return std::string(v.substr(0, kDxfNameMax));
}

void Rewind(DxfFile& f) {
    f.m_nPos = f.m_nMark;
}

int SectionCode(std::string_view name) {
    name = TrimRight(name);
    if (name == "HEADER")
        return kDxfSectionHeader;
    if (name == "TABLES")
        return kDxfSectionTables;
    if (name == "BLOCKS")
        return kDxfSectionBlocks;
    if (name == "ENTITIES")
        return kDxfSectionEntities;
    return kDxfSectionOther;
}

int TableCode(std::string_view name) {
    name = TrimRight(name);
    if (name == "DIMSTYLE")
        return kDxfTableDimStyle;
    if (name == "LAYER")
        return kDxfTableLayer;
    if (name == "LTYPE")
        return kDxfTableLtype;
    if (name == "STYLE")
        return kDxfTableStyle;
    return kDxfTableOther;
}

void EndSection(DxfFile& f) {
    f.m_nSection = 0;
    f.m_nTable = 0;
    f.m_bInBlock = false;
}

/// Whether a group-0 value closes the section (ENDSEC, or EOF of a file whose section
/// was never closed).
bool EndsSection(std::string_view value) {
    return IsKeyword(value, "ENDSEC") || IsKeyword(value, "EOF");
}

enum class Found { Yes, Stop, End };

/// Looks for (0, keyword) from the current position but not beyond the group 0 values
/// for which pfnStop holds. Yes: positioned behind the pair. Stop: positioned behind the
/// stopping pair, whose value is in stopValue. End: the file ended; back at the start.
template <typename Pred>
Found FindWithin(DxfFile& f, std::string_view keyword, Pred pfnStop, std::string_view* pStop) {
    const int64_t nStart = f.m_nPos;
    int nCode = 0;
    std::string_view value;
    while (DxfReadPair(&f, &nCode, &value)) {
        if (nCode != 0)
            continue;
        if (IsKeyword(value, keyword))
            return Found::Yes;
        if (pfnStop(value)) {
            *pStop = value;
            return Found::Stop;
        }
    }
    f.m_nPos = nStart;
    return Found::End;
}

/// Reads the pairs of one record up to (not including) the next group 0, handing each to
/// store. The position ends in front of that group 0 (or at the end of the file).
template <typename Store>
void ReadGroups(DxfFile& f, Store store) {
    int nCode = 0;
    std::string_view value;
    for (;;) {
        f.m_nMark = f.m_nPos;
        if (!DxfReadPair(&f, &nCode, &value))
            return;
        if (nCode == 0) {
            Rewind(f);
            return;
        }
        store(nCode, value);
    }
}

// ---- table entries ----

void StoreLayerGroup(DxfTableEntry& e, int nCode, std::string_view v) {
    switch (nCode) {
    case 2:
        e.m_strName = Name(v);
        break;
    case 70:
        e.m_nFlags = static_cast<uint8_t>(DxfParseInt(v));
        break;
    case 62:
        e.m_nColor = DxfParseInt16(v);
        break;
    case 6:
        e.m_strLineType = Name(v);
        break;
    default:
        break;
    }
}

void StoreLtypeGroup(DxfTableEntry& e, int nCode, std::string_view v) {
    switch (nCode) {
    case 2:
        e.m_strName = Name(v);
        break;
    case 3:
        e.m_strDescription = Name(v);
        break;
    case 70:
        e.m_nFlags = DxfParseInt16(v);
        break;
    case 73:
        e.m_nDashCount = DxfParseInt16(v);
        break;
    case 40:
        e.m_dPatternLength = DxfParseDouble(v);
        break;
    case 49:
        // The entry keeps the first dashes only; the rest are read and dropped.
        if (static_cast<size_t>(e.m_nDashesRead) < e.m_adDashes.size())
            e.m_adDashes[static_cast<size_t>(e.m_nDashesRead++)] = DxfParseDouble(v);
        break;
    default:
        break;
    }
}

void StoreStyleGroup(DxfTableEntry& e, int nCode, std::string_view v) {
    switch (nCode) {
    case 2:
        e.m_strName = Name(v);
        break;
    case 3:
        e.m_strDescription = Name(v);
        break;
    case 40:
        e.m_dFixedHeight = DxfParseDouble(v);
        break;
    case 41:
        e.m_dWidthFactor = DxfParseDouble(v);
        break;
    case 42:
        e.m_dLastHeight = DxfParseDouble(v);
        break;
    case 50:
        e.m_dObliqueAngle = DxfParseDouble(v);
        break;
    case 70:
        e.m_nFlags = DxfParseInt16(v);
        break;
    case 71:
        e.m_nGenFlags = DxfParseInt16(v);
        break;
    default:
        break;
    }
}

void StoreDimStyleGroup(DxfTableEntry& e, int nCode, std::string_view v) {
    static constexpr std::array<int, 6> kReal = {41, 42, 44, 46, 140, 147};
    static constexpr std::array<int, 5> kInt = {70, 77, 176, 177, 178};
    switch (nCode) {
    case 2:
        e.m_strName = Name(v);
        return;
    case 6:
        e.m_strDimBlock1 = Name(v);
        return;
    case 7:
        e.m_strDimBlock2 = Name(v);
        return;
    case 340:
        e.m_strTextStyle = Name(v);
        return;
    default:
        break;
    }
    for (size_t i = 0; i < kReal.size(); ++i) {
        if (kReal[i] == nCode)
            e.m_adDimReal[i] = DxfParseDouble(v);
    }
    for (size_t i = 0; i < kInt.size(); ++i) {
        if (kInt[i] == nCode)
            e.m_anDimInt[i] = DxfParseInt16(v);
    }
    if (nCode == 70)
        e.m_nFlags = e.m_anDimInt[0];
}

void StoreTableGroup(int nTable, DxfTableEntry& e, int nCode, std::string_view v) {
    switch (nTable) {
    case kDxfTableLayer:
        StoreLayerGroup(e, nCode, v);
        break;
    case kDxfTableLtype:
        StoreLtypeGroup(e, nCode, v);
        break;
    case kDxfTableStyle:
        StoreStyleGroup(e, nCode, v);
        break;
    case kDxfTableDimStyle:
        StoreDimStyleGroup(e, nCode, v);
        break;
    default:
        if (nCode == 2)
            e.m_strName = Name(v);
        break;
    }
}

/// Ends the section when the next pair is (0, ENDSEC); otherwise leaves it unread.
void EndSectionIfNext(DxfFile& f) {
    const int64_t nStart = f.m_nPos;
    int nCode = 0;
    std::string_view value;
    if (DxfReadPair(&f, &nCode, &value) && nCode == 0 && EndsSection(value)) {
        EndSection(f);
        return;
    }
    f.m_nPos = nStart;
}

/// Behind an entry: (0, ENDTAB) followed by (0, ENDSEC) closes table and section;
/// anything else is left for the next read.
void CloseTableIfLast(DxfFile& f) {
    const int64_t nStart = f.m_nPos;
    int nCode = 0;
    std::string_view value;
    if (DxfReadPair(&f, &nCode, &value) && nCode == 0 && IsKeyword(value, "ENDTAB")) {
        f.m_nTable = 0;
        EndSectionIfNext(f);
        if (f.m_nSection == 0)
            return;
        f.m_nTable = TableCode(f.m_strTable);
    }
    f.m_nPos = nStart;
}

// ---- entities ----

/// Which of the points 10.., 11.., 12.., 13.. a kind reads (bit i: point i).
unsigned PointMask(int16_t nKind) {
    switch (nKind) {
    case kDxfLine:
    case kDxfText:
    case kDxfAttrib:
    case kDxfEllipse:
    case kDxfMText:
        return 0x3;
    case kDxfPoint:
    case kDxfCircle:
    case kDxfArc:
    case kDxfInsert:
    case kDxfPolyline: // its elevation (30)
        return 0x1;
    case kDxfSolid:
    case kDxfTrace:
        return 0xF;
    default:
        return 0;
    }
}

bool StorePoint(int16_t nKind, DxfEntityData& d, int nCode, std::string_view v) {
    if (nCode < 10 || nCode > 33 || nCode % 10 > 3)
        return false;
    const int nPoint = nCode % 10;
    if ((PointMask(nKind) & (1u << nPoint)) == 0)
        return true;
    d.m_bHasPoint1 = d.m_bHasPoint1 || nPoint == 1;
    DxfPoint3& pt = d.m_aPt[static_cast<size_t>(nPoint)];
    const double dValue = DxfParseDouble(v);
    if (nCode < 20)
        pt.x = dValue;
    else if (nCode < 30)
        pt.y = dValue;
    else
        pt.z = dValue;
    return true;
}

bool StoreHeaderGroup(DxfEntityHeader& h, int nCode, std::string_view v) {
    switch (nCode) {
    case 8:
        h.m_strLayer = Name(v);
        return true;
    case 6:
        h.m_strLineType = Name(v);
        return true;
    case 62:
        h.m_nColor = DxfParseInt16(v);
        return true;
    case 39:
        h.m_dThickness = DxfParseDouble(v);
        return true;
    case 48:
        h.m_dLtScale = DxfParseDouble(v);
        return true;
    case 67:
        h.m_bPaperSpace = DxfParseInt(v) == 1;
        return true;
    default:
        return false;
    }
}

/// The normal of the entity's coordinate system (210/220/230).
bool StoreExtrusion(DxfEntityData& d, int nCode, std::string_view v) {
    if (nCode == 210)
        d.m_extrusion.x = DxfParseDouble(v);
    else if (nCode == 220)
        d.m_extrusion.y = DxfParseDouble(v);
    else if (nCode == 230)
        d.m_extrusion.z = DxfParseDouble(v);
    else
        return false;
    return true;
}

void StoreTextGroup(DxfEntityData& d, int nCode, std::string_view v) {
    switch (nCode) {
    case 40:
        d.m_dRadius = DxfParseDouble(v);
        break;
    case 50:
        d.m_dAngle = DxfParseDouble(v);
        break;
    case 41:
        d.m_dWidthFactor = DxfParseDouble(v);
        break;
    case 72:
        d.m_nHAlign = static_cast<uint8_t>(DxfParseInt(v));
        break;
    case 73:
        d.m_nVAlign = static_cast<uint8_t>(DxfParseInt(v));
        break;
    case 71:
        d.m_nFlags = DxfParseInt16(v); // text generation: 2 mirrored in X, 4 upside down
        break;
    case 7:
        d.m_strName = Name(v);
        break;
    case 1:
        d.m_strText.assign(v);
        break;
    default:
        break;
    }
}

void StoreInsertGroup(DxfEntityData& d, int nCode, std::string_view v) {
    switch (nCode) {
    case 41:
        d.m_scale.x = DxfParseDouble(v);
        break;
    case 42:
        d.m_scale.y = DxfParseDouble(v);
        break;
    case 43:
        d.m_scale.z = DxfParseDouble(v);
        break;
    case 50:
        d.m_dAngle = DxfParseDouble(v);
        break;
    case 2:
        d.m_strName = Name(v);
        break;
    case 44:
        d.m_dColumnSpacing = DxfParseDouble(v);
        break;
    case 45:
        d.m_dRowSpacing = DxfParseDouble(v);
        break;
    case 70:
        d.m_nColumns = DxfParseInt16(v);
        break;
    case 71:
        d.m_nRows = DxfParseInt16(v);
        break;
    default:
        break;
    }
}

void StoreAttribGroup(DxfEntityData& d, int nCode, std::string_view v) {
    switch (nCode) {
    case 73:
        break; // the field length, not an alignment
    case 74:
        d.m_nVAlign = static_cast<uint8_t>(DxfParseInt(v));
        break;
    case 70:
        d.m_nFlags = DxfParseInt16(v);
        break;
    case 71:
        break;
    default:
        StoreTextGroup(d, nCode, v);
        break;
    }
}

/// MTEXT keeps at most this much text; the rest of a longer text is left out.
constexpr size_t kMaxMTextBytes = 65536;

void StoreMTextGroup(DxfEntityData& d, int nCode, std::string_view v) {
    switch (nCode) {
    case 1:
    case 3:
        d.m_strText.append(
            v.substr(0, kMaxMTextBytes - std::min(kMaxMTextBytes, d.m_strText.size())));
        break;
    case 40:
        d.m_dRadius = DxfParseDouble(v);
        break;
    case 44:
        d.m_dWidthFactor = DxfParseDouble(v);
        break;
    case 50:
        d.m_dAngle = DxfParseDouble(v);
        break;
    case 71:
        d.m_nHAlign = static_cast<uint8_t>(DxfParseInt(v));
        break;
    case 7:
        d.m_strName = Name(v);
        break;
    default:
        break;
    }
}

/// A curve's vertices are read up to this many; the rest of a longer one is left out (the
/// budget of the conversion refuses such a drawing long before).
constexpr size_t kMaxVertices = size_t{1} << 24;

/// The groups of LWPOLYLINE and SPLINE, which repeat: state is the vertex or weight count.
void StoreRepeatedGroup(int16_t nKind, DxfEntityData& d, int nCode, std::string_view v,
                        size_t& nWeights) {
    std::vector<DxfVertex>& arr = d.m_arrVertices;
    const double dValue = DxfParseDouble(v);
    const bool bLw = nKind == kDxfLwPolyline;
    switch (nCode) {
    case 10:
        if (arr.size() < kMaxVertices)
            arr.push_back({dValue, 0.0, 0.0, bLw ? 0.0 : 1.0});
        return;
    case 20:
    case 30:
        if (!arr.empty())
            (nCode == 20 ? arr.back().y : arr.back().z) = dValue;
        return;
    case 70:
        d.m_nFlags = DxfParseInt16(v);
        return;
    case 38:
        d.m_aPt[0].z = dValue; // the elevation of a LWPOLYLINE
        return;
    default:
        break;
    }
    if (bLw) {
        if (nCode == 42 && !arr.empty())
            arr.back().bulge = dValue;
        return;
    }
    switch (nCode) {
    case 11:
        if (d.m_arrFit.size() < kMaxVertices)
            d.m_arrFit.push_back({dValue, 0.0, 0.0, 0.0});
        break;
    case 21:
    case 31:
        if (!d.m_arrFit.empty())
            (nCode == 21 ? d.m_arrFit.back().y : d.m_arrFit.back().z) = dValue;
        break;
    case 40:
        if (d.m_arrReals.size() < kMaxVertices)
            d.m_arrReals.push_back(dValue);
        break;
    case 41:
        if (nWeights < arr.size())
            arr[nWeights].bulge = dValue;
        ++nWeights;
        break;
    case 71:
        d.m_nDegree = DxfParseInt16(v);
        break;
    default:
        break;
    }
}

void StoreEntityGroup(DxfEntityHeader& h, DxfEntityData& d, int nCode, std::string_view v) {
    if (StoreHeaderGroup(h, nCode, v) || StoreExtrusion(d, nCode, v) ||
        StorePoint(h.m_nKind, d, nCode, v))
        return;
    switch (h.m_nKind) {
    case kDxfCircle:
    case kDxfArc:
    case kDxfEllipse:
        if (nCode == 40)
            d.m_dRadius = DxfParseDouble(v);
        else if (nCode == 50 || nCode == 41)
            d.m_dAngle = DxfParseDouble(v);
        else if (nCode == 51 || nCode == 42)
            d.m_dEndAngle = DxfParseDouble(v);
        break;
    case kDxfText:
        StoreTextGroup(d, nCode, v);
        break;
    case kDxfAttrib:
        StoreAttribGroup(d, nCode, v);
        break;
    case kDxfMText:
        StoreMTextGroup(d, nCode, v);
        break;
    case kDxfInsert:
        StoreInsertGroup(d, nCode, v);
        break;
    case kDxfPolyline:
        if (nCode == 70)
            d.m_nFlags = DxfParseInt16(v);
        break;
    case kDxfDimension:
        if (nCode == 2)
            d.m_strName = Name(v); // the block that holds its lines and text
        break;
    default:
        break;
    }
}

int16_t EntityKind(std::string_view name) {
    struct Known {
        std::string_view m_name;
        int16_t m_nKind;
    };
    static constexpr std::array<Known, 17> kKnown = {{{"LINE", kDxfLine},
                                                      {"POINT", kDxfPoint},
                                                      {"CIRCLE", kDxfCircle},
                                                      {"ELLIPSE", kDxfEllipse},
                                                      {"TEXT", kDxfText},
                                                      {"ARC", kDxfArc},
                                                      {"SOLID", kDxfSolid},
                                                      {"INSERT", kDxfInsert},
                                                      {"POLYLINE", kDxfPolyline},
                                                      {"DIMENSION", kDxfDimension},
                                                      {"LWPOLYLINE", kDxfLwPolyline},
                                                      {"SPLINE", kDxfSpline},
                                                      {"MTEXT", kDxfMText},
                                                      {"TRACE", kDxfTrace},
                                                      {"ATTRIB", kDxfAttrib},
                                                      {"MINSERT", kDxfInsert},
                                                      {"SEQEND", -1}}};
    name = TrimRight(name);
    for (const Known& k : kKnown) {
        if (k.m_name == name)
            return k.m_nKind;
    }
    return 0;
}

/// The VERTEX records after a POLYLINE, up to (not including) SEQEND or whatever follows.
void ReadVertices(DxfFile& f, DxfEntityData& d) {
    int nCode = 0;
    std::string_view value;
    for (;;) {
        f.m_nMark = f.m_nPos;
        if (!DxfReadPair(&f, &nCode, &value))
            break;
        if (nCode != 0 || !IsKeyword(value, "VERTEX")) {
            Rewind(f);
            break;
        }
        DxfVertex vx;
        int nFlags = 0;
        ReadGroups(f, [&vx, &nFlags](int nGroup, std::string_view v) {
            switch (nGroup) {
            case 10:
                vx.x = DxfParseDouble(v);
                break;
            case 20:
                vx.y = DxfParseDouble(v);
                break;
            case 30:
                vx.z = DxfParseDouble(v);
                break;
            case 42:
                vx.bulge = DxfParseDouble(v);
                break;
            case 70:
                nFlags = DxfParseInt(v);
                break;
            default:
                break;
            }
        });
        // Not kept: the faces of a polyface mesh, the vertices of a mesh, and the frame of
        // a spline-fit polyline (its fitted vertices are the curve).
        const bool bFrame = (nFlags & 16) != 0 && (d.m_nFlags & 4) != 0;
        if ((d.m_nFlags & kDxfPolylineMesh) == 0 && (nFlags & 128) == 0 && !bFrame &&
            d.m_arrVertices.size() < kMaxVertices)
            d.m_arrVertices.push_back(vx);
    }
    // Stored last vertex first.
    std::reverse(d.m_arrVertices.begin(), d.m_arrVertices.end());
}

void ParseEntity(DxfFile& f, int16_t nKind, DxfEntityHeader& h, DxfEntityData& d) {
    h = DxfEntityHeader{};
    d = DxfEntityData{};
    h.m_nKind = nKind;
    if (nKind == kDxfLwPolyline || nKind == kDxfSpline) {
        size_t nWeights = 0;
        ReadGroups(f, [&h, &d, &nWeights](int nCode, std::string_view v) {
            if (!StoreHeaderGroup(h, nCode, v) && !StoreExtrusion(d, nCode, v))
                StoreRepeatedGroup(h.m_nKind, d, nCode, v, nWeights);
        });
        return;
    }
    if (nKind == kDxfMText) {
        // AutoCAD 2018 and later follow an MTEXT with its column data after a 101 "Embedded
        // Object" marker, reusing the codes of the insertion point, direction and height for
        // other values: the entity's own groups end at the marker.
        bool bEmbedded = false;
        ReadGroups(f, [&h, &d, &bEmbedded](int nCode, std::string_view v) {
            bEmbedded = bEmbedded || nCode == 101;
            if (!bEmbedded)
                StoreEntityGroup(h, d, nCode, v);
        });
        return;
    }
    ReadGroups(f, [&h, &d](int nCode, std::string_view v) { StoreEntityGroup(h, d, nCode, v); });
    if (nKind == kDxfPolyline) {
        ReadVertices(f, d);
        if ((d.m_nFlags & kDxfPolylineMesh) != 0) {
            h.m_nKind = kDxfSkipped;
            d.m_strName = "POLYLINE mesh";
        }
    }
}

/// Entities that draw nothing by design: the records that close a sequence, the templates
/// of attributes and the paper-space viewports.
bool SilentlySkipped(std::string_view name) {
    return name == "VERTEX" || name == "ATTDEF" || name == "VIEWPORT";
}

/// An entity this reader does not draw: its header is read (so that the load can tell
/// whether it lay on a visible layer in model space) and its name kept.
void ParseSkipped(DxfFile& f, std::string_view name, DxfEntityHeader& h, DxfEntityData& d) {
    h = DxfEntityHeader{};
    d = DxfEntityData{};
    h.m_nKind = kDxfSkipped;
    d.m_strName = Name(name);
    ReadGroups(f, [&h](int nCode, std::string_view v) { (void)StoreHeaderGroup(h, nCode, v); });
}

/// Leaves a block whose ENDBLK pair has just been read: skips the ENDBLK groups and ends
/// the section when ENDSEC follows.
void LeaveBlock(DxfFile& f) {
    f.m_bInBlock = false;
    ReadGroups(f, [](int, std::string_view) {});
    EndSectionIfNext(f);
}

/// A group-0 value that ends the entities of the current block or section. Handles it
/// (the pair has been read) and returns true.
bool HandleEnd(DxfFile& f, std::string_view value) {
    if (EndsSection(value)) {
        EndSection(f);
        return true;
    }
    if (IsKeyword(value, "ENDBLK")) {
        if (f.m_bInBlock)
            LeaveBlock(f);
        return true;
    }
    return false;
}

/// After a parsed entity: an end marker is consumed and handled, anything else is left.
void AfterEntity(DxfFile& f) {
    f.m_nMark = f.m_nPos;
    int nCode = 0;
    std::string_view value;
    if (!DxfReadPair(&f, &nCode, &value))
        return;
    if (nCode != 0 || !HandleEnd(f, value))
        Rewind(f);
}

} // namespace

DxfFile* DxfOpen(const std::string& strPath) {
    // Non-blocking, so that a FIFO or a device named like a drawing cannot stall the open;
    // only regular files are drawings (a FIFO would never end, a device never either).
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto pFile = std::make_unique<DxfFile>();
    pFile->m_fd = fd;
    pFile->m_nFileLen = st.st_size;
    Load(*pFile, 0);
    return pFile.release();
}

bool DxfClose(DxfFile* pFile) {
    if (pFile == nullptr)
        return false;
    const bool bOk = ::close(pFile->m_fd) == 0;
    delete pFile;
    return bOk;
}

bool DxfReadPair(DxfFile* pFile, int* pnCode, std::string_view* pValue) {
    size_t nCodeLen = 0;
    size_t nValueLen = 0;
    pFile->m_nPairStart = pFile->m_nPos;
    if (ReadPairInBuffer(*pFile, pnCode, pValue))
        return true;
    if (!ReadLine(*pFile, pFile->m_szCode, nCodeLen) ||
        !ReadLine(*pFile, pFile->m_szValue, nValueLen))
        return false;
    *pnCode = DxfParseInt(std::string_view(pFile->m_szCode.data(), nCodeLen));
    *pValue = std::string_view(pFile->m_szValue.data(), nValueLen);
    return true;
}

bool DxfFindPair(DxfFile* pFile, int nCode, std::string_view value) {
    pFile->m_nMark = pFile->m_nPos;
    int nRead = 0;
    std::string_view v;
    while (DxfReadPair(pFile, &nRead, &v)) {
        if (nRead == nCode && IsKeyword(v, value))
            return true;
    }
    Rewind(*pFile);
    return false;
}

int DxfNextSection(DxfFile* pFile) {
    DxfFile& f = *pFile;
    EndSection(f);
    std::string_view stop;
    const Found found = FindWithin(
        f, "SECTION", [](std::string_view v) { return IsKeyword(v, "EOF"); }, &stop);
    int nCode = 0;
    std::string_view value;
    if (found != Found::Yes || !DxfReadPair(&f, &nCode, &value))
        return 0;
    f.m_nSection = SectionCode(value);
    return f.m_nSection;
}

int DxfNextTable(DxfFile* pFile) {
    DxfFile& f = *pFile;
    f.m_nTable = 0;
    if (f.m_nSection != kDxfSectionTables)
        return 0;
    std::string_view stop;
    const Found found = FindWithin(f, "TABLE", EndsSection, &stop);
    int nCode = 0;
    std::string_view value;
    if (found != Found::Yes || !DxfReadPair(&f, &nCode, &value)) {
        EndSection(f);
        return 0;
    }
    f.m_strTable = std::string(TrimRight(value.substr(0, kDxfNameMax)));
    f.m_nTable = TableCode(value);
    return f.m_nTable;
}

int DxfReadTableEntry(DxfFile* pFile, DxfTableEntry* pEntry) {
    DxfFile& f = *pFile;
    if (f.m_nSection != kDxfSectionTables || f.m_nTable == 0)
        return 0;
    std::string_view stop;
    const int64_t nStart = f.m_nPos;
    const Found found = FindWithin(
        f, f.m_strTable,
        [](std::string_view v) {
            return IsKeyword(v, "ENDTAB") || IsKeyword(v, "TABLE") || EndsSection(v);
        },
        &stop);
    if (found != Found::Yes) {
        f.m_nTable = 0;
        if (found == Found::End || EndsSection(stop))
            EndSection(f);
        else if (IsKeyword(stop, "TABLE"))
            f.m_nPos = nStart; // a table without ENDTAB: the next table starts here
        else
            EndSectionIfNext(f); // behind ENDTAB
        return 0;
    }
    const int nTable = f.m_nTable;
    *pEntry = DxfTableEntry{};
    ReadGroups(f, [nTable, pEntry](int nCode, std::string_view v) {
        StoreTableGroup(nTable, *pEntry, nCode, v);
    });
    CloseTableIfLast(f);
    return nTable;
}

bool DxfReadBlockHeader(DxfFile* pFile, DxfBlock* pBlock) {
    DxfFile& f = *pFile;
    f.m_bInBlock = false;
    if (f.m_nSection != kDxfSectionBlocks)
        return false;
    std::string_view stop;
    if (FindWithin(f, "BLOCK", EndsSection, &stop) != Found::Yes) {
        EndSection(f);
        return false;
    }
    f.m_nBlockStart = f.m_nPairStart;
    *pBlock = DxfBlock{};
    bool bHaveName2 = false;
    ReadGroups(f, [pBlock, &bHaveName2](int nCode, std::string_view v) {
        if (nCode == 2 || (nCode == 3 && !bHaveName2)) {
            pBlock->m_strName = Name(v);
            bHaveName2 = bHaveName2 || nCode == 2;
        } else if (nCode == 70) {
            pBlock->m_nFlags = DxfParseInt16(v);
        } else if (nCode == 8) {
            pBlock->m_strLayer = Name(v);
        } else if (nCode == 10) {
            pBlock->m_base.x = DxfParseDouble(v);
        } else if (nCode == 20) {
            pBlock->m_base.y = DxfParseDouble(v);
        } else if (nCode == 30) {
            pBlock->m_base.z = DxfParseDouble(v);
        }
    });
    f.m_nMark = f.m_nPos;
    int nCode = 0;
    std::string_view value;
    if (!DxfReadPair(&f, &nCode, &value))
        return true;
    if (IsKeyword(value, "ENDBLK")) {
        LeaveBlock(f); // an empty block
        return true;
    }
    Rewind(f);
    f.m_bInBlock = !EndsSection(value);
    return true;
}

bool DxfReadEntity(DxfFile* pFile, DxfEntityHeader* pHeader, DxfEntityData* pData) {
    DxfFile& f = *pFile;
    if (f.m_nSection != kDxfSectionEntities && !(f.m_nSection == kDxfSectionBlocks && f.m_bInBlock))
        return false;
    f.m_nMark = f.m_nPos;
    int nCode = 0;
    std::string_view value;
    if (!DxfReadPair(&f, &nCode, &value))
        return false;
    if (nCode != 0) {
        Rewind(f);
        return false;
    }
    for (;;) {
        if (HandleEnd(f, value))
            return false;
        if (const int16_t nKind = EntityKind(value); nKind > 0) {
            ParseEntity(f, nKind, *pHeader, *pData);
            AfterEntity(f);
            return true;
        } else if (nKind == 0 && !SilentlySkipped(TrimRight(value))) {
            ParseSkipped(f, TrimRight(value), *pHeader, *pData);
            AfterEntity(f);
            return true;
        }
        // An entity this reader does not know: skip its groups.
        ReadGroups(f, [](int, std::string_view) {});
        if (!DxfReadPair(&f, &nCode, &value))
            return false;
    }
}

int64_t DxfBlockOffset(const DxfFile* pFile) {
    return pFile->m_nBlockStart;
}

int64_t DxfFindBlockStart(const DxfFile* pFile, int64_t nFrom) {
    std::vector<char> window(kFindWindow);
    const ssize_t nRead = pread(pFile->m_fd, window.data(), window.size(), nFrom);
    if (nRead <= 0)
        return -1;
    const std::string_view text(window.data(), static_cast<size_t>(nRead));
    // A "BLOCK" line whose line before holds a lone 0.
    for (size_t i = text.find("BLOCK"); i != std::string_view::npos;
         i = text.find("BLOCK", i + 1)) {
        const size_t nEnd = i + 5;
        if (i < 2 || nEnd >= text.size() || !IsLineEnd(text[i - 1]) || !IsLineEnd(text[nEnd]))
            continue;
        size_t nCodeEnd = i - 1; // behind the code line's last character
        if (text[nCodeEnd] == '\n' && text[nCodeEnd - 1] == '\r')
            --nCodeEnd;
        size_t nCodeStart = nCodeEnd;
        while (nCodeStart > 0 && !IsLineEnd(text[nCodeStart - 1]))
            --nCodeStart;
        if (nCodeStart == 0)
            continue; // the line may have begun before the window
        const std::string_view code = TrimRight(text.substr(nCodeStart, nCodeEnd - nCodeStart));
        if (!code.empty() && code.back() == '0' && code.find_first_not_of(' ') == code.size() - 1)
            return nFrom + static_cast<int64_t>(nCodeStart);
    }
    return -1;
}

DxfFile* DxfOpenBlocksAt(const DxfFile* pFile, int64_t nOffset) {
    const int fd = fcntl(pFile->m_fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    auto pSecond = std::make_unique<DxfFile>();
    pSecond->m_fd = fd;
    pSecond->m_nFileLen = pFile->m_nFileLen;
    DxfPlaceInBlocks(pSecond.get(), nOffset);
    return pSecond.release();
}

void DxfPlaceInBlocks(DxfFile* pFile, int64_t nOffset) {
    EndSection(*pFile);
    pFile->m_nSection = kDxfSectionBlocks;
    pFile->m_nPos = nOffset;
    pFile->m_nMark = nOffset;
}

int64_t DxfFileLength(const DxfFile* pFile) {
    return pFile->m_nFileLen;
}

int DxfCurrentSection(const DxfFile* pFile) {
    return pFile->m_nSection;
}

bool DxfInsideBlock(const DxfFile* pFile) {
    return pFile->m_bInBlock;
}

} // namespace inkvale
