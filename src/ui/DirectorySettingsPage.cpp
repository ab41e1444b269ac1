// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DirectorySettingsPage.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "queue/HotFolder.h"
#include "ui/DlgPrompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <system_error>

namespace inkvale {

namespace {
QString Q(const std::string& str) {
    return QString::fromStdString(str);
}
} // namespace

CDirectorySettingsPage::CDirectorySettingsPage(CSysSetContext ctx, QWidget* pParent)
    : CSettingsPage(pParent), m_ctx(ctx), m_pThickness(new QButtonGroup(this)) {
    auto* pGrid = new QGridLayout(this);
    const std::tuple<int, int, const char*> folders[] = {{411, 304, QT_TR_NOOP("手动目录")},
                                                         {412, 305, QT_TR_NOOP("自动目录")},
                                                         {413, 307, QT_TR_NOOP("备份目录")},
                                                         {428, 316, QT_TR_NOOP("打印历史")}};
    int nRow = 0;
    for (const auto& [nEdit, nButton, psz] : folders) {
        m_edits[nEdit] = new QLineEdit(this);
        m_buttons[nButton] = new QPushButton(tr("修改"), this);
        pGrid->addWidget(new QLabel(tr(psz), this), nRow, 0);
        pGrid->addWidget(m_edits[nEdit], nRow, 1, 1, 3);
        pGrid->addWidget(m_buttons[nButton], nRow++, 4);
    }
    m_checks[260] = new QCheckBox(tr("自动备份已打印的文件"), this);
    m_checks[261] = new QCheckBox(tr("保存打印历史"), this);
    m_checks[250] = new QCheckBox(tr("线条加黑"), this);
    pGrid->addWidget(m_checks[260], nRow, 0, 1, 2);
    pGrid->addWidget(m_checks[261], nRow++, 2, 1, 2);
    m_edits[410] = new QLineEdit(this);
    m_edits[421] = new QLineEdit(this);
    pGrid->addWidget(new QLabel(tr("文件过滤："), this), nRow, 0);
    pGrid->addWidget(m_edits[410], nRow++, 1, 1, 3);
    m_pPatternHint = new QLabel(this);
    pGrid->addWidget(m_pPatternHint, nRow++, 1, 1, 3);
    connect(m_edits[410], &QLineEdit::textChanged, this, [this] { ShowPatternHint(); });
    pGrid->addWidget(new QLabel(tr("logo设置:"), this), nRow, 0);
    pGrid->addWidget(m_edits[421], nRow++, 1, 1, 3);
    auto* pGroup = new QGroupBox(tr("线条粗细设置"), this);
    auto* pRadios = new QHBoxLayout(pGroup);
    for (int i = 0; i < 8; ++i) {
        auto* pRadio = new QRadioButton(QString::number(i + 1) + tr("像素"), pGroup);
        m_pThickness->addButton(pRadio, i);
        pRadios->addWidget(pRadio);
    }
    pGrid->addWidget(pGroup, nRow++, 0, 1, 5);
    m_buttons[311] = new QPushButton(tr("应用"), this);
    pGrid->addWidget(m_checks[250], nRow, 0);
    pGrid->addWidget(m_buttons[311], nRow, 4);

    const CSettings& s = ctx.m_settings;
    m_edits[411]->setText(Q(s.ManDir));
    m_edits[412]->setText(Q(s.AutoDir));
    m_edits[413]->setText(Q(s.BackupDir));
    m_edits[428]->setText(Q(s.HistoryFile));
    m_edits[410]->setText(Q(s.PrtFileExtension));
    ShowPatternHint();
    m_edits[421]->setText(Q(s.CustomString));
    m_checks[260]->setChecked(s.BackupPrintedFiles != 0);
    m_checks[261]->setChecked(s.HistoryEnable != 0);
    m_checks[250]->setChecked(ctx.m_params.BoldLines() != 0);
    if (QAbstractButton* pRadio = m_pThickness->button(ctx.m_params.LineWidthPx() - 1))
        pRadio->setChecked(true);

    for (int nButton : {304, 305, 307})
        connect(m_buttons[nButton], &QPushButton::clicked, this,
                [this, nButton] { ChooseFolder(nButton); });
    connect(m_buttons[316], &QPushButton::clicked, this, [this] { ChooseHistoryFile(); });
    connect(m_buttons[311], &QPushButton::clicked, this, [this] { Apply(); });
    WatchChanges();
}

void CDirectorySettingsPage::ChooseFolder(int nButton) {
    std::string strChosen;
    if (!m_ctx.m_host.ChooseFolder(strChosen))
        return;
    std::string strFolder;
    if (!AcceptChosenFolder(strChosen, m_ctx.m_settings.m_strInstallDir, strFolder)) {
        m_ctx.m_prompts.ShowMessage(nButton == 307 ? "非法的备份文件目录" : "非法的临时文件目录");
        return;
    }
    const int nEdit = nButton == 304 ? 411 : (nButton == 305 ? 412 : 413);
    m_edits[nEdit]->setText(Q(strFolder));
}

void CDirectorySettingsPage::ChooseHistoryFile() {
    std::string strChosen;
    if (m_ctx.m_host.ChooseHistoryFile(strChosen))
        m_edits[428]->setText(Q(HistoryFileWithExtension(strChosen)));
}

bool CDirectorySettingsPage::Store() {
    CSettings& s = m_ctx.m_settings;
    s.ManDir = m_edits[411]->text().toStdString();
    s.AutoDir = m_edits[412]->text().toStdString();
    std::string strBackup = m_edits[413]->text().toStdString();
    // A backup folder in a hot folder would feed every backup back to the printer.
    const bool bRefused = FolderWithin(strBackup, s.AutoDir) || FolderWithin(strBackup, s.ManDir);
    if (bRefused) {
        m_ctx.m_prompts.ShowMessage(
            tr("备份目录不能是自动目录或手动目录，也不能在其中。").toStdString());
        strBackup = s.BackupDir;
    }
    if (!strBackup.empty()) {
        if (strBackup.back() != '/')
            strBackup += '/';
        const std::filesystem::path dir(strBackup.substr(0, strBackup.size() - 1));
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec))
            std::filesystem::create_directories(dir, ec);
        if (!std::filesystem::is_directory(dir, ec) && s.BackupPrintedFiles != 0)
            m_ctx.m_prompts.ShowMessage(s.Language == 0 ? "创建备份目录失败!"
                                                        : "Failed to create backup dir");
    }
    s.BackupDir = strBackup; // empty: the folder rules give the default folder
    s.BackupPrintedFiles = Check(260)->isChecked() ? 1 : 0;
    s.HistoryEnable = Check(261)->isChecked() ? 1 : 0;
    s.CustomString = m_edits[421]->text().toStdString();
    s.HistoryFile = m_edits[428]->text().toStdString();
    s.PrtFileExtension = m_edits[410]->text().toStdString();
    // The folder rules run after every field is in, so an emptied pattern list or history
    // file gets its default too instead of being stored empty.
    NormalizeFolders(s);
    const int nThickness = m_pThickness->checkedId();
    if (nThickness >= 0)
        m_ctx.m_params.SetLineWidthPx(static_cast<uint8_t>(nThickness + 1));
    m_ctx.m_params.SetBoldLines(Check(250)->isChecked() ? 1 : 0);
    WriteParamsAfterApply(m_ctx);
    // The folder rules may have completed the folders: show what is in effect.
    m_edits[411]->setText(Q(s.ManDir));
    m_edits[412]->setText(Q(s.AutoDir));
    m_edits[428]->setText(Q(s.HistoryFile));
    m_edits[410]->setText(Q(s.PrtFileExtension));
    if (bRefused) {
        // The refused folder stays in its field for the operator to correct.
        m_edits[413]->setFocus();
        m_edits[413]->selectAll();
        return false;
    }
    m_edits[413]->setText(Q(s.BackupDir));
    return true;
}

// The patterns as the folders read them: the operator sees that "*.plt" without its ';'
// counts, and that the case of a name does not matter.
void CDirectorySettingsPage::ShowPatternHint() {
    QStringList patterns;
    for (const std::string& strPattern : PatternList(m_edits[410]->text().toStdString())) {
        if (!strPattern.empty())
            patterns << Q(strPattern);
    }
    m_pPatternHint->setText(
        patterns.isEmpty()
            ? tr("没有文件模式：文件夹不会取任何文件。")
            : tr("文件夹取用：%1（不区分大小写）").arg(patterns.join(QStringLiteral(", "))));
}

} // namespace inkvale
