// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimOptions.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

namespace inkvale::sim {

namespace {

bool ToInt(const std::string& strText, int64_t& nValue) {
    const char* pEnd = strText.data() + strText.size();
    int nBase = 10;
    const char* p = strText.data();
    if (strText.size() > 2 && strText[0] == '0' && (strText[1] == 'x' || strText[1] == 'X')) {
        nBase = 16;
        p += 2;
    }
    const auto result = std::from_chars(p, pEnd, nValue, nBase);
    return result.ec == std::errc() && result.ptr == pEnd && p != pEnd;
}

const std::map<std::string, ESimFault>& FaultKinds() {
    static const std::map<std::string, ESimFault> kinds = {
        {"lose", ESimFault::Lose},        {"split", ESimFault::Split},
        {"trickle", ESimFault::Trickle},  {"late", ESimFault::Late},
        {"garble", ESimFault::Garble},    {"drop", ESimFault::Drop},
        {"refuse", ESimFault::RefuseJob}, {"busy", ESimFault::Busy},
        {"stop", ESimFault::StopJob},
    };
    return kinds;
}

bool NeedValue(int& i, int argc, char** argv, std::string& strValue, std::string& strError) {
    if (i + 1 >= argc) {
        strError = std::string("missing value after ") + argv[i];
        return false;
    }
    strValue = argv[++i];
    return true;
}

// "key=value" pairs after the kind; false on a malformed pair.
bool ParseKeys(std::istringstream& in, std::map<std::string, std::string>& keys) {
    std::string strPair;
    while (std::getline(in, strPair, ',')) {
        const size_t nEq = strPair.find('=');
        if (nEq == std::string::npos || nEq == 0)
            return false;
        keys[strPair.substr(0, nEq)] = strPair.substr(nEq + 1);
    }
    return true;
}

bool KeyInt(const std::map<std::string, std::string>& keys, const char* pszKey, int nMin, int nMax,
            int& nOut) {
    const auto it = keys.find(pszKey);
    if (it == keys.end())
        return true;
    int64_t n = 0;
    if (!ToInt(it->second, n) || n < nMin || n > nMax)
        return false;
    nOut = static_cast<int>(n);
    return true;
}

} // namespace

const char* SimUsage() {
    return "usage: inkvale-plotter-sim --listen ADDRESS [--port N] [--sheet OUT.png]\n"
           "         [--param NAME=VALUE ...] [--speed fast|slow] [--fault SPEC ...]\n"
           "         [--run-for MS] [--off-after-bands N] [--quiet]\n"
           "  --param   a parameter-block field by name, NAME[i]=VALUE for arrays\n"
           "            (e.g. HeadCombination=3, HeadPos[1]=200, ExtFlag=0)\n"
           "  --fault   KIND[,frame=P|Q|R|D][,addr=N][,times=N][,skip=N][,value=N][,first=N]\n"
           "            KIND lose|split|trickle|late|garble|drop|refuse|busy|stop (each for\n"
           "            'times' replies after 'skip' matching ones; split sends 'first' bytes,\n"
           "            half by default, then the rest 'value' ms later; trickle sends one\n"
           "            byte every 'value' ms),\n"
           "            or silent[,at=MS][,bands=N][,ms=MS] / state,value=S[,at=MS][,bands=N]\n"
           "            [,ms=MS] (timed: from MS after the start, once N bands are confirmed)\n"
           "  --off-after-bands N  switched off (as at the end of --run-for) once N bands\n"
           "            have been confirmed\n";
}

bool ParseFault(const std::string& strSpec, CSimProgramOptions& options, std::string& strError) {
    std::istringstream in(strSpec);
    std::string strKind;
    std::getline(in, strKind, ',');
    std::map<std::string, std::string> keys;
    strError = "bad fault '" + strSpec + "'";
    if (!ParseKeys(in, keys))
        return false;
    if (strKind == "silent" || strKind == "state") {
        CSimTimedFault timed;
        timed.m_bSilent = strKind == "silent";
        int nState = 0;
        if (!KeyInt(keys, "at", 0, 3600000, timed.m_nAtMs) ||
            !KeyInt(keys, "bands", 0, 1000000, timed.m_nAfterBands) ||
            !KeyInt(keys, "ms", 0, 600000, timed.m_nForMs) ||
            !KeyInt(keys, "value", 0, 255, nState))
            return false;
        timed.m_nState = static_cast<uint8_t>(nState);
        options.m_timedFaults.push_back(timed);
        return true;
    }
    const auto kind = FaultKinds().find(strKind);
    if (kind == FaultKinds().end())
        return false;
    CSimFault fault;
    fault.m_kind = kind->second;
    if (const auto it = keys.find("frame"); it != keys.end()) {
        if (it->second.size() != 1 || std::strchr("PQRD", it->second[0]) == nullptr)
            return false;
        fault.m_cFrame = it->second[0];
    }
    if (!KeyInt(keys, "addr", 0, 255, fault.m_nAddress) ||
        !KeyInt(keys, "times", 1, 1000000, fault.m_nTimes) ||
        !KeyInt(keys, "value", 0, 60000, fault.m_nValue) ||
        !KeyInt(keys, "skip", 0, 1000000, fault.m_nSkip) ||
        !KeyInt(keys, "first", 0, 255, fault.m_nFirst))
        return false;
    options.m_faults.push_back(fault);
    return true;
}

bool ParseSimOptions(int argc, char** argv, CSimProgramOptions& options, std::string& strError) {
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        std::string strValue;
        int64_t n = 0;
        if (strArg == "--quiet") {
            options.m_bQuiet = true;
            continue;
        }
        if (!NeedValue(i, argc, argv, strValue, strError))
            return false;
        if (strArg == "--listen") {
            options.m_strListen = strValue;
        } else if (strArg == "--port") {
            if (!ToInt(strValue, n) || n < 0 || n > 65535)
                return (strError = "bad port '" + strValue + "'"), false;
            options.m_nPort = static_cast<uint16_t>(n);
        } else if (strArg == "--sheet") {
            options.m_strSheet = strValue;
        } else if (strArg == "--param") {
            options.m_params.push_back(strValue);
        } else if (strArg == "--speed") {
            if (strValue != "fast" && strValue != "slow")
                return (strError = "speed is fast or slow"), false;
            options.m_bSlow = strValue == "slow";
        } else if (strArg == "--run-for") {
            if (!ToInt(strValue, n) || n < 0 || n > 86400000)
                return (strError = "bad time '" + strValue + "'"), false;
            options.m_nRunForMs = static_cast<int>(n);
        } else if (strArg == "--off-after-bands") {
            if (!ToInt(strValue, n) || n < 1 || n > 1000000)
                return (strError = "bad band count '" + strValue + "'"), false;
            options.m_nOffAfterBands = static_cast<int>(n);
        } else if (strArg == "--fault") {
            if (!ParseFault(strValue, options, strError))
                return false;
        } else {
            return (strError = "unknown option '" + strArg + "'"), false;
        }
    }
    if (options.m_strListen.empty())
        return (strError = "--listen ADDRESS is required"), false;
    return true;
}

CSimTiming SimTimingFor(bool bSlow) {
    CSimTiming timing;
    if (bSlow) {
        // A real machine's pace: the print-time model of each job's parameter block.
        timing.m_bModelled = true;
        timing.m_nResetMs = 3000;
        timing.m_nTestMs = 3000;
    }
    return timing;
}

bool ConfigureMachine(const CSimProgramOptions& options, CSimMachine& machine,
                      std::string& strError) {
    for (const std::string& strParam : options.m_params) {
        const size_t nEq = strParam.find('=');
        std::string strName = strParam.substr(0, nEq);
        int64_t nIndex = 0;
        if (const size_t nBr = strName.find('['); nBr != std::string::npos) {
            if (strName.back() != ']' ||
                !ToInt(strName.substr(nBr + 1, strName.size() - nBr - 2), nIndex))
                return (strError = "bad parameter '" + strParam + "'"), false;
            strName.resize(nBr);
        }
        int64_t nValue = 0;
        if (nEq == std::string::npos || !ToInt(strParam.substr(nEq + 1), nValue) || nIndex < 0 ||
            nIndex > 3 || !machine.SetParam(strName, nValue, static_cast<int>(nIndex)))
            return (strError = "bad parameter '" + strParam + "'"), false;
    }
    machine.SetTiming(SimTimingFor(options.m_bSlow));
    machine.SetSheetPath(options.m_strSheet);
    for (const CSimFault& fault : options.m_faults)
        machine.AddFault(fault);
    return true;
}

std::string FormatFrame(const CSimFrameLog& frame) {
    std::string strLine = "#" + std::to_string(frame.m_nConnection) + " " + frame.m_cKind;
    const size_t nShow = frame.m_cKind == 'D' ? 16 : frame.m_bytes.size();
    if (frame.m_cKind == 'D')
        strLine += " chunk of " + std::to_string(frame.m_bytes.size()) + " bytes:";
    char szHex[4];
    for (size_t i = 0; i < nShow && i < frame.m_bytes.size(); ++i) {
        std::snprintf(szHex, sizeof szHex, " %02X", frame.m_bytes[i]);
        strLine += szHex;
    }
    return strLine;
}

void CSimFrameLogger::Flush() {
    const std::vector<CSimFrameLog> frames = m_machine.TakeFrames();
    if (m_bQuiet)
        return;
    for (const CSimFrameLog& frame : frames)
        std::fprintf(stderr, "%s\n", FormatFrame(frame).c_str());
}

} // namespace inkvale::sim
