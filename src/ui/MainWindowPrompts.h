// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace inkvale {

/// The main window's message boxes and file dialogs: the program shows real ones, tests
/// record the texts and give the answers. Texts are UTF-8 in the current language.
class CMainWindowPrompts {
public:
    virtual ~CMainWindowPrompts() = default;
    /// An information message with an OK button.
    virtual void Inform(const std::string& strText, const std::string& strCaption) = 0;
    /// An error message with a stop icon.
    virtual void Error(const std::string& strText, const std::string& strCaption) = 0;
    /// A question with OK and Cancel; true only for OK.
    virtual bool AskOkCancel(const std::string& strText, const std::string& strCaption) = 0;
    /// The Add dialog: several existing files; empty when cancelled. strFilter is a Qt
    /// name filter list ("A (*.x);;B (*)").
    virtual std::vector<std::string> OpenFiles(const std::string& strTitle,
                                               const std::string& strFilter) = 0;
    /// The save dialog (asks before overwriting); "" when cancelled.
    virtual std::string SaveFile(const std::string& strFilter) = 0;
    /// The About box, its texts in the given language.
    virtual void About(int nLanguage) = 0;
    /// A choice among buttons (their texts in order); the index of the one chosen, -1 when
    /// the box was closed without a choice.
    virtual int Choose(const std::string& strText, const std::string& strCaption,
                       const std::vector<std::string>& choices) = 0;
};

/// The real dialogs, parented to a window.
class CQtMainWindowPrompts : public CMainWindowPrompts {
public:
    explicit CQtMainWindowPrompts(QWidget* pParent) : m_pParent(pParent) {}
    void Inform(const std::string& strText, const std::string& strCaption) override;
    void Error(const std::string& strText, const std::string& strCaption) override;
    bool AskOkCancel(const std::string& strText, const std::string& strCaption) override;
    std::vector<std::string> OpenFiles(const std::string& strTitle,
                                       const std::string& strFilter) override;
    std::string SaveFile(const std::string& strFilter) override;
    void About(int nLanguage) override;
    int Choose(const std::string& strText, const std::string& strCaption,
               const std::vector<std::string>& choices) override;

private:
    QWidget* m_pParent;
};

} // namespace inkvale
