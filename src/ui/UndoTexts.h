// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/UndoHistory.h"

#include <QString>

namespace inkvale {

/// The Edit menu's item for an undo (bUndo) or a redo of the command the label names:
/// "Undo Delete marker.plt", "Redo Copies (3 tasks)"; the plain "Undo"/"Redo" for a label
/// without a command. In the loaded translation.
QString UndoActionText(bool bUndo, const CUndoLabel& label);

} // namespace inkvale
