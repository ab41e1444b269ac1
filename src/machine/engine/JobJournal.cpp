// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/engine/JobJournal.h"

#include "model/TaskArchive.h"
#include "raster/BandGeometry.h"
#include "support/Archive.h"
#include "support/AtomicFile.h"
#include "support/Crc32c.h"
#include "support/PlaceFile.h"
#include "support/TextCodec.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <vector>

namespace inkvale {

namespace {

constexpr const char* kVersionLine = "inkvale-job 2";
// A ledger is a whole record and a short frame per band; anything larger is not one of ours.
constexpr size_t kMaxLedgerBytes = size_t{64} << 20;
// One frame holds one record: a page of text.
constexpr uint32_t kMaxFrameBytes = 64 * 1024;
constexpr char kFrameMagic[4] = {'I', 'K', 'J', 'L'};
constexpr size_t kFrameHeader = 12;
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

namespace {

const char* OutcomeName(EJobOutcome e) {
    switch (e) {
    case EJobOutcome::kInterrupted:
        return "interrupted";
    case EJobOutcome::kPrinted:
        return "printed";
    case EJobOutcome::kRunning:
        break;
    }
    return "running";
}

bool ParseOutcome(const std::string& s, EJobOutcome& e) {
    for (const EJobOutcome c :
         {EJobOutcome::kRunning, EJobOutcome::kInterrupted, EJobOutcome::kPrinted}) {
        if (s == OutcomeName(c)) {
            e = c;
            return true;
        }
    }
    return false;
}

// Job ids are the start time and a random part: they sort by age and never repeat.
std::string MakeJobId(int64_t tStarted) {
    static thread_local std::mt19937_64 s_random{std::random_device{}()};
    std::tm utc{};
    const std::time_t t = static_cast<std::time_t>(tStarted);
    gmtime_r(&t, &utc);
    char sz[48];
    std::snprintf(sz, sizeof sz, "%04d%02d%02d-%02d%02d%02d-%08llx", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<unsigned long long>(s_random() & 0xffffffffu));
    return sz;
}

bool IsJobId(std::string_view name) {
    return !name.empty() && name.size() <= 64 && name.front() != '.' &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-';
           });
}

void PutLe32(char* p, uint32_t n) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((n >> (8 * i)) & 0xffu);
}

uint32_t GetLe32(const char* p) {
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<uint8_t>(p[i])) << (8 * i);
    return n;
}

uint32_t FrameCrc(const char* pLength, std::string_view payload) {
    const uint32_t n = Crc32c({reinterpret_cast<const uint8_t*>(pLength), 4});
    return Crc32c({reinterpret_cast<const uint8_t*>(payload.data()), payload.size()}, n);
}

std::string WithSlash(std::string s) {
    if (!s.empty() && s.back() != '/')
        s += '/';
    return s;
}

std::string WithoutSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

std::string NameOfFolder(const std::string& strDir) {
    const std::string s = WithoutSlash(strDir);
    const size_t nSlash = s.rfind('/');
    return nSlash == std::string::npos ? s : s.substr(nSlash + 1);
}

std::string ParentOf(const std::string& strDir) {
    const std::string s = WithoutSlash(strDir);
    const size_t nSlash = s.rfind('/');
    return nSlash == std::string::npos ? "./" : s.substr(0, nSlash + 1);
}

// Removes a folder of the ledger and the files in it (no deeper: a job folder has none).
void RemoveFolderFiles(const std::string& strDir) {
    const int fd = ::open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        DIR* pDir = ::fdopendir(fd);
        std::vector<std::string> names;
        while (pDir != nullptr) {
            const dirent* pEntry = ::readdir(pDir);
            if (pEntry == nullptr)
                break;
            const std::string_view name(pEntry->d_name);
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        for (const std::string& name : names)
            (void)::unlinkat(fd, name.c_str(), 0); // what stays keeps the folder: harmless
        if (pDir != nullptr)
            ::closedir(pDir);
        else
            ::close(fd);
    }
    (void)::rmdir(WithoutSlash(strDir).c_str());
}

// The Jobs/ folder, made when missing; it must be a folder itself, never a link to one.
bool EnsureJobsFolder(const std::string& strJobsDir, std::string& strError) {
    if (::mkdir(WithoutSlash(strJobsDir).c_str(), 0755) != 0 && errno != EEXIST) {
        strError = "cannot make the job folder " + strJobsDir + ": " + std::strerror(errno);
        return false;
    }
    if (!IsPlainFolder(strJobsDir)) {
        strError = "the job folder " + strJobsDir + " is not a plain folder";
        return false;
    }
    return true;
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
    line("job-id", record.m_strJobId);
    line("state", OutcomeName(record.m_eOutcome));
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
    line("copies-owed", std::to_string(record.m_nCopiesOwed));
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
    const std::string* pId = r.Field("job-id");
    if (pState == nullptr || !ParseOutcome(*pState, out.m_eOutcome) || pId == nullptr ||
        !IsJobId(*pId)) {
        if (strError.empty())
            strError = "the field state or job-id is malformed";
        return false;
    }
    out.m_strJobId = *pId;
    int64_t nPageBytes = 0, nWidth = 0, nFirst = 0, nLabel = 0, nOwed = 0;
    const bool bOk =
        r.Text("task-path", out.m_strTaskPath) && r.Text("task-name", out.m_strTaskName) &&
        r.Text("file", out.m_strFilePath) && r.Hex("file-hash", out.m_nFileHash) &&
        r.Int("file-size", out.m_nFileSize, -1, INT64_MAX) && r.Hex("page-hash", out.m_nPageHash) &&
        r.Int("page-bytes", nPageBytes, 1, static_cast<int64_t>(kMaxPageBytes)) &&
        r.Int("band-count", out.m_nBandCount, 1, INT32_MAX) &&
        r.Int("job-width", nWidth, 1, CBandGeometry::kMaxJobWidth) &&
        r.Int("first-band", nFirst, 0, out.m_nBandCount - 1) &&
        r.Int("confirmed", out.m_nConfirmed, 0, out.m_nBandCount) &&
        r.Int("copies-owed", nOwed, 0, 9999) && r.Int("started", out.m_tStarted, 0, INT64_MAX) &&
        r.Int("label-time", nLabel, 0, INT64_MAX) && ReadParams(r, out.m_params) &&
        r.Text("why", out.m_strWhy);
    if (!bOk)
        return false;
    out.m_nPageBytes = static_cast<uint64_t>(nPageBytes);
    out.m_nJobWidth = static_cast<int32_t>(nWidth);
    out.m_nCopiesOwed = static_cast<int32_t>(nOwed);
    out.m_params.m_nFirstBand = nFirst;
    out.m_params.m_tLabelTime = static_cast<std::time_t>(nLabel);
    record = std::move(out);
    return true;
}

std::string FrameLedgerRecord(std::string_view payload) {
    std::string frame(kFrameHeader, '\0');
    std::copy(std::begin(kFrameMagic), std::end(kFrameMagic), frame.begin());
    PutLe32(frame.data() + 4, static_cast<uint32_t>(payload.size()));
    PutLe32(frame.data() + 8, FrameCrc(frame.data() + 4, payload));
    frame.append(payload);
    return frame;
}

namespace {

// A whole frame that checks at the start of bytes: its size, else 0.
size_t CheckedFrameAt(std::string_view bytes) {
    if (bytes.size() < kFrameHeader ||
        !std::equal(std::begin(kFrameMagic), std::end(kFrameMagic), bytes.data()))
        return 0;
    const uint32_t nLength = GetLe32(bytes.data() + 4);
    if (nLength > kMaxFrameBytes || kFrameHeader + nLength > bytes.size())
        return 0;
    const std::string_view payload = bytes.substr(kFrameHeader, nLength);
    return FrameCrc(bytes.data() + 4, payload) == GetLe32(bytes.data() + 8) ? kFrameHeader + nLength
                                                                            : 0;
}

} // namespace

CLedgerFrames ReadLedgerFrames(std::string_view bytes) {
    CLedgerFrames out;
    size_t nAt = 0;
    while (nAt < bytes.size()) {
        const size_t nFrame = CheckedFrameAt(bytes.substr(nAt));
        if (nFrame == 0)
            break;
        const std::string_view payload = bytes.substr(nAt + kFrameHeader, nFrame - kFrameHeader);
        out.m_payloads.emplace_back(payload);
        nAt += nFrame;
        out.m_nGoodBytes = nAt;
    }
    if (nAt == bytes.size())
        return out;
    // What follows the last good frame is the tail of an append a crash or power cut cut
    // short (partly written, zeroed), unless a frame that checks comes after it: then a
    // record in the middle was damaged.
    const std::string_view rest = bytes.substr(nAt);
    for (size_t k = rest.find(kFrameMagic[0], 1); k != std::string_view::npos;
         k = rest.find(kFrameMagic[0], k + 1)) {
        if (CheckedFrameAt(rest.substr(k)) != 0) {
            out.m_bDamaged = true;
            return out;
        }
    }
    out.m_bTornTail = true;
    return out;
}

bool ReplayLedger(const CLedgerFrames& frames, CJobRecord& record, std::string& strError) {
    if (frames.m_bDamaged) {
        strError = "a record in the middle of the ledger does not check";
        return false;
    }
    if (frames.m_payloads.empty()) {
        strError = "the ledger holds no whole record";
        return false;
    }
    CJobRecord out;
    if (!ParseJobRecord(frames.m_payloads.front(), out, strError))
        return false;
    for (size_t i = 1; i < frames.m_payloads.size(); ++i) {
        // A later frame changes a few fields: it is read as the whole record with them.
        CFields fields = SplitFields("\n" + frames.m_payloads[i]);
        std::string strWhole = FormatJobRecord(out);
        CFields whole = SplitFields(strWhole);
        for (auto& [key, value] : fields) {
            if (key != "confirmed" && key != "first-band" && key != "state" && key != "why") {
                strError = "a ledger record changes the field " + key;
                return false;
            }
            whole[key] = value;
        }
        std::string strText = std::string(kVersionLine) + "\n";
        for (const auto& [key, value] : whole)
            strText += key + " " + value + "\n";
        if (!ParseJobRecord(strText, out, strError))
            return false;
    }
    record = std::move(out);
    return true;
}

std::string JobIdOf(const std::string& strJobDir) {
    return NameOfFolder(strJobDir);
}

uint64_t HashBytes(std::span<const uint8_t> bytes, uint64_t nHash) {
    for (const uint8_t b : bytes) {
        nHash ^= b;
        nHash *= 0x100000001b3ull;
    }
    return nHash;
}

bool HashFile(const std::string& strPath, uint64_t& nHash, int64_t& nSize) {
    const int fd = OpenRegularFile(strPath);
    if (fd < 0)
        return false;
    uint64_t h = 0xcbf29ce484222325ull;
    int64_t n = 0;
    std::vector<uint8_t> buf(1 << 16);
    for (;;) {
        const ssize_t nRead = ::read(fd, buf.data(), buf.size());
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0) {
            ::close(fd);
            nHash = h;
            nSize = n;
            return nRead == 0;
        }
        h = HashBytes({buf.data(), static_cast<size_t>(nRead)}, h);
        n += nRead;
    }
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

CJobJournal::~CJobJournal() {
    CloseFd();
}

CJobJournal::CJobJournal(CJobJournal&& other) noexcept
    : m_strJobsDir(std::move(other.m_strJobsDir)), m_record(std::move(other.m_record)),
      m_pNewPage(other.m_pNewPage), m_nFd(std::exchange(other.m_nFd, -1)),
      m_strError(std::move(other.m_strError)) {}

CJobJournal& CJobJournal::operator=(CJobJournal&& other) noexcept {
    if (this != &other) {
        CloseFd();
        m_strJobsDir = std::move(other.m_strJobsDir);
        m_record = std::move(other.m_record);
        m_pNewPage = other.m_pNewPage;
        m_nFd = std::exchange(other.m_nFd, -1);
        m_strError = std::move(other.m_strError);
    }
    return *this;
}

void CJobJournal::CloseFd() {
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
}

std::string CJobJournal::JobDir() const {
    return m_record.m_strJobId.empty() ? std::string() : m_strJobsDir + m_record.m_strJobId + "/";
}

void CJobJournal::Begin(const CJobRecord& record, const COnePage* pNewPage) {
    CloseFd();
    m_record = record;
    m_record.m_eOutcome = EJobOutcome::kRunning;
    m_record.m_strWhy.clear();
    if (pNewPage != nullptr)
        m_record.m_strJobId.clear();
    m_pNewPage = pNewPage;
    m_strError.clear();
}

CResult CJobJournal::Fail(const std::string& strWhy) {
    m_strError = strWhy;
    CloseFd();
    return CResult::Failure(-1, "the job journal cannot be written: " + strWhy,
                            {{EMsg::kJournalUnwritable, {strWhy}}});
}

CResult CJobJournal::Open() {
    // Without an installation directory there is no ledger at all (an engine of a test or
    // a benchmark): nothing to write, nothing to refuse. Every front end has one.
    if (!Enabled())
        return {};
    std::string strError;
    if (!EnsureJobsFolder(m_strJobsDir, strError))
        return Fail(strError);
    return m_pNewPage != nullptr ? OpenNew() : OpenContinued();
}

// The folder is made under a hidden name, holds its page and first record flushed to the
// disk, and only then takes its job id: a crash never leaves a job folder without both.
CResult CJobJournal::OpenNew() {
    CArchiveWriter ar;
    CTaskArchiveWriter(ar).WritePages({m_pNewPage});
    const std::vector<uint8_t> bytes = ar.TakeBytes();
    m_record.m_nPageHash = HashBytes(bytes);
    m_record.m_nPageBytes = bytes.size();
    if (!m_record.m_strFilePath.empty() &&
        !HashFile(m_record.m_strFilePath, m_record.m_nFileHash, m_record.m_nFileSize))
        m_record.m_nFileSize = -1;
    m_record.m_strJobId = MakeJobId(m_record.m_tStarted);
    const std::string strHidden = m_strJobsDir + ".new-" + m_record.m_strJobId + "/";
    if (::mkdir(WithoutSlash(strHidden).c_str(), 0755) != 0)
        return Fail("cannot make " + strHidden + ": " + std::strerror(errno));
    std::string strError;
    const std::string strFirst = FrameLedgerRecord(FormatJobRecord(m_record));
    const bool bPage = WriteFileAtomically(strHidden + kPageName, bytes, true, &strError);
    m_nFd = bPage ? ::open((strHidden + kRecordName).c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644)
                  : -1;
    if (bPage && m_nFd < 0)
        strError = std::string("cannot create the record: ") + std::strerror(errno);
    // Room for a record of every band, so that a disk filling up meanwhile cannot stop it.
    if (m_nFd >= 0 &&
        ::fallocate(m_nFd, FALLOC_FL_KEEP_SIZE, 0,
                    static_cast<off_t>(strFirst.size() * 2 + (m_record.m_nBandCount + 8) * 40)) !=
            0 &&
        errno == ENOSPC)
        strError = "the disk is full";
    const bool bOk = m_nFd >= 0 && strError.empty() && Append(FormatJobRecord(m_record)) &&
                     PlaceWithoutReplacing(WithoutSlash(strHidden), WithoutSlash(JobDir())) ==
                         EPlaced::kPlaced &&
                     SyncFolder(m_strJobsDir);
    if (!bOk) {
        const std::string strWhy = !strError.empty()     ? strError
                                   : !m_strError.empty() ? m_strError
                                                         : std::string(std::strerror(errno));
        RemoveFolderFiles(strHidden);
        m_record.m_strJobId.clear();
        return Fail(strWhy);
    }
    m_pNewPage = nullptr;
    return {};
}

// A continued job appends to its record, after the last frame that checks (a torn tail of
// the crash that interrupted it is cut off first).
CResult CJobJournal::OpenContinued() {
    const std::string strPath = JobDir() + kRecordName;
    m_nFd = ::open(strPath.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (m_nFd < 0 || ::fstat(m_nFd, &st) != 0 || !S_ISREG(st.st_mode))
        return Fail("cannot open " + strPath);
    std::string strBytes;
    if (!ReadWholeFile(strPath, kMaxLedgerBytes, strBytes))
        return Fail("cannot read " + strPath);
    const CLedgerFrames frames = ReadLedgerFrames(strBytes);
    if (frames.m_nGoodBytes < strBytes.size() &&
        ::ftruncate(m_nFd, static_cast<off_t>(frames.m_nGoodBytes)) != 0)
        return Fail("cannot cut the torn end of " + strPath + ": " + std::strerror(errno));
    if (!Append("state running\nfirst-band " + std::to_string(m_record.m_params.m_nFirstBand) +
                "\nconfirmed " + std::to_string(m_record.m_nConfirmed) + "\nwhy \n"))
        return Fail(m_strError);
    return {};
}

// A frame that could not be written whole is cut off again, so that the ledger ends on a
// frame that checks and later appends stay readable.
bool CJobJournal::Append(const std::string& strPayload) {
    if (!Enabled())
        return true;
    if (m_nFd < 0) {
        if (m_strError.empty())
            m_strError = "the job journal is not open";
        return false;
    }
    struct stat st {};
    const std::string frame = FrameLedgerRecord(strPayload);
    const bool bSized = ::fstat(m_nFd, &st) == 0;
    if (bSized &&
        WriteAllBytes(m_nFd, reinterpret_cast<const uint8_t*>(frame.data()), frame.size()) &&
        ::fdatasync(m_nFd) == 0)
        return true;
    m_strError = std::string("cannot write the job's record: ") + std::strerror(errno);
    if (bSized)
        (void)::ftruncate(m_nFd, st.st_size); // the error above is what counts
    return false;
}

bool CJobJournal::Confirmed(int64_t nConfirmed) {
    m_record.m_nConfirmed = nConfirmed;
    return Append("confirmed " + std::to_string(nConfirmed) + "\n");
}

bool CJobJournal::Printed() {
    m_record.m_eOutcome = EJobOutcome::kPrinted;
    const bool bOk = Append("state printed\n");
    CloseFd();
    return bOk;
}

bool CJobJournal::Interrupted(const std::string& strWhy) {
    m_record.m_eOutcome = EJobOutcome::kInterrupted;
    m_record.m_strWhy = strWhy;
    const bool bOk = Append("state interrupted\nwhy " + EscapeLine(strWhy) + "\n");
    CloseFd();
    return bOk;
}

void CJobJournal::Abandon() {
    CloseFd();
    if (!m_record.m_strJobId.empty())
        (void)Remove(JobDir());
}

std::vector<std::string> CJobJournal::ListJobs(const std::string& strJobsDir) {
    std::vector<std::string> jobs;
    if (strJobsDir.empty() || !IsPlainFolder(strJobsDir))
        return jobs;
    const int fd =
        ::open(strJobsDir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    DIR* pDir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (pDir == nullptr) {
        if (fd >= 0)
            ::close(fd);
        return jobs;
    }
    std::vector<std::string> leftovers;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string name(pEntry->d_name);
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
            continue;
        if (name.starts_with(".new-") || name.starts_with(".done-"))
            leftovers.push_back(name);
        else if (IsJobId(name))
            jobs.push_back(WithSlash(strJobsDir) + name + "/");
    }
    ::closedir(pDir);
    // A start that never took its name, or a removal cut short: no job any more.
    for (const std::string& name : leftovers)
        RemoveFolderFiles(WithSlash(strJobsDir) + name + "/");
    std::sort(jobs.begin(), jobs.end());
    return jobs;
}

CJobLoad CJobJournal::LoadRecord(const std::string& strJobDir) {
    CJobLoad load;
    const std::string strPath = strJobDir + kRecordName;
    std::string strBytes;
    if (!IsPlainFolder(strJobDir)) {
        load.m_nCode = -1;
        load.m_strDiag = "no job in " + strJobDir;
        return load;
    }
    std::string strError;
    if (!ReadWholeFile(strPath, kMaxLedgerBytes, strBytes)) {
        strError = "it cannot be read as a file";
    } else if (ReplayLedger(ReadLedgerFrames(strBytes), load.m_record, strError) &&
               load.m_record.m_strJobId != NameOfFolder(strJobDir)) {
        strError = "it belongs to another job";
    }
    if (!strError.empty()) {
        load.m_nCode = -2;
        load.m_strDiag = "the job record " + strPath + " is damaged: " + strError;
    }
    return load;
}

CJobLoad CJobJournal::Load(const std::string& strJobDir) {
    CJobLoad load = LoadRecord(strJobDir);
    if (!load.Ok())
        return load;
    std::string strPage;
    const CJobRecord& r = load.m_record;
    if (!ReadWholeFile(strJobDir + kPageName, kMaxPageBytes, strPage) ||
        strPage.size() != r.m_nPageBytes ||
        HashBytes({reinterpret_cast<const uint8_t*>(strPage.data()), strPage.size()}) !=
            r.m_nPageHash) {
        load.m_nCode = -2;
        load.m_strDiag = "the job's page " + strJobDir + kPageName + " is missing or damaged";
        return load;
    }
    CArchiveReader ar(reinterpret_cast<const uint8_t*>(strPage.data()), strPage.size());
    std::vector<COnePage> pages;
    if (!CTaskArchiveReader(ar).ReadPages(pages) || pages.size() != 1) {
        load.m_nCode = -2;
        load.m_strDiag = "the job's page " + strJobDir + kPageName + " cannot be read";
        return load;
    }
    load.m_page = std::move(pages.front());
    load.m_page.m_strName = r.m_strTaskName;
    return load;
}

bool CJobJournal::Remove(const std::string& strJobDir) {
    const std::string strName = NameOfFolder(strJobDir);
    if (!IsJobId(strName) || !IsPlainFolder(strJobDir))
        return false;
    const std::string strParent = ParentOf(strJobDir);
    const std::string strHidden = strParent + ".done-" + strName;
    if (::rename(WithoutSlash(strJobDir).c_str(), strHidden.c_str()) != 0 || !SyncFolder(strParent))
        return false;
    RemoveFolderFiles(strHidden + "/");
    return true;
}

} // namespace inkvale
