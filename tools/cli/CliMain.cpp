// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli [--home DIR] COMMAND ARGS: the program's engine without a window.

#include "CliCommand.h"

#include "config/SettingsStore.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace inkvale::cli {

// Each command lives in its own Cli<Command>.cpp; new commands are added to this table.
const std::vector<CCliCommand>& CliCommands() {
    static const std::vector<CCliCommand> commands = {
        {"tasks", "tasks FILE.sptask      list the tasks of a task file", RunTasks},
        {"curves", "curves FILE            load FILE as a task and print its curves", RunCurves},
        {"preview", "preview FILE -o OUT.png the drawing as the preview shows it [--width PX]",
         RunPreview},
        {"render", "render FILE -o OUT.png the whole job as the machine prints it", RunRender},
        {"bands", "bands FILE -o DIR      write each band's data and job.txt", RunBands},
        {"print", "print FILE [--copies N] print through the machine link of the settings",
         RunPrint},
    };
    return commands;
}

namespace {

void PrintUsage() {
    std::fprintf(stderr, "usage: inkvale-cli [--home DIR] COMMAND ARGS\n"
                         "  --home DIR   installation directory whose Inkvale.ini, font files and\n"
                         "               folders are used (default: the executable's directory)\n");
    for (const CCliCommand& c : CliCommands())
        std::fprintf(stderr, "  %s\n", c.m_pszUsage);
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace

int Main(int argc, char** argv) {
    CCliContext ctx;
    // The same installation directory as the desktop program: the executable's folder, or
    // ~/.local/share/Inkvale/ when that folder is not writable (a system-wide install).
    ctx.m_strHome = FindInstallDir();
    int i = 1;
    if (i + 1 < argc && std::strcmp(argv[i], "--home") == 0) {
        ctx.m_strHome = WithSlash(argv[i + 1]);
        i += 2;
    }
    if (i >= argc) {
        PrintUsage();
        return kExitUsage;
    }
    const std::string name = argv[i++];
    for (; i < argc; ++i)
        ctx.m_args.emplace_back(argv[i]);
    for (const CCliCommand& c : CliCommands()) {
        if (name == c.m_pszName)
            return c.m_fn(ctx);
    }
    std::fprintf(stderr, "inkvale-cli: unknown command '%s'\n", name.c_str());
    PrintUsage();
    return kExitUsage;
}

} // namespace inkvale::cli

int main(int argc, char** argv) {
    return inkvale::cli::Main(argc, argv);
}
