// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/ViewTransform.h"
#include "support/Result.h"
#include "preview/PreviewPainter.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class QScrollBar;

namespace inkvale {

class CMachineParams;
class COnePage;
class CPreviewHost;
class CPreviewPrompts;
struct CSettings;

/// The preview pane: shows the current task's drawing on a model of the paper, zooms and
/// pans, selects and drags curves, picks the start position and edits the task through its
/// context menu. A scroll bar of its own along the bottom edge walks along the paper feed
/// whenever the drawing's length does not fit the window. Window thread only.
class CPreviewView : public QWidget {
    Q_OBJECT

public:
    /// Commands of the context menu and of the main window's keys.
    enum ECommand {
        kCmdDeleteLines = 350,
        kCmdSelectAll = 351,
        kCmdSplitFeed = 352,
        kCmdSplitWidth = 353,
        kCmdMoveToOrigin = 354,
        kCmdMirrorCopy = 357,
        kCmdFit = 289,
        kCmdZoomIn = 294,
        kCmdZoomOut = 295,
        kCmdFitWindow = 296,
        kCmdFitWhole = 298,
        kCmdPanLeft = 299,
        kCmdPanRight = 300,
        kCmdPanUp = 301,
        kCmdPanDown = 302,
    };
    /// Mouse modes (CSettings::m_nMouseMode).
    enum EMouseMode { kModeMoveView = 0, kModeSelect = 1, kModeMoveLines = 2, kModeStart = 3 };

    /// pPrompts nullptr: message boxes and the number prompt as dialogs.
    CPreviewView(CSettings& settings, CPreviewHost& host, CPreviewPrompts* pPrompts = nullptr,
                 QWidget* pParent = nullptr);
    ~CPreviewView() override;

    /// The transform shared by painting and hit tests.
    const CViewTransform& Disp() const { return m_disp; }
    CViewTransform& Disp() { return m_disp; }

    /// Scale from the window height and the roll width; pans reset.
    void FitView();
    /// Scale and pans that show the whole drawing, its length and its width (at least the
    /// roll's), inside the margins the preview keeps round the paper; FitView without a
    /// drawing.
    void FitWhole();
    /// Picks a row as the current task, fits and redraws.
    void SelectRow(int nRow);
    /// Reads the current task's drawing when it has none yet; redraws in every case.
    void LoadCurrentDrawing(bool bShowErrors);
    /// Paints the off-screen picture again and shows it.
    void Redraw();
    /// The task of this path stopped mid-job at plotter X x of its drawing (before its
    /// start position): the preview marks the place ("" for none). Shown at the next
    /// redraw.
    void SetStopMark(const std::string& strPath, int32_t x) {
        m_strStopPath = strPath;
        m_nStopX = x;
    }
    /// Outlines the band the machine confirmed last (nBandsDone bands confirmed), while the
    /// current task prints.
    void ShowPrintProgress(int nBandsDone, const CMachineParams& params);
    /// Runs a command of the context menu or a view key (ECommand); false when unknown.
    bool RunCommand(int nCommand);
    /// The picture as it stands on the screen (buffer, start line, progress marker).
    QImage Picture();
    /// Whether dragging moves the selected curves (mode 2 with a selection).
    bool Grabbing() const { return m_bGrab; }
    /// The scroll bar along the paper feed; its value is the horizontal pan.
    QScrollBar* FeedScrollBar() const { return m_pFeedBar; }

    /// X extent in plotter units of n + 1 bands for the head layout of the parameters.
    static int32_t BandExtent(int n, const CMachineParams& params);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    /// Box of the current task in plotter units as the preview frames it: the paper's
    /// corner (0, 0), the roll width and the drawing.
    struct CShownBox {
        int64_t m_nX0 = 0;
        int64_t m_nX1 = 0;
        int64_t m_nY0 = 0;
        int64_t m_nY1 = 0;
    };

    COnePage* CurrentTask();
    bool ShownBox(CShownBox& box);
    QSize PictureSize() const;
    int FeedBarHeight() const;
    bool FeedBarNeeded();
    void ShowFeedBar(bool bShow);
    void UpdateFeedBar();
    void FeedBarMoved(int nValue);
    bool CurveAt(QPoint pt);
    bool Chinese() const;
    void PaintBuffer();
    void UpdateCursor();
    void LeaveStartMode();
    void ZoomIn();
    void ZoomOut();
    void Pan(int dx, int dy);
    void LeftDown(QPoint pt, Qt::KeyboardModifiers mods);
    void LeftUp(QPoint pt, Qt::KeyboardModifiers mods);
    void RightDown(QPoint pt);
    void RightUp(QPoint pt);
    void MouseMove(QPoint pt);
    void DragSelected(COnePage& task, QPoint pt);
    void PickStart(COnePage& task, QPoint pt);
    void ShowContextMenu(QPoint globalPos);
    void DeleteLines();
    void SelectAll();
    void SplitAlongFeed();
    void SplitAcrossWidth();
    void MoveDrawingToOrigin();
    void MirrorCopy();
    void KeepShowing(uint64_t nTaskId);
    void ShowMessages(const CResult& result);

    CSettings& m_settings;
    CPreviewHost& m_host;
    std::unique_ptr<CPreviewPrompts> m_pOwnPrompts;
    CPreviewPrompts* m_pPrompts;
    CViewTransform m_disp;
    QImage m_buffer;
    bool m_bLeftDown = false;
    bool m_bRightDown = false;
    bool m_bGrab = false;
    QPoint m_ptLeftPress;
    QPoint m_ptRightPress;
    QPoint m_ptLast;
    CScreenPoint m_ptGrabWorld; ///< last mouse point in plotter units while dragging
    QRect m_rectRubber;         ///< rubber band while selecting (null when none)
    QRect m_rectProgress;       ///< band being printed (null when none)
    std::string m_strStopPath;  ///< task whose interrupted job is marked, "" for none
    int32_t m_nStopX = 0;
    int m_nWheelDelta = 0;  ///< wheel turn not yet used (a notch is 120)
    QScrollBar* m_pFeedBar; ///< child along the bottom edge, hidden when the length fits
    bool m_bFitted = false; ///< scale and pans as the last fit left them
};

} // namespace inkvale
