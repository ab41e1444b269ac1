// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>

class QLabel;

namespace inkvale {

/// The version the About box shows.
inline constexpr const char* kAboutVersion = "Inkvale v1.6.5";

/// The release date line: Chinese for language 0, English for every other language.
std::string AboutReleaseDate(int nLanguage);

/// The About box "关于Inkvale" (command 57664): the program's icon, its version and its
/// release date; one OK button closes it.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(int nLanguage, QWidget* pParent = nullptr);
    QLabel* VersionLabel() const { return m_pVersion; }
    QLabel* DateLabel() const { return m_pDate; }

private:
    QLabel* m_pVersion;
    QLabel* m_pDate;
};

} // namespace inkvale
