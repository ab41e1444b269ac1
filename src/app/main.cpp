// SPDX-License-Identifier: GPL-3.0-or-later
// Inkvale: the desktop host program of the inkjet marker plotter.
#include "InkvaleApp.h"

#include "ui/InkvaleAppRules.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: inkvale [--home DIR] [TASKFILE.sptask]\n"
    "       inkvale --help | --version\n"
    "The desktop host program of the inkjet marker plotter.\n"
    "  --home DIR       installation directory whose Inkvale.ini, font files, hot folders,\n"
    "                   history and lock are used (default: the executable's directory, or\n"
    "                   ~/.local/share/Inkvale when that is not writable). It must exist and\n"
    "                   be writable; one directory per plotter lets one computer drive\n"
    "                   several, each in a window of its own\n"
    "  TASKFILE.sptask  a task file whose tasks are listed at start-up\n"
    "  --help           this text\n"
    "  --version        the program's version\n"
    "Qt's own options (such as -platform NAME) are taken as well. One program runs per\n"
    "installation directory: a second start with the same directory brings the running one's\n"
    "window to the front, or says that the program is running when that one does not answer,\n"
    "and ends; starts with different directories run side by side.\n"
    "exit status: 0, also when the program was already running; 1 when it cannot start\n"
    "safely (its lock file cannot be opened, or it cannot listen for later starts), when\n"
    "--home names no existing writable directory, or when --home is given without DIR or\n"
    "twice\n";

// --help and --version are answered before anything else happens: no display, no window,
// no single-instance lock, no change of priority. -1 when the program is to start.
int AnswerInformationOptions(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("inkvale %s\n", INKVALE_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const int nAnswered = AnswerInformationOptions(argc, argv); nAnswered >= 0)
        return nAnswered;
    // Taken out before Qt reads the arguments, so that the task file stays the first one.
    const inkvale::CHomeOption home = inkvale::TakeHomeOption(argc, argv);
    if (!home.m_strError.empty()) {
        std::fprintf(stderr, "inkvale: %s\n", home.m_strError.c_str());
        std::fputs(kUsage, stderr);
        return 1;
    }
    inkvale::CInkvaleApp inkvale; // raises the priority before anything else runs
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Inkvale"));
    switch (inkvale.InitInstance(app, home.m_strDir)) {
    case inkvale::CInkvaleApp::EStart::kRun:
        break;
    case inkvale::CInkvaleApp::EStart::kEnded:
        return 0;
    case inkvale::CInkvaleApp::EStart::kRefused:
        return 1;
    }
    const int nResult = QApplication::exec();
    inkvale.ExitInstance();
    return nResult;
}
