// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <array>
#include <cstdint>
#include <vector>

namespace inkvale {

/// What a task's job will take, before it prints.
struct CPreflightFigures {
    double m_dWidthMm = 0.0;  ///< across the roll (the drawing's Y extent)
    double m_dLengthMm = 0.0; ///< along the feed (its X extent)
    int64_t m_nBands = 0;     ///< the job's bands, special bands included
    double m_dPaperMm = 0.0;  ///< paper the job feeds: its bands and the lead-in and out
    double m_dSeconds = 0.0;  ///< print time of one copy (the print-time model)
    int64_t m_nDots = 0;      ///< drops fired, estimated from the strokes
    std::array<double, 4> m_arrInkMl = {}; ///< ink of heads 1# to 4#
};

/// Kinds of preflight warnings, as scripts see them.
enum class EPreflightKind {
    kTooWide,
    kScale,
    kOutside,
    kEmpty,
    kDuplicate,
    kLabelsOnly,
    kNotDrawn,
};

struct CPreflightWarning {
    EPreflightKind m_eKind = EPreflightKind::kEmpty;
    bool m_bBlocking = false; ///< the job cannot print as it is
    CMessage m_message;       ///< for the operator
};

/// The preflight of one task: its figures and its warnings.
struct CPreflight {
    bool m_bDone = false; ///< false until the task's drawing has been looked at
    CPreflightFigures m_figures;
    std::vector<CPreflightWarning> m_arrWarnings;
    uint64_t m_nContentHash = 0; ///< of the task's file and its suffix; 0 when unknown

    bool Blocking() const {
        for (const CPreflightWarning& w : m_arrWarnings) {
            if (w.m_bBlocking)
                return true;
        }
        return false;
    }
    bool Has(EPreflightKind eKind) const {
        for (const CPreflightWarning& w : m_arrWarnings) {
            if (w.m_eKind == eKind)
                return true;
        }
        return false;
    }
};

} // namespace inkvale
