// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one QApplication every GUI test of this executable shares, on the off-screen
// platform unless the environment names another (tests run without a display).

#include <QApplication>
#include <QString>
#include <QTranslator>

#include <filesystem>

namespace inkvale::test {

inline void EnsureUiTestApp() {
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

#ifdef INKVALE_APP_PATH
/// A translation built beside the program (English unless named), installed for the life of
/// the object.
class CShippedTranslation {
public:
    explicit CShippedTranslation(const char* pszFile = "inkvale_en.qm") {
        const std::filesystem::path dir =
            std::filesystem::path(INKVALE_APP_PATH).parent_path() / "translations";
        m_bLoaded =
            m_translator.load(QString::fromUtf8(pszFile), QString::fromStdString(dir.string()));
        if (m_bLoaded)
            QCoreApplication::installTranslator(&m_translator);
    }
    ~CShippedTranslation() { QCoreApplication::removeTranslator(&m_translator); }
    CShippedTranslation(const CShippedTranslation&) = delete;
    CShippedTranslation& operator=(const CShippedTranslation&) = delete;
    bool Loaded() const { return m_bLoaded; }

private:
    QTranslator m_translator;
    bool m_bLoaded = false;
};
#endif

} // namespace inkvale::test
