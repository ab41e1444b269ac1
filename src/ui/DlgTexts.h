// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace inkvale {

/// The notice shown when the parameters dialog opens while the machine is offline.
std::string OfflineOpenNotice(int nLanguage);
/// The notice of a save that cannot reach an offline machine (parameters dialog).
std::string OfflineSaveNotice(int nLanguage);
/// The same notice in the offset dialog: nothing for Ukrainian and Russian ("").
std::string OfflineOffsetNotice(int nLanguage);
/// The same notice in the Plot and Directories pages: Chinese, English, Turkish, else "".
std::string OfflineApplyNotice(int nLanguage);
/// The head-combination entries; the fourth and fifth only with the extended block.
std::vector<std::string> HeadCombinationEntries(int nLanguage, bool bExtended);

inline constexpr const char* kParamSaveFailed = "参数保存失败";
inline constexpr const char* kExtParamSaveFailed = "扩展参数保存失败";

} // namespace inkvale
