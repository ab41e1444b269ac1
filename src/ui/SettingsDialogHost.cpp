// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsDialogHost.h"

#include "config/Settings.h"
#include "ui/DlgMachineAccess.h"
#include "ui/DlgPrompts.h"
#include "ui/DlgTexts.h"

#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QString>

#include <cmath>

namespace inkvale {

bool CSettingsDialogHost::ChooseFolder(std::string& strFolder) {
    const QString str =
        QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Select a directory"));
    if (str.isEmpty())
        return false;
    strFolder = str.toStdString();
    return true;
}

bool CSettingsDialogHost::ChooseHistoryFile(std::string& strPath) {
    const QString str = QFileDialog::getSaveFileName(nullptr, QString(), QString(),
                                                     QStringLiteral("CSV file(*.csv)"));
    if (str.isEmpty())
        return false;
    strPath = str.toStdString();
    return true;
}

bool CSettingsDialogHost::ChooseColor(int32_t& nColor) {
    const QColor initial(nColor & 0xFF, (nColor >> 8) & 0xFF, (nColor >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial);
    if (!chosen.isValid())
        return false;
    nColor = chosen.red() | chosen.green() << 8 | chosen.blue() << 16;
    return true;
}

double SizeRatioOf(double dDesign, double dMeasured) {
    if (!(dMeasured > 0))
        return 0; // a stored zero would divide by zero; nothing sensible to show
    const double dScaled = dDesign * 10000.0 / dMeasured;
    if (!(std::fabs(dScaled) < 2e9))
        return 0;
    return static_cast<int>(dScaled) / 10000.0;
}

bool AcceptChosenFolder(const std::string& strChosen, const std::string& strInstallDir,
                        std::string& strFolder) {
    std::string str = strChosen;
    if (str.empty() || str.back() != '/')
        str += '/';
    if (str == strInstallDir || str.size() < 3)
        return false;
    strFolder = str;
    return true;
}

std::string HistoryFileWithExtension(const std::string& strChosen) {
    const size_t nDot = strChosen.rfind('.');
    if (nDot != std::string::npos &&
        QString::fromStdString(strChosen.substr(nDot + 1))
                .compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return strChosen;
    return strChosen + ".CSV";
}

void WriteParamsAfterApply(CSysSetContext& ctx) {
    if (ctx.m_machine.Online()) {
        if (WriteParams(ctx.m_machine, ctx.m_params) != 0)
            ctx.m_prompts.ShowMessage(kParamSaveFailed);
        return;
    }
    const std::string strNotice = OfflineApplyNotice(ctx.m_settings.Language);
    if (!strNotice.empty())
        ctx.m_prompts.ShowMessage(strNotice);
}

} // namespace inkvale
