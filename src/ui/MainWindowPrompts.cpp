// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindowPrompts.h"

#include "ui/AboutDialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace inkvale {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

void CQtMainWindowPrompts::About(int nLanguage) {
    CAboutDialog(nLanguage, m_pParent).exec();
}

void CQtMainWindowPrompts::Inform(const std::string& strText, const std::string& strCaption) {
    QMessageBox::information(m_pParent, Q(strCaption), Q(strText));
}

void CQtMainWindowPrompts::Error(const std::string& strText, const std::string& strCaption) {
    QMessageBox::critical(m_pParent, Q(strCaption), Q(strText));
}

bool CQtMainWindowPrompts::AskOkCancel(const std::string& strText, const std::string& strCaption) {
    return QMessageBox::question(m_pParent, Q(strCaption), Q(strText),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

int CQtMainWindowPrompts::Choose(const std::string& strText, const std::string& strCaption,
                                const std::vector<std::string>& choices) {
    QMessageBox box(QMessageBox::Question, Q(strCaption), Q(strText), QMessageBox::NoButton,
                    m_pParent);
    std::vector<QPushButton*> buttons;
    for (const std::string& strChoice : choices)
        buttons.push_back(box.addButton(Q(strChoice), QMessageBox::ActionRole));
    // Closing the box (Esc) decides nothing: the choice is offered again later.
    box.addButton(QMessageBox::Close);
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> CQtMainWindowPrompts::OpenFiles(const std::string& strTitle,
                                                        const std::string& strFilter) {
    std::vector<std::string> out;
    for (const QString& s :
         QFileDialog::getOpenFileNames(m_pParent, Q(strTitle), QString(), Q(strFilter)))
        out.push_back(s.toStdString());
    return out;
}

std::string CQtMainWindowPrompts::SaveFile(const std::string& strFilter) {
    return QFileDialog::getSaveFileName(m_pParent, QString(), QString(), Q(strFilter))
        .toStdString();
}

} // namespace inkvale
