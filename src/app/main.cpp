// SPDX-License-Identifier: GPL-3.0-or-later
// Inkvale: the desktop host program of the inkjet marker plotter.
#include "InkvaleApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    inkvale::CInkvaleApp inkvale; // raises the priority before anything else runs
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Inkvale"));
    if (!inkvale.InitInstance(app))
        return 0;
    const int nResult = QApplication::exec();
    inkvale.ExitInstance();
    return nResult;
}
