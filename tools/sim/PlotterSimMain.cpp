// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-plotter-sim: plays the plotter on a TCP address so that the program, its tests and
// the demo can print without a machine.

#include "SimOptions.h"
#include "SimServer.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_bStop = 0;

void OnSignal(int) {
    g_bStop = 1;
}

// Starts the timed faults whose moment has come, each once.
void StartDueFaults(inkvale::sim::CSimMachine& machine,
                    std::vector<inkvale::sim::CSimTimedFault>& pending, int nElapsedMs) {
    const int nBands = machine.Stats().m_nBandsConfirmed;
    for (auto it = pending.begin(); it != pending.end();) {
        if (it->m_nAtMs > nElapsedMs || it->m_nAfterBands > nBands) {
            ++it;
            continue;
        }
        if (it->m_bSilent)
            machine.SetSilentFor(it->m_nForMs);
        else
            machine.ForceState(it->m_nState, it->m_nForMs);
        it = pending.erase(it);
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace inkvale::sim;
    CSimProgramOptions options;
    std::string strError;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(SimUsage(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("inkvale-plotter-sim %s\n", INKVALE_VERSION);
            return 0;
        }
    }
    if (!ParseSimOptions(argc, argv, options, strError)) {
        std::fprintf(stderr, "inkvale-plotter-sim: %s\n%s", strError.c_str(), SimUsage());
        return 2;
    }
    CSimMachine machine;
    if (!ConfigureMachine(options, machine, strError)) {
        std::fprintf(stderr, "inkvale-plotter-sim: %s\n", strError.c_str());
        return 2;
    }
    CSimServer server(machine);
    if (!server.Start(options.m_strListen, options.m_nPort, &strError)) {
        std::fprintf(stderr, "inkvale-plotter-sim: %s\n", strError.c_str());
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::fprintf(stderr, "inkvale-plotter-sim: listening on %s:%u\n", options.m_strListen.c_str(),
                 server.Port());
    CSimFrameLogger logger(machine, options.m_bQuiet);
    int nElapsedMs = 0;
    std::vector<CSimTimedFault> pending = options.m_timedFaults;
    while (!g_bStop && (options.m_nRunForMs <= 0 || nElapsedMs < options.m_nRunForMs)) {
        usleep(options.m_nOffAfterBands > 0 ? 5 * 1000 : 50 * 1000);
        nElapsedMs += options.m_nOffAfterBands > 0 ? 5 : 50;
        if (options.m_nOffAfterBands > 0 &&
            machine.Stats().m_nBandsConfirmed >= options.m_nOffAfterBands) {
            machine.SetSilentFor(86'400'000); // no answer from here on, as when switched off
            break;
        }
        StartDueFaults(machine, pending, nElapsedMs);
        logger.Flush();
    }
    server.Stop();
    machine.PowerOff();
    logger.Flush();
    const CSimStats stats = machine.Stats();
    std::fprintf(stderr,
                 "inkvale-plotter-sim: %d connections, %d jobs finished, %d aborted, %d bands, "
                 "%d bands received, %d bad bands, %d sheets\n",
                 stats.m_nConnections, stats.m_nJobsFinished, stats.m_nJobsAborted,
                 stats.m_nBandsConfirmed, stats.m_nBandsReceived, stats.m_nBadBands,
                 stats.m_nSheetsWritten);
    return 0;
}
