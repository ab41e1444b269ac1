// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HistoryRow.h"

#include "model/OnePage.h"

#include <charconv>
#include <cstdio>

namespace inkvale {

namespace {

constexpr double kMmPerUnit = 0.025;

// Millimetres with two decimals, rounded like "%.2f" in the C locale whatever locale the
// program runs in (a comma decimal point would break the CSV columns).
std::string Mm(int64_t units) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(units) * kMmPerUnit,
                                   std::chars_format::fixed, 2);
    return std::string(buf, res.ptr);
}

} // namespace

std::string FormatHistoryRow(const COnePage& page, const std::tm& local) {
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%d-%02d-%02d_%02d:%02d:%02d,", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string path = page.m_strPath;
    for (char& ch : path)
        if (ch == '\n' || ch == '\r')
            ch = '_';
    return std::string(stamp) + path + ",1,len=" + Mm(int64_t{page.m_nMaxX} - page.m_nMinX) +
           "mm,width=" + Mm(int64_t{page.m_nMaxY} - page.m_nMinY) + "mm\n";
}

void AppendHistoryRow(const COnePage& page, const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return;
    const std::string row = FormatHistoryRow(page, local);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return;
    std::fwrite(row.data(), 1, row.size(), file);
    std::fclose(file);
}

} // namespace inkvale
