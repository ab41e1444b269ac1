// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/OnePage.h"

#include <cstdint>
#include <string>

namespace inkvale {

// Texts of the task list window: the column headers in the six languages (0 Chinese,
// 1 English, 2 Turkish, 3 Azerbaijani, 4 Ukrainian, 5 Russian), the cell texts (Chinese for
// language 0, English for every other one) and the context menu. An unknown language index
// falls back to English.

/// Number of columns of the task list.
inline constexpr int kListColumns = 8;
/// Columns whose header click sorts the lists.
inline constexpr int kColumnTime = 6;
inline constexpr int kColumnPath = 7;

/// Header text of a column (UTF-8); "" for a column outside 0..7.
std::string ListColumnTitle(int32_t nLanguage, int nColumn);
/// Width of a column in pixels; 0 for a column outside 0..7.
int ListColumnWidth(int32_t nLanguage, int nColumn);
/// Chinese headers are left-aligned, every other language's centred.
bool ListHeadersCentred(int32_t nLanguage);

/// Text of one cell of a task's row. nRow is the task's global row, nSource the list it
/// is in (kSourceOpened, kSourceManDir, kSourceAutoDir).
std::string ListCellText(const COnePage& task, int nRow, int32_t nSource, int nColumn,
                         int32_t nLanguage);
/// The "From" text of a list.
std::string ListSourceText(int32_t nSource, int32_t nLanguage);
/// Width and length cell ("%d * %d ").
std::string ListSizeText(const COnePage& task, int32_t nSource);
/// Local time as "YYYY-MM-DD hh:mm:ss"; "" for a time the C library cannot convert.
std::string ListTimeText(int64_t tTime);

/// Text of a context-menu command (275, 330..337) or of the merge popup (kMenuMergePopup).
std::string ListMenuText(int32_t nLanguage, int nId);
inline constexpr int kMenuMergePopup = -1;

} // namespace inkvale
