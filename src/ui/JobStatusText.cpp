// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/JobStatusText.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace inkvale {

namespace {

// Bands of the whole job confirmed so far, those before a resume included.
int64_t WholeBandsDone(const CJobProgress& job) {
    return int64_t{job.m_nFirstBand} + job.m_nBandsDone;
}

int Percent(const CJobProgress& job) {
    return job.m_nBandCount > 0 ? static_cast<int>(std::min<int64_t>(
                                      WholeBandsDone(job) * 100 / job.m_nBandCount, 100))
                                : 0;
}

// Minutes from the pace of this run so far; under a minute reads as one.
QString TimeLeft(const CJobProgress& job) {
    const double dLeft =
        job.m_dElapsedSeconds / job.m_nBandsDone * (job.m_nBandCount - WholeBandsDone(job));
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

QString MetresText(double dMetres) {
    return QString::number(dMetres, 'f', 1);
}

QString JobStatusText(const CJobProgress& job) {
    const int64_t nBand = std::min<int64_t>(WholeBandsDone(job) + 1, job.m_nBandCount);
    const QString band =
        job.m_nFirstBand > 0
            ? QCoreApplication::translate("JobStatus", "第 %1/%2 带（从第 %3 带继续）")
                  .arg(nBand)
                  .arg(job.m_nBandCount)
                  .arg(job.m_nFirstBand + 1)
            : QCoreApplication::translate("JobStatus", "第 %1/%2 带")
                  .arg(nBand)
                  .arg(job.m_nBandCount);
    QString text = QCoreApplication::translate("JobStatus", "%1：%2，已打印 %3 m / %4 m")
                       .arg(QString::fromStdString(job.m_strName), band, MetresText(job.m_dDoneM),
                            MetresText(job.m_dTotalM));
    if (job.m_nBandsDone > 0 && WholeBandsDone(job) < job.m_nBandCount && !job.m_bPaused)
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
