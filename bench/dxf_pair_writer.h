// SPDX-License-Identifier: GPL-3.0-or-later
// The group-code pairs and the number sequence the generated DXF drawings of the benchmarks
// are written with.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace inkvale::bench {

class CDxfPairWriter {
protected:
    explicit CDxfPairWriter(uint64_t nSeed) : m_nSeed(nSeed) {}

    /// One pair, CR LF after the code and the value, the code right-aligned in three places.
    void Pair(int nCode, const char* pszValue) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%3d\r\n", nCode);
        m_s += buf;
        m_s += pszValue;
        m_s += "\r\n";
    }
    void Pair(int nCode, const std::string& value) { Pair(nCode, value.c_str()); }
    void Real(int nCode, double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.6f", v);
        Pair(nCode, buf);
    }
    void Int(int nCode, int v) { Pair(nCode, std::to_string(v)); }
    /// A number in [0, 1) from a fixed linear congruential sequence.
    double Next() {
        m_nSeed = m_nSeed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(m_nSeed >> 11) / 9007199254740992.0;
    }

    std::string m_s; ///< the drawing written so far

private:
    uint64_t m_nSeed;
};

} // namespace inkvale::bench
