// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HistoryRow.h"

#include "model/OnePage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string_view>

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

// A field as a spreadsheet reads it back unchanged. Quoted only when it must be (RFC 4180),
// so that the rows of ordinary paths stay as they always were. A field starting like a
// formula ('=', '+', '-', '@', or a tab, which some spreadsheets skip before looking) would
// be run when the history is opened; a leading apostrophe makes the spreadsheet show it as
// text, and the quotes keep that apostrophe part of the field.
std::string CsvField(std::string_view text) {
    const bool bFormula =
        !text.empty() && std::string_view("=+-@\t").find(text.front()) != std::string_view::npos;
    if (!bFormula && text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string field = bFormula ? "\"'" : "\"";
    for (const char ch : text) {
        if (ch == '"')
            field += '"';
        field += ch;
    }
    field += '"';
    return field;
}

} // namespace

std::string FormatHistoryRow(const COnePage& page, const std::tm& local) {
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%d-%02d-%02d_%02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    // Line breaks go before quoting: a quoted field could hold them, but one row per line
    // keeps the file readable for line-by-line tools too.
    std::string path = page.m_strPath;
    for (char& ch : path)
        if (ch == '\n' || ch == '\r')
            ch = '_';
    return CsvField(stamp) + "," + CsvField(path) + ",1," +
           CsvField("len=" + Mm(int64_t{page.m_nMaxX} - page.m_nMinX) + "mm") + "," +
           CsvField("width=" + Mm(int64_t{page.m_nMaxY} - page.m_nMinY) + "mm") + "\n";
}

void AppendHistoryRow(const COnePage& page, const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return;
    const std::string row = FormatHistoryRow(page, local);
    // A link in place of the history could make the program append to any file it may write;
    // only a regular file is appended to, and a FIFO without a reader never blocks the job.
    const int fd = ::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        size_t nDone = 0;
        while (nDone < row.size()) {
            const ssize_t n = ::write(fd, row.data() + nDone, row.size() - nDone);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            nDone += static_cast<size_t>(n);
        }
    }
    ::close(fd);
}

} // namespace inkvale
