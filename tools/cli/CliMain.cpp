// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli [--home DIR] COMMAND ARGS: the program's engine without a window.

#include "CliCommand.h"
#include "CliText.h"

#include "config/SettingsStore.h"
#include "support/HugePageHeap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace inkvale::cli {

namespace {

// The usage of each command; the first line is also what wrong usage of it prints first.
constexpr const char* kTasksHelp =
    "usage: inkvale-cli tasks FILE.sptask\n"
    "Lists the tasks of a task file, one line per task:\n"
    "\"LIST STATE COPIES CURVES VERTICES PATH\" (LIST is opened, manual or auto).\n";

constexpr const char* kCurvesHelp =
    "usage: inkvale-cli curves FILE\n"
    "Loads FILE (HP-GL or DXF) as a task exactly as the program does and prints \"curves N\",\n"
    "then one line per curve: \"PEN LINETYPE X,Y X,Y ...\" in plotter units.\n";

constexpr const char* kPreviewHelp =
    "usage: inkvale-cli preview FILE -o OUT.png [--width PX]\n"
    "Draws the loaded curves as the preview shows them (paper frame, grid, colours of the\n"
    "settings).\n"
    "  -o OUT.png   the picture to write\n"
    "  --width PX   its width in pixels, 200 to 20000 (default 1200)\n";

constexpr const char* kRenderHelp =
    "usage: inkvale-cli render FILE -o OUT.png [--from-machine]\n"
    "Writes the whole job as the machine will print it as one one-bit image (columns = feed\n"
    "pixels, rows = carriage columns), the geometry of the plotter simulator's printed sheet.\n"
    "  -o OUT.png       the image to write\n"
    "  --from-machine   the parameter block read from the machine of the settings instead of\n"
    "                   its built-in defaults\n";

constexpr const char* kBandsHelp =
    "usage: inkvale-cli bands FILE -o DIR [--from-machine]\n"
    "Writes each band's data as sent to the machine (DIR/band-0000.bin ...) and DIR/job.txt\n"
    "with \"JobWidth N\" and \"BandCount N\".\n"
    "  -o DIR           the folder to write into (made when missing)\n"
    "  --from-machine   the parameter block read from the machine of the settings instead of\n"
    "                   its built-in defaults\n";

constexpr const char* kInfoHelp =
    "usage: inkvale-cli info FILE [--json]\n"
    "Loads FILE as a task exactly as the program does and prints its preflight with the\n"
    "settings and parameter block of the installation: size, bands, paper (with the lead-in\n"
    "and out), print time (the print-time model), ink per head, and each warning with its\n"
    "kind (too-wide, scale, outside, empty, labels-only, not-drawn) and whether it blocks\n"
    "printing. With --json one JSON object (schema in docs/preflight.md). Exit status 0 when\n"
    "the file was looked at, also with warnings; 1 when it could not be read.\n";

constexpr const char* kPrintHelp =
    "usage: inkvale-cli print FILE [--copies N] [--from-band N] [--link-wait S]\n"
    "Prints FILE through the machine link of the settings (CommuVia and MachineIP of\n"
    "Inkvale.ini) with the program's own queue: FILE becomes an opened task with N copies,\n"
    "each printed as a job with its backup and history row as the settings say. A progress\n"
    "bar on stderr. Exit status 0 only when every copy finished successfully. A job that\n"
    "cannot finish (the link lost, a machine fault, the program stopped) is kept in the\n"
    "job ledger (Jobs/ in the installation directory): 'inkvale-cli resume' continues it.\n"
    "Refused while another program uses the installation directory, while an unfinished\n"
    "job waits for 'inkvale-cli resume' or 'inkvale-cli jobs --discard', and when the\n"
    "job's record cannot be written (a full disk, say): no band goes out unrecorded.\n"
    "  --copies N      copies to print, 1 to 9999 (default 1)\n"
    "  --from-band N   the first copy starts at band N (counted from 0), e.g. where the\n"
    "                  paper ran out; the bands print exactly as in the whole job\n"
    "  --link-wait S   seconds a silent machine is waited for during a job before the job\n"
    "                  is given up as interrupted, 1 to 3600 (default 120)\n";

constexpr const char* kResumeHelp =
    "usage: inkvale-cli resume [--link-wait S] [--stop]\n"
    "Continues the unfinished job of the installation directory (its job journal, Jobs/)\n"
    "on the machine of its settings, from the first band the machine did not confirm: writes\n"
    "\"resuming at band N of M\" on stderr (N counted from 0, the first band sent), shows\n"
    "the progress, and forgets the job once it has printed. The remaining bands print\n"
    "exactly as in the whole job. Refused when the drawing's file or the machine's head\n"
    "parameters changed since the job started. Exit status 0 when the job finished, 1 when\n"
    "there is nothing to resume or it could not finish (it can be resumed again).\n"
    "  --link-wait S   as for print\n"
    "  --stop          when the plotter is still in the interrupted job (its host died),\n"
    "                  stop it there first; without it, resume says so and exits 1\n"
    "Copies the job still owed (print --copies N) print after it. With several unfinished\n"
    "jobs the oldest comes first.\n";

constexpr const char* kJobsHelp =
    "usage: inkvale-cli jobs [--discard ID]\n"
    "Lists the jobs of the job ledger (Jobs/ in the installation directory) that did not\n"
    "finish, and printed ones that still owe copies: \"ID STATE band N of M, K copies owed:\n"
    "NAME - WHY\", or \"ID damaged WHY\". While one is listed, nothing else prints.\n"
    "  --discard ID    forget that job (its remaining bands are never printed)\n";

constexpr const char* kTopUsage =
    "usage: inkvale-cli [--home DIR] COMMAND ARGS\n"
    "       inkvale-cli [COMMAND] --help\n"
    "       inkvale-cli --version\n"
    "  --home DIR   installation directory whose Inkvale.ini, font files and\n"
    "               folders are used (default: the executable's directory)\n"
    "  --help       this text (after COMMAND: the command's own usage)\n"
    "  --version    the program's version\n";

constexpr const char* kLanguage =
    "language: messages are in English, unless Inkvale.ini sets Language=0 (Chinese) or,\n"
    "          without a Language line, the locale (LC_ALL, LC_MESSAGES, LANG) is Chinese;\n"
    "          Language=1 and the other values keep English; --json output is English\n";

constexpr const char* kExitStatus =
    "exit status: 0 success; 1 the input could not be read, loaded or printed (also when\n"
    "             the link refused the machine's address); 2 wrong usage. A drawing with\n"
    "             nothing to print (HP-GL or DXF) is a finding for curves, preview and\n"
    "             info (status 0, the message on stderr), and fails print\n";

void PrintUsage(FILE* pOut) {
    std::fputs(kTopUsage, pOut);
    for (const CCliCommand& c : CliCommands())
        std::fprintf(pOut, "  %s\n", c.m_pszUsage);
    std::fputs(kLanguage, pOut);
    std::fputs(kExitStatus, pOut);
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace

// Each command lives in its own Cli<Command>.cpp; new commands are added to this table.
const std::vector<CCliCommand>& CliCommands() {
    static const std::vector<CCliCommand> commands = {
        {"tasks", "tasks FILE.sptask      list the tasks of a task file", kTasksHelp, RunTasks},
        {"curves", "curves FILE            load FILE as a task and print its curves", kCurvesHelp,
         RunCurves},
        {"preview", "preview FILE -o OUT.png the drawing as the preview shows it [--width PX]",
         kPreviewHelp, RunPreview},
        {"render", "render FILE -o OUT.png the whole job as the machine prints it", kRenderHelp,
         RunRender},
        {"bands", "bands FILE -o DIR      write each band's data and job.txt", kBandsHelp,
         RunBands},
        {"info", "info FILE [--json]     size, bands, paper, time, ink and warnings of FILE",
         kInfoHelp, RunInfo},
        {"print", "print FILE [--copies N] print through the machine link of the settings",
         kPrintHelp, RunPrint},
        {"resume", "resume [--stop]        continue the interrupted job of the installation",
         kResumeHelp, RunResume},
        {"jobs", "jobs [--discard ID]    list the unfinished jobs, or forget one", kJobsHelp,
         RunJobs},
    };
    return commands;
}

int CommandUsageError(const char* pszName) {
    for (const CCliCommand& c : CliCommands()) {
        if (std::strcmp(c.m_pszName, pszName) == 0)
            std::fputs(c.m_pszHelp, stderr);
    }
    return kExitUsage;
}

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
    ChooseCliLanguage(ctx.m_strHome);
    if (i >= argc) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string name = argv[i++];
    if (IsHelp(name)) {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("inkvale-cli %s\n", INKVALE_VERSION);
        return kExitOk;
    }
    for (; i < argc; ++i)
        ctx.m_args.emplace_back(argv[i]);
    for (const CCliCommand& c : CliCommands()) {
        if (name != c.m_pszName)
            continue;
        // "--help" anywhere after the command asks for its usage and runs nothing.
        if (std::any_of(ctx.m_args.begin(), ctx.m_args.end(), IsHelp)) {
            std::fputs(c.m_pszHelp, stdout);
            return kExitOk;
        }
        return c.m_fn(ctx);
    }
    std::fprintf(stderr, "inkvale-cli: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

} // namespace inkvale::cli

int main(int argc, char** argv) {
    inkvale::RestartWithHugePageHeap(argv);
    return inkvale::cli::Main(argc, argv);
}
