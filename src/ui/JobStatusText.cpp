// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/JobStatusText.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cmath>

namespace inkvale {

namespace {

int Percent(const CJobProgress& job) {
    return job.m_nBandCount > 0 ? job.m_nBandsDone * 100 / job.m_nBandCount : 0;
}

// Minutes from the pace so far; under a minute reads as one.
QString TimeLeft(const CJobProgress& job) {
    const double dLeft =
        job.m_dElapsedSeconds / job.m_nBandsDone * (job.m_nBandCount - job.m_nBandsDone);
    const int nMinutes = std::max(1, static_cast<int>(std::ceil(dLeft / 60.0)));
    return QCoreApplication::translate("JobStatus", "约 %1 分钟").arg(nMinutes);
}

// The local time of day the machine went silent.
QString SilentText(std::time_t tSince) {
    const QString time = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(tSince))
                             .toString(QStringLiteral("HH:mm:ss"));
    return QCoreApplication::translate("JobStatus", "，绘图仪自 %1 起无响应").arg(time);
}

} // namespace

QString JobStatusText(const CJobProgress& job) {
    const double dTotal = job.m_nLengthUnits / 40000.0;
    const double dDone = job.m_nBandCount > 0 ? dTotal * job.m_nBandsDone / job.m_nBandCount : 0.0;
    QString text = QCoreApplication::translate("JobStatus", "%1：第 %2/%3 带，已打印 %4 m / %5 m")
                       .arg(QString::fromStdString(job.m_strName))
                       .arg(std::min(job.m_nBandsDone + 1, job.m_nBandCount))
                       .arg(job.m_nBandCount)
                       .arg(dDone, 0, 'f', 1)
                       .arg(dTotal, 0, 'f', 1);
    if (job.m_nBandsDone > 0 && job.m_nBandsDone < job.m_nBandCount && !job.m_bPaused)
        text += QCoreApplication::translate("JobStatus", "，剩余%1").arg(TimeLeft(job));
    if (job.m_nCopiesLeft > 0)
        text += QCoreApplication::translate("JobStatus", "，还有 %1 份").arg(job.m_nCopiesLeft);
    if (job.m_tSilentSince != 0)
        text += SilentText(job.m_tSilentSince);
    return job.m_bPaused ? QCoreApplication::translate("JobStatus", "已暂停 — %1").arg(text) : text;
}

QString RowProgressText(const CJobProgress& job) {
    const QString percent = QStringLiteral("%1%").arg(Percent(job));
    return job.m_bPaused ? QCoreApplication::translate("JobStatus", "已暂停 %1").arg(percent)
                         : percent;
}

QString RowStateText(const QString& strState, const CJobProgress& job) {
    if (job.m_tSilentSince != 0)
        return QCoreApplication::translate("JobStatus", "等待绘图仪");
    return strState + QLatin1Char(' ') + RowProgressText(job);
}

} // namespace inkvale
