// SPDX-License-Identifier: GPL-3.0-or-later
// A front end that reaches into the window code: the check must refuse it.
#include "core/InkvaleCore.h"
#include "ui/MainWindow.h"
