// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli tasks FILE.sptask: one line per task of a task file,
// "LIST STATE COPIES CURVES VERTICES PATH".

#include "CliCommand.h"
#include "CliText.h"

#include "model/TaskLists.h"

#include <cstdio>

namespace inkvale::cli {

namespace {

void PrintList(const char* name, const CTaskList& list) {
    for (const auto& page : list) {
        std::printf("%s %d %d %zu %zu %s\n", name, page->m_nPrintState, page->m_nCopies,
                    page->m_arrCurves.size(), page->VertexCount(), page->m_strPath.c_str());
    }
}

} // namespace

int RunTasks(const CCliContext& ctx) {
    if (ctx.m_args.size() != 1)
        return CommandUsageError("tasks");
    CTaskLists doc;
    const CDocResult result = doc.OpenTaskFile(ctx.m_args[0]);
    if (!result.Ok()) {
        // A task file is read before any settings: the program's own texts.
        PrintMessages(result, 0);
        return kExitFailed;
    }
    PrintList("opened", doc.m_arrOpened);
    PrintList("manual", doc.m_arrManDir);
    PrintList("auto", doc.m_arrAutoDir);
    return kExitOk;
}

} // namespace inkvale::cli
