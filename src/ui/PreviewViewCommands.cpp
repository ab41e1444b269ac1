// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's commands: context menu, fits, zoom and pan keys, splitting and mirroring.

#include "config/Settings.h"
#include "model/OnePage.h"
#include "ui/PreviewView.h"
#include "ui/OperatorText.h"
#include "ui/PreviewHost.h"
#include "ui/PreviewPrompts.h"

#include <QMenu>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace inkvale {

namespace {

// A prompted length in millimetres as plotter units, truncated toward zero and kept inside
// the int32 range (a huge entry must not wrap around into a small length).
int32_t LengthUnits(double dMm) {
    const double v = std::trunc(dMm * 40.0);
    if (std::isnan(v))
        return 0;
    return static_cast<int32_t>(
        std::clamp(v, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

} // namespace

bool CPreviewView::RunCommand(int nCommand) {
    switch (nCommand) {
    case kCmdDeleteLines:
        DeleteLines();
        break;
    case kCmdSelectAll:
        SelectAll();
        break;
    case kCmdSplitFeed:
        SplitAlongFeed();
        break;
    case kCmdSplitWidth:
        SplitAcrossWidth();
        break;
    case kCmdMoveToOrigin:
        MoveDrawingToOrigin();
        break;
    case kCmdMirrorCopy:
        MirrorCopy();
        break;
    case kCmdFit:
    case kCmdFitWindow:
        FitView();
        Redraw();
        break;
    case kCmdFitWhole:
        FitWhole();
        Redraw();
        break;
    case kCmdZoomIn:
        ZoomIn();
        break;
    case kCmdZoomOut:
        ZoomOut();
        break;
    case kCmdPanLeft:
        Pan(80, 0);
        break;
    case kCmdPanRight:
        Pan(-80, 0);
        break;
    case kCmdPanUp:
        Pan(0, 80);
        break;
    case kCmdPanDown:
        Pan(0, -80);
        break;
    default:
        return false;
    }
    return true;
}

void CPreviewView::ShowContextMenu(QPoint globalPos) {
    struct CItem {
        int m_nId;
        const char* m_szZh;
        const char* m_szEn;
    };
    static const CItem kItems[] = {
        {kCmdDeleteLines, "删除线条\tDEL", "Delete Lines\tDEL"},
        {kCmdSelectAll, "全选", "Select All"},
        {kCmdSplitFeed, "进纸方向分页", "Split Along Paper Feed"},
        {kCmdSplitWidth, "纸宽方向分页", "Split Across Paper Width"},
        {kCmdMoveToOrigin, "图形平移至左下角", "Move Drawing to Lower Left"},
        {kCmdMirrorCopy, "图形镜像", "Mirror Drawing"},
    };
    QMenu menu(this);
    for (const CItem& item : kItems) {
        QAction* action = menu.addAction(QString::fromUtf8(Chinese() ? item.m_szZh : item.m_szEn));
        action->setData(item.m_nId);
    }
    menu.addSeparator();
    menu.addAction(tr("适合整个图形"))->setData(kCmdFitWhole);
    if (QAction* chosen = menu.exec(globalPos))
        RunCommand(chosen->data().toInt());
}

void CPreviewView::DeleteLines() {
    if (COnePage* task = CurrentTask()) {
        task->DeleteSelectedCurves();
        task->CalcExtents();
        Redraw();
    }
    m_bGrab = false;
}

void CPreviewView::SelectAll() {
    if (COnePage* task = CurrentTask()) {
        task->SelectAllCurves();
        Redraw();
    }
}

void CPreviewView::MoveDrawingToOrigin() {
    if (COnePage* task = CurrentTask()) {
        task->MoveToOrigin();
        m_host.RefreshTaskList();
        Redraw();
    }
}

// New tasks move the rows behind them: the preview keeps showing the task it showed.
void CPreviewView::KeepShowing(uint64_t nTaskId) {
    const int row = m_host.RowOfTask(nTaskId);
    if (row >= 0)
        m_host.SetCurrentTaskIndex(row);
}

void CPreviewView::ShowMessages(const CResult& result) {
    for (const CMessage& message : result.m_arrMessages)
        m_pPrompts->ShowMessage(OperatorText(message).toStdString());
}

void CPreviewView::SplitAlongFeed() {
    const COnePage* task = CurrentTask();
    if (!task)
        return;
    const uint64_t nTaskId = task->m_nTaskId;
    double value = 10000;
    if (!m_pPrompts->PromptNumber(Chinese() ? "输入分割段长(mm):" : "Split Length (X)(mm):", value))
        return;
    if (!m_host.TaskById(nTaskId)) {
        ShowMessages(CResult::Failure(-1, "task gone", {{EMsg::kTaskGone, {}}}));
        return;
    }
    const CResult result = m_host.SplitAlongFeed(nTaskId, LengthUnits(value));
    if (result.Ok())
        KeepShowing(nTaskId);
    m_host.RefreshTaskList();
    Redraw();
    ShowMessages(result);
}

void CPreviewView::SplitAcrossWidth() {
    if (!CurrentTask())
        return;
    const uint64_t nTaskId = CurrentTask()->m_nTaskId;
    double value = 1000;
    if (!m_pPrompts->PromptNumber(Chinese() ? "Y向分页长度(mm):" : "Split Length Y(mm):", value))
        return;
    COnePage* task = m_host.TaskById(nTaskId);
    if (!task) {
        ShowMessages(CResult::Failure(-1, "task gone", {{EMsg::kTaskGone, {}}}));
        return;
    }
    const int32_t len = LengthUnits(value);
    bool bFailed = false;
    if (len < task->m_nMaxY) {
        if (task->m_nMinY != 0)
            task->MoveToOrigin();
        bFailed = len < task->m_nMaxY && !task->SplitWidth(len);
    }
    m_host.RefreshTaskList();
    Redraw();
    if (bFailed)
        m_pPrompts->ShowMessage(Chinese() ? "由于输入的宽度太小，分割失败！"
                                          : "Split width too small,Split failed!");
}

void CPreviewView::MirrorCopy() {
    const COnePage* task = CurrentTask();
    if (!task)
        return;
    const uint64_t nTaskId = task->m_nTaskId;
    m_host.MirrorCopy(nTaskId, Chinese() ? "(镜像)" : "(Mirror)");
    KeepShowing(nTaskId);
    m_host.RefreshTaskList();
    Redraw();
}

} // namespace inkvale
