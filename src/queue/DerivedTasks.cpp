// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/DerivedTasks.h"

#include "queue/TaskListEdits.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace inkvale {

namespace {

// A split length this close to the drawing's length would leave a piece of under 1 mm.
constexpr int32_t kSplitMargin = 40;

/// A new piece: the source file's identity, the piece's drawing still to come.
std::unique_ptr<COnePage> NewPiece(const COnePage& task) {
    auto piece = std::make_unique<COnePage>();
    piece->m_strPath = task.m_strPath;
    piece->m_strName = task.m_strName;
    piece->m_tTime = task.m_tTime;
    piece->m_nFileSize = task.m_nFileSize;
    piece->m_nCopies = task.m_nCopies;
    piece->m_bQueued = task.m_bQueued;
    return piece;
}

} // namespace

std::string PieceSuffix(int k, int n) {
    return "(" + std::to_string(k) + "/" + std::to_string(n) + ")";
}

std::string TaskNameOf(const std::string& strPath) {
    const std::string strSource = SourcePathOf(strPath);
    return FileNameOf(strSource) + strPath.substr(strSource.size());
}

CResult SplitTaskAlongFeed(CTaskLists& doc, uint64_t nTaskId, int32_t nLength) {
    const CTaskPos pos = FindTask(doc, nTaskId);
    if (!pos.Valid())
        return CResult::Failure(kSplitNoTask, "no such task");
    COnePage& task = *(*pos.m_pList)[pos.m_nIndex];
    if (static_cast<int64_t>(nLength) > static_cast<int64_t>(task.m_nMaxX) - kSplitMargin)
        return CResult::Failure(
            kSplitNotShorter, "split length not shorter than the drawing",
            {{EMsg::kSplitNotShorter,
              {std::to_string(nLength / 40), std::to_string(task.m_nMaxX / 40)}}});
    if (nLength < kMinSplitLength)
        return CResult::Failure(kSplitTooShort, "split length under 100 mm",
                                {{EMsg::kSplitTooShort, {}}});
    std::vector<std::unique_ptr<COnePage>> pieces;
    const int32_t nCuts = task.m_nMaxX / nLength;
    for (int32_t i = 0; i < nCuts; ++i) {
        // The part below X = nLength stays in the piece; the rest returns to the task.
        auto piece = NewPiece(task);
        piece->CopyTask(task);
        task.ClearCurves();
        piece->SplitAtLength(task, nLength);
        pieces.push_back(std::move(piece));
    }
    // A stretch without curves makes no piece: there would be nothing to print.
    std::erase_if(pieces, [](const auto& piece) { return piece->m_arrCurves.empty(); });
    CTaskList& list = *pos.m_pList;
    const bool bRemainder = !task.m_arrCurves.empty();
    const int n = static_cast<int>(pieces.size()) + (bRemainder ? 1 : 0);
    const std::string strPath = task.m_strPath;
    const std::string strName = task.m_strName;
    std::vector<COnePage*> named;
    for (const auto& piece : pieces)
        named.push_back(piece.get());
    if (bRemainder)
        named.push_back(&task);
    for (int k = 1; k <= n; ++k) {
        COnePage* pPiece = named[static_cast<size_t>(k - 1)];
        pPiece->m_strPath = strPath + PieceSuffix(k, n);
        pPiece->m_strName = strName + PieceSuffix(k, n);
    }
    const auto at = list.begin() + static_cast<std::ptrdiff_t>(pos.m_nIndex);
    if (!bRemainder)
        list.erase(at);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos.m_nIndex),
                std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
    return {};
}

COnePage* InsertMirroredCopy(CTaskLists& doc, uint64_t nTaskId, const std::string& strSuffix) {
    const CTaskPos pos = FindTask(doc, nTaskId);
    if (!pos.Valid())
        return nullptr;
    const COnePage& task = *(*pos.m_pList)[pos.m_nIndex];
    auto copy = NewPiece(task);
    copy->CopyTask(task);
    copy->MirrorPage();
    copy->CalcExtents();
    copy->m_strPath += strSuffix;
    copy->m_strName += strSuffix;
    copy->m_nSource = kSourceManDir;
    COnePage* pCopy = copy.get();
    CTaskList& list = doc.m_arrManDir;
    list.push_back(std::move(copy));
    std::rotate(list.begin(), list.end() - 1, list.end());
    return pCopy;
}

} // namespace inkvale
