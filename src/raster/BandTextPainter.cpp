// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/BandTextPainter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

namespace inkvale {

namespace {

const QString kKai = QStringLiteral("楷体");
const QString kHei = QStringLiteral("黑体");
const QString kKaiFallback = QStringLiteral("AR PL UKai CN");
const QString kHeiFallback = QStringLiteral("WenQuanYi Zen Hei");

const QColor kInk(Qt::white);

} // namespace

CBandTextPainter::CBandTextPainter(const CBandGeometry& geometry, std::string strPath)
    : m_geo(geometry), m_strPath(QString::fromStdString(strPath)),
      m_strLogo(QString::fromStdString(geometry.Params().m_strCustomString)) {}

bool CBandTextPainter::Ready() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QString CBandTextPainter::ResolveFamily(const QString& wanted, const QString& fallback) {
    const QFontInfo info{QFont(wanted)};
    if (info.exactMatch() || info.family().compare(wanted, Qt::CaseInsensitive) == 0)
        return wanted;
    return fallback;
}

// The fonts are specified like the platform's logical fonts: the height is the character
// cell (ascent + descent) and the width the average width of a half-width character, so
// a full-width character is twice as wide.
CBandTextPainter::CFace CBandTextPainter::MakeFace(const QString& family, int nHeight, int nWidth) {
    CFace face;
    face.m_font = QFont(family);
    face.m_font.setStyleStrategy(QFont::NoAntialias);
    face.m_font.setPixelSize(1000);
    const QFontMetricsF probe(face.m_font);
    const double dCell = probe.ascent() + probe.descent();
    const int nPixelSize = std::max(1, qRound(nHeight * 1000.0 / (dCell > 0 ? dCell : 1000.0)));
    face.m_font.setPixelSize(nPixelSize);
    face.m_dAscent = QFontMetricsF(face.m_font).ascent();
    face.m_dStretch = 2.0 * nWidth / nPixelSize;
    return face;
}

// The reference point is the top left corner of the text; AlongRows runs the text toward
// higher rows with the glyphs' tops toward higher pixels, AgainstRows the reverse.
void CBandTextPainter::DrawText(QPainter& painter, const CFace& face, int x, int row,
                                EDirection dir, const QString& text) {
    painter.save();
    painter.translate(x, row);
    painter.rotate(dir == EDirection::AlongRows ? 90.0 : -90.0);
    painter.scale(face.m_dStretch, 1.0);
    painter.setFont(face.m_font);
    painter.setPen(kInk);
    painter.drawText(QPointF(0, face.m_dAscent), text);
    painter.restore();
}

void CBandTextPainter::DrawCleaning(QPainter& painter) {
    const CFace marks = MakeFace(ResolveFamily(kKai, kKaiFallback), 80, 16);
    const bool bFour = m_geo.IsFourHead();
    static const int kTwoHeads[] = {115, 260};
    static const int kFourHeads[] = {115, 265, 415, 565};
    const int nHeads = bFour ? 4 : 2;
    for (int h = 0; h < nHeads; ++h) {
        const int x = bFour ? kFourHeads[h] : kTwoHeads[h];
        DrawText(painter, marks, x, 80, EDirection::AlongRows, QString("%1#").arg(h + 1));
    }
    const CFace logo = MakeFace(ResolveFamily(kHei, kHeiFallback), 114, 28);
    DrawText(painter, logo, 210, 746, EDirection::AlongRows, m_strLogo);

    // Bars: a one-pixel black outline around a white fill, so ink covers the interior only.
    const int n = static_cast<int>(m_strLogo.size());
    const int t = m_geo.Params().m_nIBCleanThickness;
    const int nRight = bFour ? 599 : 299;
    const int nInnerRows = 3 * t + 3;
    if (nInnerRows <= 0)
        return;
    for (int k = 0; k < (bFour ? 2880 : 720); k += 40) {
        const int nTop = 1114 + 56 * n + k;
        painter.fillRect(QRect(1, nTop + 1, nRight - 2, nInnerRows), kInk);
    }
}

QString CBandTextPainter::LabelText(std::time_t tNow) const {
    std::tm t{};
    localtime_r(&tNow, &t);
    if (m_geo.Params().m_nLanguage == 0)
        return QStringLiteral("文件名：") + m_strPath +
               QString::asprintf(" 打印完成时间:%4d年%02d月%02d日%02d时%02d分%02d秒",
                                 t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                                 t.tm_sec);
    return QStringLiteral("File Name:") + m_strPath +
           QString::asprintf(" Finish time %4d-%02d-%02d %02dh%02dm%02ds", t.tm_year + 1900,
                             t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

void CBandTextPainter::DrawLabel(QPainter& painter, std::time_t tNow) {
    const QString text = LabelText(tNow);
    const CFace face = MakeFace(ResolveFamily(kHei, kHeiFallback), 60, 15);
    // The text ends at row 400 and runs back toward it from 15 rows per character further.
    const int nRow = 15 * static_cast<int>(text.size()) + 400;
    DrawText(painter, face, 0, nRow, EDirection::AgainstRows, text);
}

} // namespace inkvale
