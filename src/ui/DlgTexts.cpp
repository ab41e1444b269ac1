// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DlgTexts.h"

namespace inkvale {

std::string OfflineOpenNotice(int nLanguage) {
    switch (nLanguage) {
    case 0:
        return "已脱机！";
    case 1:
        return "Offline";
    case 2:
        return "Bağlı değil";
    case 3:
        return "oflayn";
    default:
        return "Оффлайн";
    }
}

std::string OfflineSaveNotice(int nLanguage) {
    switch (nLanguage) {
    case 0:
        return "脱机状态无法保存参数";
    case 2:
        return "Bağlı değil";
    case 3:
        return "oflayn";
    default:
        return "Offline";
    }
}

std::string OfflineOffsetNotice(int nLanguage) {
    if (nLanguage == 4 || nLanguage == 5)
        return "";
    return OfflineSaveNotice(nLanguage);
}

std::string OfflineApplyNotice(int nLanguage) {
    switch (nLanguage) {
    case 0:
        return "脱机状态无法保存参数";
    case 1:
        return "Offline";
    case 2:
        return "Çevrimdışı";
    default:
        return "";
    }
}

std::vector<std::string> HeadCombinationEntries(int nLanguage, bool bExtended) {
    std::vector<std::string> entries;
    switch (nLanguage) {
    case 0:
        entries = {"组合1:1#+2#", "组合2:1#", "组合3:2#", "组合4:1#+2#+3#+4#", "组合5:1#+2#+3#"};
        break;
    case 2:
        entries = {"Kombinasyon A : 1. ile 2. hazne", "Kombinasyon B : 1. hazne",
                   "Kombinasyon C : 2. hazne", "Kombinasyon D : 1. + 2. + 3. + 4. hazne",
                   "Kombinasyon E : 1. + 2. + 3. hazne"};
        break;
    case 3:
        entries = {"Qarışıq 1:1#+2#", "Qarışıq 2: 1#", "Qarışıq 3: 2#", "Qarışıq 4:1#+2#+3#+4#",
                   "Qarışıq 5:1#+2#+3#"};
        break;
    case 4:
        entries = {"Комб 1:1#+2#", "Комб 2:1#", "Комб 3:2#", "Комб 4: 1#+2#+3#+4#",
                   "Комб 5: 1#+2#+3#"};
        break;
    case 5:
        entries = {"Комб 1:1#+2#", "Комб 2:1#", "Комб 3:2#", "Комб 4: 1 #+2 #+3 #+4#",
                   "Комб 5: 1 #+2 #+3#"};
        break;
    default:
        entries = {"Combine1:1#+2#", "Combine2:1#", "Combine3:2#", "Combine4:1#+2#+3#+4#",
                   "Combine5:1#+2#+3#"};
        break;
    }
    if (!bExtended)
        entries.resize(3);
    return entries;
}

} // namespace inkvale
