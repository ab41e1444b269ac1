// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListTexts.h"

#include "ui/OperatorText.h"

#include <QCoreApplication>

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace inkvale {

namespace {

constexpr int kLanguages = 6;

struct CColumnText {
    const char* m_szTitle;
    int m_nWidth;
};

// One row per language, one entry per column.
constexpr std::array<std::array<CColumnText, kListColumns>, kLanguages> kColumns{{
    {{{"序号", 64},
      {"状态(排队)", 100},
      {"文件来源", 120},
      {"宽度*长度", 160},
      {"份数", 80},
      {"起始位置", 120},
      {"修改时间", 200},
      {"文件名", 500}}},
    {{{"No.", 64},
      {"State(A)", 100},
      {"From", 120},
      {"Size(X*Y)mm", 160},
      {"Copies", 100},
      {"Start At", 120},
      {"MTime", 200},
      {"File Name", 500}}},
    {{{"Sıra", 64},
      {"Durum(A)", 100},
      {"Dosya Kaynağı", 120},
      {"Çizim (En * Boy)mm", 160},
      {"Çizim Adeti", 80},
      {"Başlangıç", 120},
      {"Ekleme Zamanı", 200},
      {"Dosya Adı", 500}}},
    {{{"Yox.", 64},
      {"Ştat(A)", 100},
      {"Mənbə", 120},
      {"Ölçü (X*Y)mm", 160},
      {"Nüsxələr", 80},
      {"Başlayın", 120},
      {"M Vaxt", 200},
      {"Fayl adı", 500}}},
    {{{"Пор. номер", 100},
      {"Статус (в черзі)", 100},
      {"Дод. файлу", 160},
      {"Ширина * Довжина", 160},
      {"Копії", 120},
      {"Початкова позиція", 120},
      {"Змінено", 200},
      {"Файл", 500}}},
    {{{"Пор. номер", 100},
      {"Статус (в очереди)", 100},
      {"Доб. файла", 120},
      {"Ширина * Длина", 160},
      {"Копии", 100},
      {"Начальная позиция(mm)", 120},
      {"Изменено", 200},
      {"Файл", 500}}},
}};

int LanguageRow(int32_t nLanguage) {
    return nLanguage >= 0 && nLanguage < kLanguages ? nLanguage : 1;
}

bool ValidColumn(int nColumn) {
    return nColumn >= 0 && nColumn < kListColumns;
}

// A millimetre figure as an int; drawings with absurd boxes must not make the conversion
// undefined.
int ClampToInt(double dValue) {
    if (std::isnan(dValue))
        return 0;
    if (dValue >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (dValue <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(dValue);
}

// A cell's text in the operator's language (the translation of the Chinese text where one
// is loaded, else Chinese for language 0 and English for the others).
std::string CellText(int32_t nLanguage, const char* szChinese, const char* szEnglish) {
    return LanguageText(nLanguage, "ListTexts", szChinese, szEnglish).toStdString();
}

std::string StateText(const COnePage& task, int32_t nSource, int32_t nLanguage) {
    if (task.m_nPrintState != 0)
        return CellText(nLanguage, QT_TRANSLATE_NOOP("ListTexts", "打印中"), "Printing");
    std::string strText =
        CellText(nLanguage, QT_TRANSLATE_NOOP("ListTexts", "等待打印"), "Waiting");
    if (task.m_bQueued != 0 && nSource != kSourceAutoDir)
        strText += "(√)";
    return strText;
}

std::string Format(const char* szFormat, int nValue) {
    char szBuf[32];
    std::snprintf(szBuf, sizeof szBuf, szFormat, nValue);
    return szBuf;
}

} // namespace

std::string ListColumnTitle(int32_t nLanguage, int nColumn) {
    if (!ValidColumn(nColumn))
        return {};
    return kColumns[static_cast<size_t>(LanguageRow(nLanguage))][static_cast<size_t>(nColumn)]
        .m_szTitle;
}

int ListColumnWidth(int32_t nLanguage, int nColumn) {
    if (!ValidColumn(nColumn))
        return 0;
    return kColumns[static_cast<size_t>(LanguageRow(nLanguage))][static_cast<size_t>(nColumn)]
        .m_nWidth;
}

bool ListHeadersCentred(int32_t nLanguage) {
    return nLanguage != 0;
}

std::string ListSourceText(int32_t nSource, int32_t nLanguage) {
    if (nSource == kSourceManDir)
        return CellText(nLanguage, QT_TRANSLATE_NOOP("ListTexts", "手动目录"), "Auto Add");
    if (nSource == kSourceAutoDir)
        return CellText(nLanguage, QT_TRANSLATE_NOOP("ListTexts", "自动目录"), "Auto Add");
    return CellText(nLanguage, QT_TRANSLATE_NOOP("ListTexts", "手动打开"), "Manual Add");
}

std::string ListSizeText(const COnePage& task, int32_t nSource) {
    int nWidth = 0;
    int nLength = 0;
    if (nSource == kSourceOpened) {
        nWidth = ClampToInt(task.m_nMaxY / 40.0 + 0.5);
        nLength = ClampToInt(task.m_nMaxX / 40.0 + 0.5);
    } else {
        // The difference of two int32 values may not fit an int32.
        nWidth = ClampToInt(static_cast<double>(int64_t{task.m_nMaxY} - task.m_nMinY) / 40.0);
        nLength = ClampToInt(static_cast<double>(int64_t{task.m_nMaxX} - task.m_nMinX) / 40.0);
    }
    char szBuf[64];
    std::snprintf(szBuf, sizeof szBuf, "%d * %d ", nWidth, nLength);
    return szBuf;
}

std::string ListTimeText(int64_t tTime) {
    if (tTime < std::numeric_limits<std::time_t>::min() ||
        tTime > std::numeric_limits<std::time_t>::max())
        return {};
    const auto tValue = static_cast<std::time_t>(tTime);
    std::tm local{};
    if (localtime_r(&tValue, &local) == nullptr)
        return {};
    char szBuf[80];
    std::snprintf(szBuf, sizeof szBuf, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return szBuf;
}

std::string ListCellText(const COnePage& task, int nRow, int32_t nSource, int nColumn,
                         int32_t nLanguage) {
    switch (nColumn) {
    case 0:
        return Format("%03d", nRow + 1);
    case 1:
        return StateText(task, nSource, nLanguage);
    case 2:
        return ListSourceText(nSource, nLanguage);
    case 3:
        return ListSizeText(task, nSource);
    case 4:
        return Format("%d", task.m_nCopies);
    case 5:
        return Format("%dmm", task.m_nStartMm);
    case 6:
        return ListTimeText(task.m_tTime);
    case 7:
        return task.m_strPath;
    default:
        return {};
    }
}

namespace {

struct CMenuText {
    int m_nId;
    std::array<const char*, kLanguages> m_arrTexts;
};

constexpr std::array<CMenuText, 10> kMenuTexts{{
    {275, {"删除", "Delete", "Sil", "Sil", "Видалити", "Удалить"}},
    {334,
     {"删除份数为0的项", "Delete Items With 0 Copies", "0 Adetli Çizimleri Sil",
      "0 nüsxəli elementləri sil", "Видалити позиції з 0 копій", "Удалить позиции с 0 копий"}},
    {kMenuMergePopup, {"合并", "Merge", "Birleştir", "Birləşdir", "Об'єднати", "Объединить"}},
    {331,
     {"上下合并", "Merge Top-Bottom", "Üst-Alt Birleştir", "Üst-alt birləşdir",
      "Об'єднати зверху вниз", "Объединить сверху вниз"}},
    {330,
     {"前后合并", "Merge Front-Back", "Ön-Arka Birleştir", "Ön-arxa birləşdir",
      "Об'єднати спереду назад", "Объединить спереди назад"}},
    {332, {"排队打印", "Queue", "Sıraya Al", "Növbəyə qoy", "У чергу", "В очередь"}},
    {333,
     {"取消排队", "Unqueue", "Sıradan Çıkar", "Növbədən çıxar", "Зняти з черги",
      "Снять с очереди"}},
    {335, {"移至最前", "Move To Top", "En Üste Taşı", "Ən yuxarıya", "На початок", "В начало"}},
    {336, {"上移", "Move Up", "Yukarı Taşı", "Yuxarı", "Вгору", "Вверх"}},
    {337, {"下移", "Move Down", "Aşağı Taşı", "Aşağı", "Вниз", "Вниз"}},
}};

} // namespace

std::string ListMenuText(int32_t nLanguage, int nId) {
    for (const CMenuText& text : kMenuTexts)
        if (text.m_nId == nId)
            return text.m_arrTexts[static_cast<size_t>(LanguageRow(nLanguage))];
    return {};
}

} // namespace inkvale
