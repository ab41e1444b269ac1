// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceStatus.h"

#include "ServiceJson.h"

#include "queue/InterruptedJob.h"

#include "machine/link/MachineProtocol.h"
#include "queue/Preflight.h"
#include "support/AtomicFile.h"
#include "support/MessageSource.h"
#include "support/TextCodec.h"

#include <QCoreApplication>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace inkvale::service {

namespace {

std::string Number(double d) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%.3f", d);
    return sz;
}

std::string TaskJson(const COnePage& t, char cList, uint64_t nPrinting) {
    const CPreflight& p = t.m_preflight;
    std::string s =
        "{\"id\": " + std::to_string(t.m_nTaskId) + ", \"list\": \"" + cList +
        "\", \"name\": " + JsonText(t.m_strName) +
        ", \"state\": " + std::to_string(t.m_nPrintState) +
        ", \"copies\": " + std::to_string(t.m_nCopies) +
        ", \"queued\": " + (t.m_bQueued != 0 ? "true" : "false") +
        ", \"length_mm\": " + Number((t.m_nMaxX - t.m_nMinX) / 40.0) +
        ", \"width_mm\": " + Number((t.m_nMaxY - t.m_nMinY) / 40.0) +
        ", \"time_s\": " + Number(p.m_figures.m_dSeconds) + ", \"problem\": " +
        (t.m_problem.m_eId == EMsg::kNone ? "null" : JsonText(OperatorText(t.m_problem))) +
        ", \"printing\": " + (t.m_nTaskId == nPrinting ? "true" : "false") + ", \"warnings\": [";
    for (size_t i = 0; i < p.m_arrWarnings.size(); ++i)
        s += (i == 0 ? "" : ", ") + JsonText(OperatorText(p.m_arrWarnings[i].m_message));
    return s + "]}";
}

} // namespace

std::string EnglishText(const CMessage& message) {
    return FillArguments(MessageSource(message.m_eId).m_pszEnglish, message);
}

std::string OperatorText(const CMessage& message) {
    const char* pszSource = MessageSource(message.m_eId).m_pszChinese;
    return FillArguments(QCoreApplication::translate("Messages", pszSource).toStdString(), message);
}

std::string MachineStateText(int nState) {
    return QCoreApplication::translate("ServicePage", MachineStateName(nState)).toStdString();
}

const char* MachineStateName(int nState) {
    switch (nState) {
    case kStateInit:
        return QT_TRANSLATE_NOOP("ServicePage", "正在启动");
    case kStateReady:
        return QT_TRANSLATE_NOOP("ServicePage", "就绪");
    case kStateCleaning:
        return QT_TRANSLATE_NOOP("ServicePage", "清洗中");
    case kStateProcessing:
        return QT_TRANSLATE_NOOP("ServicePage", "处理中");
    case kStatePrinting:
        return QT_TRANSLATE_NOOP("ServicePage", "打印中");
    case kStateFinishing:
        return QT_TRANSLATE_NOOP("ServicePage", "收尾中");
    case kStatePaused:
        return QT_TRANSLATE_NOOP("ServicePage", "已暂停");
    case kStateMemoryError:
        return QT_TRANSLATE_NOOP("ServicePage", "内存错误");
    case kStateResetTimeout:
        return QT_TRANSLATE_NOOP("ServicePage", "复位超时");
    case kStateCarriageTimeout:
        return QT_TRANSLATE_NOOP("ServicePage", "小车超时");
    default:
        return QT_TRANSLATE_NOOP("ServicePage", "无应答");
    }
}

std::string StatusJson(CInkvaleCore& core, double dJobSeconds) {
    CPrintEngine& engine = core.Engine();
    const CEngineState& state = engine.State();
    const int nState = engine.MachineState();
    std::string s = "{\"machine\": {\"state\": " + std::to_string(nState) +
                    ", \"text\": " + JsonText(MachineStateText(nState)) +
                    ", \"online\": " + (state.m_nMachineOnline != 0 ? "true" : "false") +
                    "}, \"job\": ";
    if (engine.JobRunning()) {
        const int32_t nDone = state.m_nBandsDone, nBands = state.m_nBandCount;
        const double dLeft = nDone > 0 ? dJobSeconds / nDone * (nBands - nDone) : -1.0;
        s += "{\"task\": " + JsonText(engine.WorkPage().m_strName) +
             ", \"bands_done\": " + std::to_string(nDone) +
             ", \"bands\": " + std::to_string(nBands) +
             ", \"percent\": " + Number(nBands > 0 ? 100.0 * nDone / nBands : 0.0) +
             ", \"seconds\": " + Number(dJobSeconds) + ", \"seconds_left\": " + Number(dLeft) + "}";
    } else {
        s += "null";
    }
    // The engine prints a prepared copy of its task; the queue marks the task itself.
    uint64_t nPrinting = 0;
    for (const CTaskList* pList :
         {&core.Doc().m_arrOpened, &core.Doc().m_arrManDir, &core.Doc().m_arrAutoDir}) {
        for (const auto& pTask : *pList) {
            if (engine.JobRunning() && pTask->m_nPrintState != 0 && nPrinting == 0)
                nPrinting = pTask->m_nTaskId;
        }
    }
    s += ", \"printing_id\": " + (nPrinting != 0 ? std::to_string(nPrinting) : "null");
    s += ", \"queue\": [";
    const CTaskLists& doc = core.Doc();
    bool bFirst = true;
    const std::pair<const CTaskList*, char> lists[] = {
        {&doc.m_arrOpened, 'o'}, {&doc.m_arrManDir, 'm'}, {&doc.m_arrAutoDir, 'a'}};
    for (const auto& [pList, cList] : lists) {
        for (const auto& pTask : *pList) {
            s += (bFirst ? "" : ", ") + TaskJson(*pTask, cList, nPrinting);
            bFirst = false;
        }
    }
    const CQueueTotals totals = QueueTotals(doc);
    s += "], \"totals\": {\"tasks\": " + std::to_string(totals.m_nTasks) +
         ", \"paper_m\": " + Number(totals.m_dPaperM) +
         ", \"time_s\": " + Number(totals.m_dSeconds) + ", \"ink_ml\": " + Number(totals.m_dInkMl) +
         "}, \"auto\": " + (core.Settings().AutoStartEnable != 0 ? "true" : "false") +
         ", \"unfinished_jobs\": " + UnfinishedJobsJson(core) +
         ", \"machine_holds_job\": " + (engine.MachineHoldsDeadJob() ? "true" : "false") + "}";
    return s;
}

namespace {

// A CSV field as written: "a ""b"", c" -> a "b", c.
std::string Unquoted(const std::string& strField) {
    if (strField.size() < 2 || strField.front() != '"' || strField.back() != '"')
        return strField;
    std::string s;
    for (size_t i = 1; i + 1 < strField.size(); ++i) {
        s += strField[i];
        if (strField[i] == '"' && strField[i + 1] == '"')
            ++i;
    }
    return s;
}

constexpr std::streamoff kHistoryTailBytes = 256 * 1024;

} // namespace

std::string UnfinishedJobsJson(CInkvaleCore& core) {
    std::string s = "[";
    for (const CInterruptedJob& job : InterruptedJobsOf(core.Engine().UnfinishedJobs())) {
        const CJobRecord& r = job.m_record;
        s += (s.size() > 1 ? ", " : "");
        s += "{\"id\": " + JsonText(JobIdOf(job.m_strJobDir)) +
             ", \"task\": " + JsonText(r.m_strTaskName) +
             ", \"resume_band\": " + std::to_string(job.m_nResumeBand) +
             ", \"bands\": " + std::to_string(r.m_nBandCount) +
             ", \"copies_owed\": " + std::to_string(r.m_nCopiesOwed) +
             ", \"why\": " + JsonText(r.m_strWhy) + ", \"damaged\": " +
             (job.m_strDamage.empty() ? std::string("null") : JsonText(job.m_strDamage)) + "}";
    }
    return s + "]";
}

std::string HistoryJson(const std::string& strHistoryFile, size_t nRows) {
    std::ifstream in(strHistoryFile, std::ios::binary);
    // Only the end of a long history is read: the rows wanted are there.
    in.seekg(0, std::ios::end);
    const std::streamoff nSize = in.tellg();
    const bool bTail = nSize > kHistoryTailBytes;
    in.seekg(bTail ? nSize - kHistoryTailBytes : 0);
    std::deque<std::string> rows;
    std::string strLine;
    if (bTail)
        std::getline(in, strLine); // the rest of a row cut in two
    while (std::getline(in, strLine)) {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        rows.push_back(strLine);
        if (rows.size() > nRows)
            rows.pop_front();
    }
    std::string s = "[";
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        // "time,path,1,len=..mm,width=..mm"; a quoted path may hold commas, so the time is
        // the first field and the sizes the last two.
        const std::string& row = *it;
        const size_t nFirst = row.find(',');
        const size_t nLen = row.rfind(",len=");
        std::string strPath =
            nFirst != std::string::npos && nLen != std::string::npos && nLen > nFirst
                ? row.substr(nFirst + 1, nLen - nFirst - 1)
                : row;
        if (strPath.size() >= 2 && strPath.ends_with(",1"))
            strPath.resize(strPath.size() - 2);
        s += (it == rows.rbegin() ? "" : ", ");
        s += "{\"time\": " + JsonText(nFirst == std::string::npos ? "" : row.substr(0, nFirst)) +
             ", \"path\": " + JsonText(Unquoted(strPath)) + ", \"row\": " + JsonText(row) + "}";
    }
    return s + "]";
}

std::string CHistoryReader::Json() {
    if (m_strFile.empty())
        return "[]";
    struct stat st {};
    const bool bStat = ::stat(m_strFile.c_str(), &st) == 0;
    const int64_t nSize = bStat ? st.st_size : -1;
    const int64_t nMtimeNs = bStat ? st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec : -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (nSize != m_nSize || nMtimeNs != m_nMtimeNs) {
        m_strJson = HistoryJson(m_strFile, 50);
        m_nSize = nSize;
        m_nMtimeNs = nMtimeNs;
    }
    return m_strJson;
}

std::string RejectedJson(const std::string& strAutoDir, size_t nMax) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = fs::path(strAutoDir).parent_path().parent_path() / "Rejected";
    std::vector<std::pair<fs::file_time_type, fs::path>> files;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (entry.is_regular_file(ec) && entry.path().extension() != ".txt")
            files.emplace_back(entry.last_write_time(ec), entry.path());
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::string s = "[";
    for (size_t i = 0; i < files.size() && i < nMax; ++i) {
        std::string strWhy;
        (void)ReadWholeFile(files[i].second.string() + ".why.txt", 16384, strWhy);
        s += (i == 0 ? "" : ", ");
        s += "{\"name\": " + JsonText(files[i].second.filename().string()) +
             ", \"why\": " + JsonText(strWhy) + "}";
    }
    return s + "]";
}

} // namespace inkvale::service
