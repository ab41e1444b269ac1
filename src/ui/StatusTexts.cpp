// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StatusTexts.h"

#include "ui/OperatorText.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>

namespace inkvale {

namespace {

// One state row: texts for Chinese, Turkish, Azerbaijani, Ukrainian, Russian and the rest
// (English), then the colour. Texts holding "%.2f" take the progress.
struct CStateRow {
    std::array<const char*, 6> m_arrText; // 0 zh, 1 tr, 2 az, 3 uk, 4 ru, 5 en
    uint32_t m_nColour;
};

constexpr CStateRow kOffline = {
    {"已脱机...", "Bağlı değil", "oflayn", "Оффлайн", "Офлайн", "Offline"}, kPaneRed};

constexpr std::array<CStateRow, 10> kStates = {{
    {{"Init...", "Init...", "Init...", "Init...", "Init...", "Init..."}, kPaneYellow},
    {{"准备就绪", "Hazır", "Hazır", "Готовий", "Готов", "Ready"}, kPaneGreen},
    {{"清洗喷头...", "Gözenekleri temizle…", "Başlığı təmizləyin...", "Чистка сопел...",
      "Чистка сопел...", "Plot Test..."},
     kPaneYellow},
    {{"正在处理数据...", "Veri işleniyor…", "Data emal olunur...", "Передача даних...",
      "Передача данных...", "Processing..."},
     kPaneYellow},
    {{"工作中,完成%.2f%%", "Çalışıyor, %.2f%% tamamlandı", "İşləyir, %.2f%% tamamlanıb",
      "%.2f%% готово", "%.2f%% готово", "Working, %.2f%% complete"},
     kPaneYellow},
    {{"任务完成...", "İşlem tamamlandı…", "missiya tamamlandı...", "Завдання виконано",
      "Задание исполнено...", "Finishing..."},
     kPaneYellow},
    {{"暂停,完成%.2f%%", "Beklet, %.2f%% tamamlandı", "fasilə, %.2f%% tamamlandı",
      "Пауза, %.2f%% готово", "Пауза, %.2f%% готово", "Pause, %.2f%% complete"},
     kPaneYellow},
    {{"内存错误...", "Hafıza hatası…", "yaddaş xətası…", "MEM ERROR...", "Ошибка памяти...",
      "MEM ERROR..."},
     kPaneRed},
    {{"复位超时，请检查原点感应器",
      "Zaman aşımını sıfırlayın, lütfen orijin sensörünü kontrol edin",
      "Vaxt aşımını sıfırlayın, mənbə sensorunu yoxlayın",
      "Скидання часу очікування, перевірте датчик Origin",
      "Сбрасывание времени ожидания, проверьте датчик Origin", "Init Timeout..."},
     kPaneRed},
    {{"未检测到小车移动", "Taşıyıcı hareketi algılanmadı", "Səbətin hərəkəti aşkarlanmadı",
      "Не виявлено переміщення каретки", "Не определено перемещение каретки",
      "Car Move Time Out, Paper Jam?"},
     kPaneYellow},
}};

constexpr CStateRow kReadingParams = {
    {"正在读取系统参数...", "Sistem parametreleri okunuyor…", "Sistem parametrləri oxunur...",
     "Отримання параметрів системи", "Получение параметров системы", "Connecting..."},
    kPaneYellow};

// Column of a language in the rows above: 0 Chinese, 2..5 their own, everything else English.
size_t Column(int32_t nLanguage) {
    if (nLanguage == 0)
        return 0;
    if (nLanguage >= 2 && nLanguage <= 5)
        return static_cast<size_t>(nLanguage - 1);
    return 5;
}

std::string WithProgress(const char* szFormat, double dProgress) {
    char sz[160];
    std::snprintf(sz, sizeof sz, szFormat, dProgress);
    return sz;
}

// The label of a pane in the operator's language.
std::string PaneLabel(int32_t nLanguage, const char* szChinese, const char* szEnglish) {
    return LanguageText(nLanguage, "StatusTexts", szChinese, szEnglish).toStdString();
}

} // namespace

CStatePane StatePaneText(int nState, bool bOnline, int32_t nLanguage, int32_t nBandCount,
                         int32_t nLastBandDone) {
    CStatePane out;
    if (!bOnline) {
        // The English text belongs to language 1 only; values beyond the table show none.
        const bool bNoText = nLanguage < 0 || nLanguage > 5;
        out.m_pane = {bNoText ? "" : kOffline.m_arrText[Column(nLanguage)], kOffline.m_nColour};
        return out;
    }
    const double dProgress = nBandCount != 0 ? nLastBandDone * 100.0 / nBandCount : 0.0;
    const CStateRow* pRow = nullptr;
    if (nState >= 0 && nState < static_cast<int>(kStates.size()))
        pRow = &kStates[static_cast<size_t>(nState)];
    else if (nState == 0xFF)
        pRow = &kReadingParams;
    if (pRow == nullptr) {
        char sz[48];
        std::snprintf(sz, sizeof sz, "Error code %d", nState);
        out.m_pane = {sz, kPaneRed};
        return out;
    }
    const char* szText = pRow->m_arrText[Column(nLanguage)];
    out.m_pane.m_nColour = pRow->m_nColour;
    if (nState == 4 || (nState == 6 && nBandCount != 0)) {
        out.m_pane.m_strText = WithProgress(szText, dProgress);
        out.m_bDrawProgress = true;
    } else if (nState != 6) {
        out.m_pane.m_strText = szText;
    }
    return out;
}

std::string MousePositionText(int32_t nLanguage, int32_t nX, int32_t nY) {
    char sz[64];
    std::snprintf(sz, sizeof sz, "(%dmm,%dmm)", nX / 40, nY / 40);
    return PaneLabel(nLanguage, QT_TRANSLATE_NOOP("StatusTexts", "鼠标:"), "Mouse:") + sz;
}

std::string PositionText(int32_t nPosX, int32_t nPosY, uint32_t nFeedStepBase,
                         uint32_t nXDotsPerMetre) {
    const double dX = nFeedStepBase != 0 ? nPosX / (nFeedStepBase / 1000.0) : 0.0;
    const double dY = nXDotsPerMetre != 0 ? nPosY / (nXDotsPerMetre / 1000.0) : 0.0;
    char sz[96];
    std::snprintf(sz, sizeof sz, "X:%.1f mm  Y:%.1f mm", dX, dY);
    return sz;
}

std::string MachineIpText(int32_t nLanguage, uint32_t nIP) {
    char sz[64];
    std::snprintf(sz, sizeof sz, "%u.%u.%u.%u", nIP & 0xFF, (nIP >> 8) & 0xFF, (nIP >> 16) & 0xFF,
                  (nIP >> 24) & 0xFF);
    return PaneLabel(nLanguage, QT_TRANSLATE_NOOP("StatusTexts", "绘图仪IP:"), "Machine IP:") + sz;
}

std::string LocalIpText(int32_t nLanguage, const std::string& strList) {
    return PaneLabel(nLanguage, QT_TRANSLATE_NOOP("StatusTexts", "本地IP:"), "Local IP:") + strList;
}

std::string JoinLocalAddresses(const std::vector<std::string>& arrAddresses) {
    std::string out;
    for (size_t i = 0; i < arrAddresses.size() && i < 10; ++i)
        out += "(" + std::to_string(i + 1) + ")" + arrAddresses[i] + " ";
    return out;
}

} // namespace inkvale
