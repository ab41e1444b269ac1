// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "geometry/Point.h"
#include "queue/TaskQueue.h"
