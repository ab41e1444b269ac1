// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreflightTexts.h"

#include "ui/OperatorText.h"

#include <QCoreApplication>

namespace inkvale {

namespace {

QString Tr(const char* pszText) {
    return QCoreApplication::translate("CMainWindow", pszText);
}

} // namespace

QString DurationText(double dSeconds) {
    const long n = static_cast<long>(dSeconds + 0.5);
    return QStringLiteral("%1:%2:%3")
        .arg(n / 3600)
        .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(n % 60, 2, 10, QLatin1Char('0'));
}

QString PreflightWarningsText(const CPreflight& preflight) {
    QString text;
    for (const CPreflightWarning& w : preflight.m_arrWarnings) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += OperatorText(w.m_message);
    }
    return text;
}

QString PreflightDetailsText(const COnePage& task) {
    const CPreflight& p = task.m_preflight;
    if (!p.m_bDone)
        return {};
    const CPreflightFigures& f = p.m_figures;
    QString text =
        Tr(QT_TRANSLATE_NOOP("CMainWindow", "%1 × %2 mm，%3 个条带，用纸 %4 米，约 %5"))
            .arg(QString::number(f.m_dLengthMm, 'f', 0), QString::number(f.m_dWidthMm, 'f', 0))
            .arg(f.m_nBands)
            .arg(QString::number(f.m_dPaperMm / 1000.0, 'f', 2), DurationText(f.m_dSeconds));
    text += QLatin1Char('\n') + Tr(QT_TRANSLATE_NOOP("CMainWindow", "墨水 (ml)：%1 / %2 / %3 / %4"))
                                    .arg(QString::number(f.m_arrInkMl[0], 'f', 3),
                                         QString::number(f.m_arrInkMl[1], 'f', 3),
                                         QString::number(f.m_arrInkMl[2], 'f', 3),
                                         QString::number(f.m_arrInkMl[3], 'f', 3));
    const QString warnings = PreflightWarningsText(p);
    if (!warnings.isEmpty())
        text += QLatin1Char('\n') + warnings;
    return text;
}

QString QueueTotalsText(const CQueueTotals& totals) {
    return Tr(QT_TRANSLATE_NOOP("CMainWindow", "%1 个任务 · %2 米 · %3 · 墨水 %4 ml"))
        .arg(totals.m_nTasks)
        .arg(QString::number(totals.m_dPaperM, 'f', 1), DurationText(totals.m_dSeconds),
             QString::number(totals.m_dInkMl, 'f', 2));
}

} // namespace inkvale
