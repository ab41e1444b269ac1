// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include <QString>

namespace inkvale {

/// The operator's text of a message from the core: the program's own (Chinese) text in the
/// language the program runs in (the translation loaded at start-up), with its arguments.
QString OperatorText(const CMessage& message);

} // namespace inkvale
