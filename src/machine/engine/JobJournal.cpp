// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/JobJournal.h"

#include "model/TaskArchive.h"
#include "raster/BandGeometry.h"
#include "support/Archive.h"
#include "support/AtomicFile.h"
#include "support/TextCodec.h"

#include <unistd.h>

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace inkvale {

namespace {

constexpr const char* kVersionLine = "inkvale-job 1";
// A record is a page of text; anything larger is not one of ours.
constexpr size_t kMaxRecordBytes = 64 * 1024;
// The page file of the largest job the raster buffers take stays well below this.
constexpr size_t kMaxPageBytes = size_t{2} << 30;
constexpr double kFeedPixelsPerMm = 300.0 / 25.4;

std::string Hex64(uint64_t n) {
    char sz[24];
    std::snprintf(sz, sizeof sz, "%016" PRIx64, n);
    return sz;
}

// The fields of the band parameters in a fixed order, as integers.
std::vector<int64_t> ParamNumbers(const CBandParams& p) {
    std::vector<int64_t> v = {p.m_nHeadCombination, p.m_nLineWidthPx, p.m_nXDotsPerMetre};
    v.insert(v.end(), p.m_arrHeadPos.begin(), p.m_arrHeadPos.end());
    v.insert(v.end(), p.m_arrHeadOverlap.begin(), p.m_arrHeadOverlap.end());
    v.insert(v.end(), p.m_arrReturnJoin.begin(), p.m_arrReturnJoin.end());
    v.insert(v.end(), {p.m_bBidirectional ? 1 : 0, p.m_nInkColumns, p.m_nMarginLeftMm,
                       p.m_nMarginRightMm, p.m_nEdgeAdjustLeft, p.m_nEdgeAdjustRight,
                       p.m_bPreciseMode ? 1 : 0, p.m_bSpAutoClean ? 1 : 0,
                       p.m_bPrintFileName ? 1 : 0, p.m_nIBCleanThickness, p.m_nLanguage});
    return v;
}

constexpr size_t kParamCount = 3 + 4 + 3 + 4 + 11;

bool FitsInt(int64_t n) {
    return n >= INT32_MIN && n <= INT32_MAX;
}

bool SetParamNumbers(CBandParams& p, const std::vector<int64_t>& v) {
    if (v.size() != kParamCount)
        return false;
    for (size_t k = 0; k < v.size(); ++k) {
        // The resolution is the one unsigned field.
        const bool bFits = k == 2 ? v[k] >= 0 && v[k] <= UINT32_MAX : FitsInt(v[k]);
        if (!bFits)
            return false;
    }
    size_t i = 0;
    auto next = [&v, &i] { return static_cast<int>(v[i++]); };
    p.m_nHeadCombination = next();
    p.m_nLineWidthPx = next();
    p.m_nXDotsPerMetre = static_cast<uint32_t>(v[i++]);
    for (int& n : p.m_arrHeadPos)
        n = next();
    for (int& n : p.m_arrHeadOverlap)
        n = next();
    for (int& n : p.m_arrReturnJoin)
        n = next();
    p.m_bBidirectional = next() != 0;
    p.m_nInkColumns = next();
    p.m_nMarginLeftMm = next();
    p.m_nMarginRightMm = next();
    p.m_nEdgeAdjustLeft = next();
    p.m_nEdgeAdjustRight = next();
    p.m_bPreciseMode = next() != 0;
    p.m_bSpAutoClean = next() != 0;
    p.m_bPrintFileName = next() != 0;
    p.m_nIBCleanThickness = next();
    p.m_nLanguage = next();
    return true;
}

bool ParseInt(const std::string& s, int64_t& n) {
    const char* pEnd = s.data() + s.size();
    const auto r = std::from_chars(s.data(), pEnd, n);
    return r.ec == std::errc() && r.ptr == pEnd;
}

bool ParseHex(const std::string& s, uint64_t& n) {
    const char* pEnd = s.data() + s.size();
    const auto r = std::from_chars(s.data(), pEnd, n, 16);
    return !s.empty() && r.ec == std::errc() && r.ptr == pEnd;
}

using CFields = std::map<std::string, std::string>;

CFields SplitFields(const std::string& strText) {
    CFields fields;
    std::istringstream in(strText);
    std::string strLine;
    std::getline(in, strLine); // the version line, checked by the caller
    while (std::getline(in, strLine)) {
        const size_t nSpace = strLine.find(' ');
        if (nSpace == std::string::npos)
            fields[strLine] = "";
        else
            fields[strLine.substr(0, nSpace)] = strLine.substr(nSpace + 1);
    }
    return fields;
}

struct CRecordReader {
    const CFields& m_fields;
    std::string& m_strError;

    const std::string* Field(const char* key) {
        const auto it = m_fields.find(key);
        if (it != m_fields.end())
            return &it->second;
        if (m_strError.empty())
            m_strError = std::string("the field ") + key + " is missing";
        return nullptr;
    }
    bool Int(const char* key, int64_t& n, int64_t nMin, int64_t nMax) {
        const std::string* p = Field(key);
        if (p == nullptr)
            return false;
        if (ParseInt(*p, n) && n >= nMin && n <= nMax)
            return true;
        m_strError = std::string("the field ") + key + " holds no valid number";
        return false;
    }
    bool Hex(const char* key, uint64_t& n) {
        const std::string* p = Field(key);
        if (p != nullptr && ParseHex(*p, n))
            return true;
        if (p != nullptr)
            m_strError = std::string("the field ") + key + " holds no valid hash";
        return false;
    }
    bool Text(const char* key, std::string& s) {
        const std::string* p = Field(key);
        if (p != nullptr)
            s = UnescapeLine(*p);
        return p != nullptr;
    }
};

bool ReadParams(CRecordReader& r, CBandParams& params) {
    const std::string* p = r.Field("params");
    if (p == nullptr)
        return false;
    std::vector<int64_t> v;
    std::istringstream in(*p);
    std::string strNumber;
    while (in >> strNumber && v.size() <= kParamCount) {
        int64_t n = 0;
        if (!ParseInt(strNumber, n))
            break;
        v.push_back(n);
    }
    if (!SetParamNumbers(params, v)) {
        r.m_strError = "the field params is malformed";
        return false;
    }
    return r.Text("custom-string", params.m_strCustomString);
}

} // namespace

std::string FormatJobRecord(const CJobRecord& record) {
    std::string s = std::string(kVersionLine) + "\n";
    auto line = [&s](const char* key, const std::string& value) {
        s += key;
        s += ' ';
        s += value;
        s += '\n';
    };
    line("state", record.m_bInterrupted ? "interrupted" : "running");
    line("task-path", EscapeLine(record.m_strTaskPath));
    line("task-name", EscapeLine(record.m_strTaskName));
    line("file", EscapeLine(record.m_strFilePath));
    line("file-hash", Hex64(record.m_nFileHash));
    line("file-size", std::to_string(record.m_nFileSize));
    line("page-hash", Hex64(record.m_nPageHash));
    line("page-bytes", std::to_string(record.m_nPageBytes));
    line("band-count", std::to_string(record.m_nBandCount));
    line("job-width", std::to_string(record.m_nJobWidth));
    line("first-band", std::to_string(record.m_params.m_nFirstBand));
    line("confirmed", std::to_string(record.m_nConfirmed));
    line("started", std::to_string(record.m_tStarted));
    line("label-time", std::to_string(static_cast<int64_t>(record.m_params.m_tLabelTime)));
    std::string strParams;
    for (const int64_t n : ParamNumbers(record.m_params))
        strParams += (strParams.empty() ? "" : " ") + std::to_string(n);
    line("params", strParams);
    line("custom-string", EscapeLine(record.m_params.m_strCustomString));
    line("why", EscapeLine(record.m_strWhy));
    return s;
}

bool ParseJobRecord(const std::string& strText, CJobRecord& record, std::string& strError) {
    strError.clear();
    if (strText.compare(0, std::string(kVersionLine).size() + 1,
                        std::string(kVersionLine) + "\n") != 0) {
        strError = "not a job record of this version";
        return false;
    }
    const CFields fields = SplitFields(strText);
    CRecordReader r{fields, strError};
    CJobRecord out;
    const std::string* pState = r.Field("state");
    if (pState == nullptr || (*pState != "running" && *pState != "interrupted")) {
        if (strError.empty())
            strError = "the field state is malformed";
        return false;
    }
    out.m_bInterrupted = *pState == "interrupted";
    int64_t nPageBytes = 0, nWidth = 0, nFirst = 0, nLabel = 0;
    const bool bOk =
        r.Text("task-path", out.m_strTaskPath) && r.Text("task-name", out.m_strTaskName) &&
        r.Text("file", out.m_strFilePath) && r.Hex("file-hash", out.m_nFileHash) &&
        r.Int("file-size", out.m_nFileSize, -1, INT64_MAX) && r.Hex("page-hash", out.m_nPageHash) &&
        r.Int("page-bytes", nPageBytes, 1, static_cast<int64_t>(kMaxPageBytes)) &&
        r.Int("band-count", out.m_nBandCount, 1, INT32_MAX) &&
        r.Int("job-width", nWidth, 1, CBandGeometry::kMaxJobWidth) &&
        r.Int("first-band", nFirst, 0, out.m_nBandCount - 1) &&
        r.Int("confirmed", out.m_nConfirmed, 0, out.m_nBandCount) &&
        r.Int("started", out.m_tStarted, 0, INT64_MAX) &&
        r.Int("label-time", nLabel, 0, INT64_MAX) && ReadParams(r, out.m_params) &&
        r.Text("why", out.m_strWhy);
    if (!bOk)
        return false;
    out.m_nPageBytes = static_cast<uint64_t>(nPageBytes);
    out.m_nJobWidth = static_cast<int32_t>(nWidth);
    out.m_params.m_nFirstBand = nFirst;
    out.m_params.m_tLabelTime = static_cast<std::time_t>(nLabel);
    record = std::move(out);
    return true;
}

uint64_t HashBytes(std::span<const uint8_t> bytes, uint64_t nHash) {
    for (const uint8_t b : bytes) {
        nHash ^= b;
        nHash *= 0x100000001b3ull;
    }
    return nHash;
}

bool HashFile(const std::string& strPath, uint64_t& nHash, int64_t& nSize) {
    FILE* f = std::fopen(strPath.c_str(), "rb");
    if (f == nullptr)
        return false;
    struct stat st {};
    if (::fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return false;
    }
    uint64_t h = 0xcbf29ce484222325ull;
    int64_t n = 0;
    std::vector<uint8_t> buf(1 << 16);
    size_t nRead = 0;
    while ((nRead = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
        h = HashBytes({buf.data(), nRead}, h);
        n += static_cast<int64_t>(nRead);
    }
    const bool bOk = std::ferror(f) == 0;
    std::fclose(f);
    nHash = h;
    nSize = n;
    return bOk;
}

int64_t ResumeBandOf(const CBandParams& params, int64_t nConfirmed) {
    const CBandGeometry geo(params);
    if (params.m_bPreciseMode && geo.BandHeight() % 2 != 0 && nConfirmed % 2 != 0)
        return nConfirmed - 1;
    return nConfirmed;
}

double FeedLengthMm(const CBandParams& params, int64_t nBands) {
    if (nBands <= 0)
        return 0.0;
    CBandParams whole = params;
    whole.m_nFirstBand = 0;
    const CBandGeometry geo(whole);
    return static_cast<double>(geo.BandOffset(nBands - 1) + geo.BandHeight()) / kFeedPixelsPerMm;
}

void CJobJournal::Begin(const CJobRecord& record, const COnePage* pNewPage) {
    m_record = record;
    m_record.m_bInterrupted = false;
    m_record.m_strWhy.clear();
    m_pNewPage = pNewPage;
    m_bOpen = false;
    m_nUnsynced = 0;
}

bool CJobJournal::Open() {
    if (!Enabled())
        return false;
    ::mkdir(m_strDir.c_str(), 0755);
    if (m_pNewPage != nullptr) {
        CArchiveWriter ar;
        CTaskArchiveWriter(ar).WritePages({m_pNewPage});
        const std::vector<uint8_t> bytes = ar.TakeBytes();
        m_record.m_nPageHash = HashBytes(bytes);
        m_record.m_nPageBytes = bytes.size();
        if (!m_record.m_strFilePath.empty() &&
            !HashFile(m_record.m_strFilePath, m_record.m_nFileHash, m_record.m_nFileSize))
            m_record.m_nFileSize = -1;
        if (!WriteFileAtomically(m_strDir + kPageName, bytes, true))
            return false;
        m_pNewPage = nullptr;
    }
    m_bOpen = WriteRecord(true);
    return m_bOpen;
}

bool CJobJournal::WriteRecord(bool bDurable) {
    m_nUnsynced = bDurable ? 0 : m_nUnsynced + 1;
    return WriteFileAtomically(m_strDir + kRecordName, FormatJobRecord(m_record), bDurable);
}

void CJobJournal::Confirmed(int64_t nConfirmed) {
    if (!m_bOpen)
        return;
    m_record.m_nConfirmed = nConfirmed;
    // Renamed into place at every band, so a crash of the program loses nothing; flushed
    // every few bands, so that a power failure costs at most those bands again.
    (void)WriteRecord(m_nUnsynced + 1 >= kSyncEveryBands);
}

void CJobJournal::Finished() {
    if (m_bOpen)
        Discard(m_strDir);
    m_bOpen = false;
}

void CJobJournal::Interrupted(const std::string& strWhy) {
    if (!m_bOpen)
        return;
    m_record.m_bInterrupted = true;
    m_record.m_strWhy = strWhy;
    (void)WriteRecord(true);
    m_bOpen = false;
}

bool CJobJournal::HasJob(const std::string& strDir) {
    struct stat st {};
    return !strDir.empty() && ::stat((strDir + kRecordName).c_str(), &st) == 0;
}

CJobLoad CJobJournal::Load(const std::string& strDir) {
    CJobLoad load;
    std::string strText;
    if (!ReadWholeFile(strDir + kRecordName, kMaxRecordBytes, strText)) {
        load.m_nCode = -1;
        load.m_strDiag = "no unfinished job in " + strDir;
        return load;
    }
    std::string strError;
    if (!ParseJobRecord(strText, load.m_record, strError)) {
        load.m_nCode = -2;
        load.m_strDiag = "the job record " + strDir + kRecordName + " is damaged: " + strError;
        return load;
    }
    std::string strPage;
    const CJobRecord& r = load.m_record;
    if (!ReadWholeFile(strDir + kPageName, kMaxPageBytes, strPage) ||
        strPage.size() != r.m_nPageBytes ||
        HashBytes({reinterpret_cast<const uint8_t*>(strPage.data()), strPage.size()}) !=
            r.m_nPageHash) {
        load.m_nCode = -2;
        load.m_strDiag = "the job's page " + strDir + kPageName + " is missing or damaged";
        return load;
    }
    CArchiveReader ar(reinterpret_cast<const uint8_t*>(strPage.data()), strPage.size());
    std::vector<COnePage> pages;
    if (!CTaskArchiveReader(ar).ReadPages(pages) || pages.size() != 1) {
        load.m_nCode = -2;
        load.m_strDiag = "the job's page " + strDir + kPageName + " cannot be read";
        return load;
    }
    load.m_page = std::move(pages.front());
    load.m_page.m_strName = r.m_strTaskName;
    return load;
}

bool CJobJournal::LoadRecord(const std::string& strDir, CJobRecord& record) {
    std::string strText, strError;
    return !strDir.empty() && ReadWholeFile(strDir + kRecordName, kMaxRecordBytes, strText) &&
           ParseJobRecord(strText, record, strError);
}

void CJobJournal::Discard(const std::string& strDir) {
    if (strDir.empty())
        return;
    (void)::unlink((strDir + kRecordName).c_str());
    (void)::unlink((strDir + kPageName).c_str());
    SyncFolder(strDir);
}

} // namespace inkvale
