// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/QueueAutosave.h"

#include "model/TaskArchive.h"
#include "model/TaskPaths.h"
#include "queue/DerivedTasks.h"
#include "support/Archive.h"
#include "support/AtomicFile.h"
#include "support/TextCodec.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <functional>
#include <limits>
#include <sstream>

namespace inkvale {

namespace {

constexpr const char* kVersionLine = "inkvale-queue 1";
constexpr size_t kMaxSavedBytes = size_t{1} << 31;
constexpr char kLists[] = {'o', 'm', 'a'};

// Whether the task's drawing can be read again from its file.
bool DrawingHasAFile(const COnePage& task) {
    if (IsDerivedPath(task.m_strPath))
        return false;
    struct stat st {};
    return ::stat(task.m_strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The page as saved: a task with a file of its own without its curves.
const COnePage* SavedPage(const COnePage& task, std::vector<COnePage>& stubs) {
    if (task.m_arrCurves.empty() || !DrawingHasAFile(task))
        return &task;
    COnePage& stub = stubs.emplace_back();
    stub.m_strPath = task.m_strPath;
    stub.m_nPrintState = task.m_nPrintState;
    stub.m_nStartMm = task.m_nStartMm;
    stub.m_tTime = task.m_tTime;
    return &stub;
}

bool ParseInt(const std::string& s, int64_t& n) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), n);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

struct CSideEntry {
    char m_cList = 'o';
    int64_t m_nCopies = 1, m_nQueued = 0, m_nSource = 0, m_nSize = 0;
    std::string m_strName;
};

// The fields of a task line. Only spaces part them, which the writer escapes in names: a
// tab or a form feed is a character of a file name like any other.
std::vector<std::string> SplitAtSpaces(const std::string& strLine) {
    std::vector<std::string> fields;
    size_t nFrom = 0;
    for (size_t nSpace = strLine.find(' '); nSpace != std::string::npos;
         nSpace = strLine.find(' ', nFrom)) {
        fields.push_back(strLine.substr(nFrom, nSpace - nFrom));
        nFrom = nSpace + 1;
    }
    fields.push_back(strLine.substr(nFrom));
    return fields;
}

bool ParseEntry(const std::string& strLine, CSideEntry& e) {
    const std::vector<std::string> fields = SplitAtSpaces(strLine);
    if (fields.size() < 2 || fields[0] != "task" || fields[1].size() != 1)
        return false;
    e.m_cList = fields[1][0];
    for (size_t i = 2; i < fields.size(); ++i) {
        const std::string& strField = fields[i];
        const size_t nEq = strField.find('=');
        if (nEq == std::string::npos)
            return false;
        const std::string key = strField.substr(0, nEq), value = strField.substr(nEq + 1);
        if (key == "name") {
            e.m_strName = UnescapeLine(value);
            continue;
        }
        int64_t n = 0;
        if (!ParseInt(value, n))
            return false;
        if (key == "copies" && n >= 0 && n <= std::numeric_limits<int32_t>::max())
            e.m_nCopies = n;
        else if (key == "queued" && (n == 0 || n == 1))
            e.m_nQueued = n;
        else if (key == "source" && n >= 0 && n <= 2)
            e.m_nSource = n;
        else if (key == "size" && n >= 0)
            e.m_nSize = n;
        else
            return false;
    }
    return true;
}

// What a save would change with, a few numbers a task: comparing them each tick costs far
// less than making the saved bytes.
std::vector<int64_t> Signature(const CTaskLists& doc) {
    std::vector<int64_t> sig;
    for (const CTaskList* pList : {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir}) {
        sig.push_back(-1);
        for (const auto& p : *pList)
            sig.insert(sig.end(), {static_cast<int64_t>(p->m_nTaskId), p->m_nCopies, p->m_bQueued,
                                   p->m_nPrintState, p->m_nStartMm, p->m_nSource,
                                   static_cast<int64_t>(p->m_arrCurves.size()), p->m_nMaxX,
                                   p->m_nMaxY, p->m_nMinX, p->m_nMinY, p->m_nFileSize, p->m_tTime,
                                   static_cast<int64_t>(std::hash<std::string>{}(p->m_strPath))});
    }
    return sig;
}

CResult Damaged(const std::string& strWhy) {
    return CResult::Failure(-2, strWhy);
}

} // namespace

std::vector<uint8_t> FormatSavedQueue(const CTaskLists& doc) {
    std::string side = std::string(kVersionLine) + "\n";
    std::vector<COnePage> stubs;
    stubs.reserve(doc.m_arrOpened.size() + doc.m_arrManDir.size() + doc.m_arrAutoDir.size());
    CArchiveWriter ar;
    CTaskArchiveWriter writer(ar);
    const CTaskList* lists[] = {&doc.m_arrOpened, &doc.m_arrManDir, &doc.m_arrAutoDir};
    for (int l = 0; l < 3; ++l) {
        std::vector<const COnePage*> pages;
        for (const auto& pTask : *lists[l]) {
            const COnePage& t = *pTask;
            side += "task ";
            side += kLists[l];
            side += " copies=" + std::to_string(t.m_nCopies) +
                    " queued=" + std::to_string(t.m_bQueued != 0 ? 1 : 0) +
                    " source=" + std::to_string(t.m_nSource) +
                    " size=" + std::to_string(t.m_nFileSize) +
                    " name=" + EscapeLine(t.m_strName, true) + "\n";
            pages.push_back(SavedPage(t, stubs));
        }
        writer.WritePages(pages);
    }
    const std::vector<uint8_t>& taskFile = ar.Bytes();
    side += "end " + std::to_string(taskFile.size()) + "\n";
    std::vector<uint8_t> bytes(side.begin(), side.end());
    bytes.insert(bytes.end(), taskFile.begin(), taskFile.end());
    return bytes;
}

CResult ParseSavedQueue(const std::vector<uint8_t>& bytes, CTaskLists& doc) {
    const std::string strHead(
        bytes.begin(),
        bytes.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(bytes.size(), 1 << 24)));
    std::istringstream in(strHead);
    std::string strLine;
    if (!std::getline(in, strLine) || strLine != kVersionLine)
        return Damaged("not a saved queue of this version");
    std::vector<CSideEntry> entries;
    int64_t nTaskBytes = -1;
    while (std::getline(in, strLine)) {
        if (strLine.rfind("end ", 0) == 0) {
            if (!ParseInt(strLine.substr(4), nTaskBytes))
                return Damaged("a malformed end line");
            break;
        }
        CSideEntry e;
        if (!ParseEntry(strLine, e))
            return Damaged("a malformed task line");
        entries.push_back(e);
    }
    const std::streamoff nAt = in.tellg();
    if (nTaskBytes < 0 || nAt < 0 ||
        static_cast<uint64_t>(nAt) + static_cast<uint64_t>(nTaskBytes) != bytes.size())
        return Damaged("the saved queue is cut short");
    CTaskLists loaded;
    if (!loaded.Deserialize(bytes.data() + nAt, static_cast<size_t>(nTaskBytes)).Ok())
        return Damaged("the task lists cannot be read");
    CTaskList* lists[] = {&loaded.m_arrOpened, &loaded.m_arrManDir, &loaded.m_arrAutoDir};
    size_t i = 0;
    for (int l = 0; l < 3; ++l) {
        for (auto& pTask : *lists[l]) {
            if (i >= entries.size() || entries[i].m_cList != kLists[l])
                return Damaged("the task lines do not match the task lists");
            const CSideEntry& e = entries[i++];
            pTask->m_nCopies = static_cast<int32_t>(e.m_nCopies);
            pTask->m_bQueued = static_cast<int32_t>(e.m_nQueued);
            pTask->m_nSource = static_cast<int32_t>(e.m_nSource);
            pTask->m_nFileSize = e.m_nSize;
            pTask->m_strName = e.m_strName.empty() ? TaskNameOf(pTask->m_strPath) : e.m_strName;
            // Nothing prints now: a job cut short is the job journal's to continue.
            if (pTask->m_nPrintState == PS_PRINTING)
                pTask->m_nPrintState = PS_WAITING;
        }
    }
    if (i != entries.size())
        return Damaged("the task lines do not match the task lists");
    doc.m_arrOpened = std::move(loaded.m_arrOpened);
    doc.m_arrManDir = std::move(loaded.m_arrManDir);
    doc.m_arrAutoDir = std::move(loaded.m_arrAutoDir);
    return {};
}

CQueueAutosave::CQueueAutosave(std::string strDir)
    : m_strDir(std::move(strDir)), m_strPath(m_strDir + kFileName),
      m_writer([this] { WriterLoop(); }) {}

CQueueAutosave::~CQueueAutosave() {
    Flush();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_cv.notify_all();
    m_writer.join();
}

CResult CQueueAutosave::Restore(CTaskLists& doc) {
    std::string strBytes;
    struct stat st {};
    if (::stat(m_strPath.c_str(), &st) != 0)
        return CResult::Failure(1, "no saved queue");
    CResult result =
        ReadWholeFile(m_strPath, kMaxSavedBytes, strBytes)
            ? ParseSavedQueue(std::vector<uint8_t>(strBytes.begin(), strBytes.end()), doc)
            : Damaged("the saved queue cannot be read");
    if (result.Ok()) {
        m_lastHanded = FormatSavedQueue(doc);
        m_lastSignature = Signature(doc);
        return result;
    }
    // Kept for a look, never deleted; the program starts with empty lists.
    const std::string strAside = m_strPath + ".damaged-" + std::to_string(std::time(nullptr));
    (void)std::rename(m_strPath.c_str(), strAside.c_str());
    result.m_arrMessages.push_back({EMsg::kQueueDamaged, {strAside}});
    return result;
}

void CQueueAutosave::SaveIfChanged(const CTaskLists& doc) {
    std::vector<int64_t> signature = Signature(doc);
    if (!m_bChanged && signature == m_lastSignature)
        return;
    m_bChanged = false;
    m_lastSignature = std::move(signature);
    std::vector<uint8_t> bytes = FormatSavedQueue(doc);
    if (bytes == m_lastHanded)
        return;
    m_lastHanded = bytes;
    ++m_nHanded;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending = std::move(bytes);
        m_nPendingNumber = m_nHanded;
        m_bPending = true;
    }
    m_cv.notify_all();
}

void CQueueAutosave::Flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.notify_all();
    // A save that keeps failing is waited for once, not for ever.
    const uint64_t nAttempts = m_nAttempts;
    m_cv.wait(lock, [this, nAttempts] {
        return (!m_bPending && !m_bWriting) ||
               (!m_bWriting && m_nAttempts > nAttempts && !m_strLastError.empty());
    });
}

bool CQueueAutosave::WaitFor(const std::function<bool(const std::string&, uint64_t)>& done,
                             std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, bound, [&] { return done(m_strLastError, m_nWritten); });
}

int CQueueAutosave::Writes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nWrites;
}

std::string CQueueAutosave::LastError() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strLastError;
}

uint64_t CQueueAutosave::Written() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nWritten;
}

void CQueueAutosave::WriterLoop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_cv.wait(lock, [this] { return m_bPending || m_bStop; });
        if (!m_bPending)
            return;
        // At most one write a second: later changes of a burst replace the pending bytes.
        const auto tNext = m_tLastWrite + kMinInterval;
        if (!m_bStop && std::chrono::steady_clock::now() < tNext) {
            m_cv.wait_until(lock, tNext, [this] { return m_bStop; });
        }
        std::vector<uint8_t> bytes = std::move(m_pending);
        const uint64_t nNumber = m_nPendingNumber;
        m_bPending = false;
        m_bWriting = true;
        lock.unlock();
        std::string strError;
        const bool bFolder = ::mkdir(m_strDir.c_str(), 0755) == 0 || errno == EEXIST;
        if (!bFolder)
            strError = "cannot make " + m_strDir + ": " + std::strerror(errno);
        const bool bWritten = bFolder && WriteFileAtomically(m_strPath, bytes, true, &strError);
        lock.lock();
        m_bWriting = false;
        ++m_nAttempts;
        m_nWrites += bWritten ? 1 : 0;
        m_strLastError = bWritten ? std::string() : strError;
        if (bWritten)
            m_nWritten = nNumber;
        else if (!m_bPending && !m_bStop) {
            // Tried again after the interval, unless newer lists came meanwhile.
            m_pending = std::move(bytes);
            m_nPendingNumber = nNumber;
            m_bPending = true;
        }
        m_tLastWrite = std::chrono::steady_clock::now();
        m_cv.notify_all();
    }
}

} // namespace inkvale
