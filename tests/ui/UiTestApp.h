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
/// The English translation built beside the program, installed for the life of the object.
class CEnglishTranslation {
public:
    CEnglishTranslation() {
        const std::filesystem::path dir =
            std::filesystem::path(INKVALE_APP_PATH).parent_path() / "translations";
        m_bLoaded = m_translator.load(QStringLiteral("inkvale_en.qm"),
                                      QString::fromStdString(dir.string()));
        if (m_bLoaded)
            QCoreApplication::installTranslator(&m_translator);
    }
    ~CEnglishTranslation() { QCoreApplication::removeTranslator(&m_translator); }
    CEnglishTranslation(const CEnglishTranslation&) = delete;
    CEnglishTranslation& operator=(const CEnglishTranslation&) = delete;
    bool Loaded() const { return m_bLoaded; }

private:
    QTranslator m_translator;
    bool m_bLoaded = false;
};
#endif

} // namespace inkvale::test
