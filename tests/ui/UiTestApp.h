#pragma once

// The one QApplication every GUI test of this executable shares, on the off-screen
// platform unless the environment names another (tests run without a display).

#include <QApplication>

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

} // namespace inkvale::test
