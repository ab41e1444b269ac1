// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>

namespace inkvale::test {

/// The band texts need Qt's font database, hence one QGuiApplication for the whole test
/// program, on the offscreen platform. Created on first use and never destroyed.
inline void EnsureGuiApp() {
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char arg0[] = "test_layout";
        static char* argv[] = {arg0, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

} // namespace inkvale::test
