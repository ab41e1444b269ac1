// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/BandGeometry.h"

#include <QFont>
#include <QString>

#include <ctime>
#include <optional>
#include <string>

class QPainter;

namespace inkvale {

/// Draws the two text pictures of a job into a band bitmap: the head-cleaning pattern
/// (head marks, logo, bars) and the file-name label with the finish time.
///
/// The faces are "楷体" and "黑体" when installed, else "AR PL UKai CN" and "WenQuanYi Zen
/// Hei". Text needs the font database of a QGuiApplication; without one the pictures
/// cannot be drawn (Ready() is false). Band sender thread; one painter per job.
class CBandTextPainter {
public:
    CBandTextPainter(const CBandGeometry& geometry, std::string strPath);

    /// A QGuiApplication exists, so fonts can be resolved.
    static bool Ready();
    /// The family the system uses for a wanted face: the face itself when installed, else
    /// the fallback (Qt would silently substitute some default face otherwise).
    static QString ResolveFamily(const QString& wanted, const QString& fallback);

    /// The cleaning pattern; bitmap rows are carriage columns, x is the feed pixel.
    void DrawCleaning(QPainter& painter);
    /// The label with the local time tNow (the parameter's fixed time when set).
    void DrawLabel(QPainter& painter, std::time_t tNow);
    /// The label's text for a local time.
    QString LabelText(std::time_t tNow) const;

private:
    enum class EDirection { AlongRows, AgainstRows };
    struct CFace {
        QFont m_font;
        double m_dAscent = 0;
        double m_dStretch = 1; ///< horizontal scale giving the requested character width
    };
    static CFace MakeFace(const QString& family, int nHeight, int nWidth);
    static void DrawText(QPainter& painter, const CFace& face, int x, int row, EDirection dir,
                         const QString& text);

    CBandGeometry m_geo;
    QString m_strPath;
    QString m_strLogo;
};

} // namespace inkvale
