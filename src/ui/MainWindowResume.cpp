// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in continuing an interrupted job: the task list and the preview
// show where the job stopped, and once the machine is ready the operator chooses to resume
// it, print the task from the start, or discard it.

#include "ui/MainWindow.h"

#include "machine/engine/JobJournal.h"
#include "queue/TaskListEdits.h"
#include "ui/PreviewView.h"
#include "ui/MainWindowPrompts.h"
#include "ui/TaskListView.h"
#include "ui/OperatorText.h"

#include <QCoreApplication>

namespace inkvale {

namespace {

QString Tr(const char* pszText) {
    return QCoreApplication::translate("CMainWindow", pszText);
}

QString Metres(double d) {
    return QString::number(d, 'f', 1);
}

// Band numbers for the operator count from 1.
QString WhereItStopped(const CInterruptedJob& job) {
    return Tr(QT_TRANSLATE_NOOP("CMainWindow", "在第 %1 / %2 条带处中断（已打印 %3 米，共 %4 米）"))
        .arg(job.m_nResumeBand + 1)
        .arg(job.m_record.m_nBandCount)
        .arg(Metres(job.m_dPrintedM), Metres(job.m_dTotalM));
}

} // namespace

void CMainWindow::ShowInterruptedJob() {
    m_interrupted = FindInterruptedJob(Engine().UnfinishedJobs());
    const std::string strPath = m_interrupted ? m_interrupted->m_record.m_strTaskPath : "";
    m_pTaskList->SetInterruptedTask(strPath, m_interrupted && m_interrupted->m_strDamage.empty()
                                                 ? WhereItStopped(*m_interrupted)
                                                 : "");
    m_pView->SetStopMark(strPath, m_interrupted ? m_interrupted->m_nStopX : 0);
    m_pTaskList->RefreshTaskList();
    m_pView->Redraw();
}

void CMainWindow::JobEnded(int nResult) {
    ShowInterruptedJob();
    if (nResult != kJobSuccess && m_interrupted)
        m_bOfferResume = true;
}

// Called by the status timer: a job can start only on a ready machine, so the choice is
// asked for only then, and again whenever the machine comes back; meanwhile the scheduler
// starts nothing. A machine still in the dead job is told of at once.
void CMainWindow::OfferWhenReady() {
    const bool bOnline = Engine().State().m_nMachineOnline != 0;
    if (!bOnline)
        m_bMachineWasOnline = false;
    if (bOnline && !m_bMachineWasOnline && Engine().HasUnfinishedJobs())
        m_bOfferResume = true;
    m_bMachineWasOnline = bOnline;
    if (!m_bOfferResume || Engine().JobRunning() || !bOnline)
        return;
    if (Engine().MachineHoldsDeadJob()) {
        OfferStopHeldJob();
        return;
    }
    if (Engine().MachineState() != kStateReady)
        return;
    m_bOfferResume = false;
    OfferInterruptedJob();
}

// The machine waits in the job the host left: nothing resumes or starts until it drops it.
void CMainWindow::OfferStopHeldJob() {
    m_bOfferResume = false;
    const std::vector<std::string> choices = {
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "停止")).toStdString(),
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "等待")).toStdString()};
    const int nChoice =
        m_prompts.Choose(OperatorText({EMsg::kMachineHoldsJob, {}}).toStdString(),
                         Tr(QT_TRANSLATE_NOOP("CMainWindow", "中断的作业")).toStdString(), choices);
    if (nChoice == 0 && !Engine().StopMachineJob())
        ShowMessage({EMsg::kMachineOffline, {}});
    // Asked again once the machine is ready (or still holds the job at the next start).
    m_bOfferResume = true;
    if (nChoice != 0)
        m_bMachineWasOnline = true;
}

void CMainWindow::OfferInterruptedJob() {
    ShowInterruptedJob();
    if (!m_interrupted)
        return;
    const CInterruptedJob job = *m_interrupted;
    if (!job.m_strDamage.empty()) {
        OfferDamagedJob(job);
        return;
    }
    const std::string strName = job.m_record.m_strTaskName.empty() ? job.m_record.m_strTaskPath
                                                                   : job.m_record.m_strTaskName;
    QString text = Tr(QT_TRANSLATE_NOOP("CMainWindow", "%1 的打印没有完成。"))
                       .arg(QString::fromStdString(strName)) +
                   "\n" + WhereItStopped(job);
    if (!job.m_record.m_strWhy.empty())
        text += "\n" + Tr(QT_TRANSLATE_NOOP("CMainWindow", "原因：%1"))
                           .arg(QString::fromStdString(job.m_record.m_strWhy));
    const size_t nOthers = Engine().UnfinishedJobs().size() - 1;
    if (nOthers > 0)
        text += "\n" + Tr(QT_TRANSLATE_NOOP("CMainWindow", "还有 %1 个未完成的作业。")).arg(nOthers);
    const std::vector<std::string> choices = {
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "从第 %1 / %2 条带继续"))
            .arg(job.m_nResumeBand + 1)
            .arg(job.m_record.m_nBandCount)
            .toStdString(),
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "从头打印")).toStdString(),
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "放弃")).toStdString()};
    const int nChoice =
        m_prompts.Choose(text.toStdString(),
                         Tr(QT_TRANSLATE_NOOP("CMainWindow", "中断的作业")).toStdString(), choices);
    if (nChoice == 0) {
        const CJobStartResult started = m_pCore->ResumeJob(job.m_strJobDir);
        for (const CMessage& message : started.m_arrMessages)
            ShowMessage(message);
        if (!started.Ok() && started.m_arrMessages.empty())
            ShowMessage({EMsg::kMachineNotReady, {}});
    } else if (nChoice == 1) {
        PrintInterruptedFromStart(job);
    } else if (nChoice == 2) {
        DiscardJob(job.m_strJobDir);
    }
    ShowInterruptedJob();
    // The next unfinished job is asked about in turn.
    m_bOfferResume = nChoice >= 0 && Engine().HasUnfinishedJobs() && !Engine().JobRunning();
}

// A record that cannot be read can only be discarded; until then nothing else prints.
void CMainWindow::OfferDamagedJob(const CInterruptedJob& job) {
    const std::vector<std::string> choices = {
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "放弃")).toStdString(),
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "保留")).toStdString()};
    const int nChoice =
        m_prompts.Choose(OperatorText({EMsg::kResumeDamaged, {job.m_strDamage}}).toStdString(),
                         Tr(QT_TRANSLATE_NOOP("CMainWindow", "中断的作业")).toStdString(), choices);
    if (nChoice == 0)
        DiscardJob(job.m_strJobDir);
    ShowInterruptedJob();
}

// A job folder that could not be removed stays listed, and the operator hears why.
void CMainWindow::DiscardJob(const std::string& strJobDir) {
    if (!m_pCore->DiscardJob(strJobDir))
        ShowMessage({EMsg::kFileWriteError, {}});
}

void CMainWindow::PrintInterruptedFromStart(const CInterruptedJob& job) {
    COnePage* pTask = TaskOfJob(Doc(), job.m_record);
    if (pTask == nullptr) {
        ShowMessage({EMsg::kTaskGone, {}});
        return;
    }
    DiscardJob(job.m_strJobDir);
    const int nRow = RowOfTask(pTask->m_nTaskId);
    m_pCore->Queue().SetCurrentTaskIndex(nRow);
    SelectRow(nRow);
    m_pCore->Queue().PrintCurrentTask();
}

} // namespace inkvale
