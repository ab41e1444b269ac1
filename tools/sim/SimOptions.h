// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimMachine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace inkvale::sim {

/// A fault that starts at a moment of the run and lasts a while (silence, an error state).
struct CSimTimedFault {
    bool m_bSilent = true; ///< true: stop answering; false: report m_nState
    uint8_t m_nState = 0;
    int m_nAtMs = 0;       ///< after the start of the program
    int m_nAfterBands = 0; ///< and once this many bands have been confirmed
    int m_nForMs = 1000;
};

/// The command line of inkvale-plotter-sim.
struct CSimProgramOptions {
    std::string m_strListen;
    uint16_t m_nPort = 5291;
    std::string m_strSheet;
    std::vector<std::string> m_params; ///< NAME=VALUE or NAME[i]=VALUE
    bool m_bSlow = false;
    bool m_bQuiet = false;
    int m_nRunForMs = 0;      ///< 0: until interrupted
    int m_nOffAfterBands = 0; ///< switched off once this many bands are confirmed; 0: never
    std::vector<CSimFault> m_faults;
    std::vector<CSimTimedFault> m_timedFaults;
};

/// The usage text.
const char* SimUsage();

/// Parses the arguments; false with a reason in strError on wrong usage.
bool ParseSimOptions(int argc, char** argv, CSimProgramOptions& options, std::string& strError);

/// Parses one fault "KIND[,key=value...]" (keys frame, addr, times, value, skip, first;
/// at, ms for the timed ones).
bool ParseFault(const std::string& strSpec, CSimProgramOptions& options, std::string& strError);

/// Applies parameters, speed, sheet and reply faults to the machine; false on an unknown
/// parameter or a bad value.
bool ConfigureMachine(const CSimProgramOptions& options, CSimMachine& machine,
                      std::string& strError);

/// Timing of the two print speeds.
CSimTiming SimTimingFor(bool bSlow);

/// Writes the frames the machine received to stderr, one line each, as they come.
class CSimFrameLogger {
public:
    CSimFrameLogger(CSimMachine& machine, bool bQuiet) : m_machine(machine), m_bQuiet(bQuiet) {}
    void Flush();

private:
    CSimMachine& m_machine;
    bool m_bQuiet;
};

/// One log line: "#CONN KIND hex bytes" (band-data chunks show their size and first bytes).
std::string FormatFrame(const CSimFrameLog& frame);

} // namespace inkvale::sim
