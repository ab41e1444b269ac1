// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DlgScreenshot.h"

#include "ui/DlgPrompts.h"

#include <QImage>
#include <QPixmap>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>
#include <fstream>

namespace inkvale {

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t n, int nBytes) {
    for (int i = 0; i < nBytes; ++i)
        out.push_back(static_cast<uint8_t>(n >> (8 * i)));
}

} // namespace

std::vector<uint8_t> EncodeBmp16(const QImage& image) {
    const uint32_t nWidth = static_cast<uint32_t>(image.width());
    const uint32_t nHeight = static_cast<uint32_t>(image.height());
    const uint32_t nRowBytes = (nWidth * 16 + 31) / 32 * 4;
    const uint32_t nImageSize = nHeight * nRowBytes;
    std::vector<uint8_t> out;
    out.reserve(54 + nImageSize);
    out.push_back('B');
    out.push_back('M');
    PutLe(out, nImageSize + 54, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, nWidth, 4);
    PutLe(out, nHeight, 4);
    PutLe(out, 1, 2);
    PutLe(out, 16, 2);
    PutLe(out, 0, 4); // no compression: 16 bits mean 5-5-5
    PutLe(out, nImageSize, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = static_cast<int>(nHeight) - 1; y >= 0; --y) {
        for (int x = 0; x < static_cast<int>(nWidth); ++x) {
            const QRgb c = rgb.pixel(x, y);
            const uint32_t n = ((static_cast<uint32_t>(qRed(c)) >> 3) << 10) |
                               ((static_cast<uint32_t>(qGreen(c)) >> 3) << 5) |
                               (static_cast<uint32_t>(qBlue(c)) >> 3);
            PutLe(out, n, 2);
        }
        for (uint32_t k = nWidth * 2; k < nRowBytes; ++k)
            out.push_back(0);
    }
    return out;
}

std::string ScreenshotFileName(int nLanguage, const std::tm& tm) {
    char sz[128];
    if (nLanguage == 0)
        std::snprintf(sz, sizeof sz, "参数%d年%02d月%02d日%02d时%02d分%02d秒.jpg",
                      tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                      tm.tm_sec);
    else
        std::snprintf(sz, sizeof sz, "Para%04d-%02d-%02d %02dh%02dm%02ds.jpg", tm.tm_year + 1900,
                      tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return sz;
}

std::string SaveDialogScreenshot(QWidget& widget, int nLanguage, const std::string& strFolder,
                                 CDlgPrompts& prompts) {
    std::string strDir =
        strFolder.empty()
            ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString()
            : strFolder;
    if (!strDir.empty() && strDir.back() != '/')
        strDir += '/';
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    const std::string strPath = strDir + ScreenshotFileName(nLanguage, tm);
    const std::vector<uint8_t> bytes = EncodeBmp16(widget.grab().toImage());
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    if (!file || !file.flush()) {
        prompts.ShowNote("提示", "Create File Error!");
        return "";
    }
    prompts.ShowNote("Note", (nLanguage == 0 ? "截图成功保存到" : "Capture save to ") + strPath);
    return strPath;
}

} // namespace inkvale
