// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/OnePage.h"
#include "queue/Preflight.h"

#include <QString>

namespace inkvale {

/// The warnings of a task's preflight, one a line ("" when none).
QString PreflightWarningsText(const CPreflight& preflight);
/// What the preview's tooltip says of its task: size, bands, paper, time, ink and the
/// warnings ("" before the drawing has been looked at).
QString PreflightDetailsText(const COnePage& task);
/// The status bar's queue totals: tasks, metres of paper, time and ink.
QString QueueTotalsText(const CQueueTotals& totals);
/// h:mm:ss.
QString DurationText(double dSeconds);

} // namespace inkvale
