// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli preview FILE -o OUT.png [--width PX]: the drawing of FILE loaded as a task and
// painted as the preview shows it after a fit: background, paper frame, grid with its
// labels, curves, in the colours of the settings.

#include "CliBandJob.h"
#include "CliCommand.h"
#include "CliText.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "geometry/ViewTransform.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace inkvale::cli {

namespace {

struct CPreviewArgs {
    std::string m_strFile;
    std::string m_strOut;
    int m_nWidth = 1200;
};

bool ParseArgs(const CCliContext& ctx, CPreviewArgs& args) {
    for (size_t i = 0; i < ctx.m_args.size(); ++i) {
        const std::string& a = ctx.m_args[i];
        if ((a == "-o" || a == "--width") && i + 1 < ctx.m_args.size()) {
            const std::string& v = ctx.m_args[++i];
            if (a == "-o")
                args.m_strOut = v;
            else
                args.m_nWidth = std::atoi(v.c_str());
        } else if (args.m_strFile.empty() && !a.empty() && a[0] != '-') {
            args.m_strFile = a;
        } else {
            return false;
        }
    }
    return !args.m_strFile.empty() && !args.m_strOut.empty() && args.m_nWidth >= 200 &&
           args.m_nWidth <= 20000;
}

// Settings colours are 0x00BBGGRR.
QColor SettingColor(int32_t v) {
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

QPoint Screen(const CViewTransform& disp, int32_t x, int32_t y) {
    const CScreenPoint p = WorldToScreen(disp, x, y);
    return {p.x, p.y};
}

// The window a fit would need to show the whole drawing in nWidth pixels: the preview's fit
// takes its scale from the window height and the paper width, so the height follows from
// the scale that fits the length. Very wide paper under a short drawing is capped at four
// widths high (the drawing then ends before the right edge).
CViewTransform FitWindow(int nWidth, int32_t nMaxX, int32_t nPaper) {
    CViewTransform disp;
    disp.m_dScale = static_cast<double>(nWidth - 70) / std::max(nMaxX, 1);
    int height = static_cast<int>(nPaper * disp.m_dScale) + 60;
    if (nMaxX <= 0 || height > 4 * nWidth || height < 100) {
        height = std::clamp(height, 100, 4 * nWidth);
        if (nMaxX <= 0)
            height = nWidth / 2;
        disp.m_dScale = static_cast<double>(height - 60) / std::max(nPaper, 1);
    }
    disp.m_nViewHeight = height;
    return disp;
}

void DrawGrid(QPainter& p, const CViewTransform& disp, const CSettings& s, int32_t nMaxX,
              int32_t nPaper) {
    const bool bCoarse = disp.m_dScale < 0.005;
    const int32_t step = bCoarse ? 20000 : 8000;
    const int labelStep = bCoarse ? 500 : 200;
    const int ascent = QFontMetrics(p.font()).ascent();
    // Labels are placed by their top-left corner.
    auto label = [&](QPoint at, int value, bool bPadded) {
        p.setPen(SettingColor(s.ColorFr));
        char text[16];
        std::snprintf(text, sizeof text, bPadded ? "%03d" : "%d", value);
        p.drawText(at.x(), at.y() + ascent, QString::fromLatin1(text));
    };
    label(Screen(disp, 0, 0) + QPoint(-12, 6), 0, false);
    for (int32_t k = 1; k <= nMaxX / step; ++k) {
        p.setPen(SettingColor(s.ColorGrid));
        p.drawLine(Screen(disp, k * step, 0), Screen(disp, k * step, nPaper));
        label(Screen(disp, k * step, 0) + QPoint(-12, 6), k * labelStep, true);
    }
    for (int32_t k = 1; k <= nPaper / step; ++k) {
        p.setPen(SettingColor(s.ColorGrid));
        p.drawLine(Screen(disp, 0, k * step), Screen(disp, nMaxX, k * step));
        label(Screen(disp, 0, k * step) + QPoint(-36, -8 - ascent), k * labelStep, true);
    }
}

void DrawCurves(QPainter& p, const CViewTransform& disp, const CSettings& s, const COnePage& page) {
    QPen solid(SettingColor(s.ColorCrv), 0);
    QPen dashed(solid);
    dashed.setStyle(Qt::DashLine);
    QPolygon poly;
    for (const CCurve& c : page.m_arrCurves) {
        if (c.m_arrPoints.empty())
            continue;
        poly.clear();
        for (const CPoint& v : c.m_arrPoints)
            poly << Screen(disp, v.x, v.y);
        p.setPen(c.m_nLineType == 1 ? dashed : solid);
        p.drawPolyline(poly);
    }
}

QImage PaintPreview(const COnePage& page, const CSettings& s, int nWidth) {
    const int32_t paper = s.PaperLenMm * 40;
    const int32_t maxX = page.m_arrCurves.empty() ? 0 : page.m_nMaxX;
    const CViewTransform disp = FitWindow(nWidth, maxX, paper);
    QImage image(nWidth, disp.m_nViewHeight, QImage::Format_RGB32);
    image.fill(SettingColor(s.ColorBg));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false); // one-pixel lines, as the preview has
    if (maxX > 0) {
        p.setPen(QPen(SettingColor(s.ColorFr), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(Screen(disp, 0, paper), Screen(disp, maxX, 0)).adjusted(-4, -4, 4, 4));
        DrawGrid(p, disp, s, maxX, paper);
    }
    DrawCurves(p, disp, s, page);
    return image;
}

} // namespace

int RunPreview(const CCliContext& ctx) {
    CPreviewArgs args;
    if (!ParseArgs(ctx, args))
        return CommandUsageError("preview");
    CSettings settings;
    CMachineParams params;
    const CSettingsLoadResult settingsRead = LoadSettings(settings, params, ctx.m_strHome);
    PrintMessages(settingsRead, settings.Language);
    SetPrintableWidth(settings);
    COnePage page;
    page.m_strPath = args.m_strFile;
    const CTaskLoadResult result = LoadTaskDrawing(page, settings, true);
    PrintMessages(result, settings.Language);
    // As for `curves` and `info`: a file with nothing drawable (HP-GL or DXF alike) is a
    // finding, told on stderr, and shows an empty paper.
    if (!result.Ok() && result.m_nCode != kLoadEmpty) {
        if (result.m_arrMessages.empty())
            std::fprintf(stderr, "%s\n", result.m_strDiag.c_str());
        return kExitFailed;
    }
    if (!page.m_arrCurves.empty())
        page.CalcExtents();
    EnsureCliFonts(); // the grid labels are text
    const QImage image = PaintPreview(page, settings, args.m_nWidth);
    if (!image.save(QString::fromStdString(args.m_strOut), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", args.m_strOut.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace inkvale::cli
