// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewView.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "model/OnePage.h"
#include "ui/PreviewHost.h"
#include "ui/QtPreviewPrompts.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace inkvale {

namespace {

// Room kept round the paper by the fits: the origin sits 50 pixels from the left edge and
// 30 pixels above the bottom one (the transform's fixed offsets), with 20 pixels beyond
// the drawing's end and 30 above the roll.
constexpr int kMarginLeftPx = 50;
constexpr int kMarginsAlongPx = 70;
constexpr int kMarginsAcrossPx = 60;

// A pixel position far outside any screen as an int: the scroll bar's range and the pans
// stay well inside the int range even at an absurd zoom.
int PixelsInRange(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

} // namespace

CPreviewView::CPreviewView(CSettings& settings, CPreviewHost& host, CPreviewPrompts* pPrompts,
                           QWidget* pParent)
    : QWidget(pParent), m_settings(settings), m_host(host), m_pPrompts(pPrompts) {
    if (!m_pPrompts) {
        m_pOwnPrompts = std::make_unique<CQtPreviewPrompts>(this);
        m_pPrompts = m_pOwnPrompts.get();
    }
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // the buffer and the scroll bar cover the window
    m_pFeedBar = new QScrollBar(Qt::Horizontal, this);
    m_pFeedBar->setFocusPolicy(Qt::NoFocus); // keys stay with the preview
    m_pFeedBar->setCursor(Qt::ArrowCursor);
    m_pFeedBar->setSingleStep(80); // as far as an arrow key pans
    m_pFeedBar->hide();
    connect(m_pFeedBar, &QScrollBar::valueChanged, this, &CPreviewView::FeedBarMoved);
    UpdateCursor();
}

CPreviewView::~CPreviewView() = default;

bool CPreviewView::Chinese() const {
    return m_settings.Language == 0;
}

COnePage* CPreviewView::CurrentTask() {
    const int nRow = m_host.CurrentTaskIndex();
    return nRow < 0 ? nullptr : m_host.TaskAtRow(nRow);
}

void CPreviewView::FitView() {
    m_bFitted = true;
    m_disp.m_nViewHeight = PictureSize().height();
    m_disp.m_nPanX = 0;
    m_disp.m_nPanY = 0;
    // A window lower than the two margins or a zero roll width would give a scale of zero,
    // a negative one or a division by zero: keep at least one pixel and one millimetre.
    // The scale follows the whole window's height even while the scroll bar covers its
    // bottom: the bar then takes part of the margin above the roll, and the picture does
    // not depend on whether the drawing was read before or after the fit.
    const double paper = std::max<int64_t>(static_cast<int64_t>(m_settings.PaperLenMm), 1) * 40.0;
    m_disp.m_dScale = std::max(height() - kMarginsAcrossPx, 1) / paper;
}

void CPreviewView::FitWhole() {
    CShownBox box;
    if (!ShownBox(box)) {
        FitView();
        return;
    }
    m_bFitted = true;
    ShowFeedBar(false); // the whole length will show
    const double length = static_cast<double>(std::max<int64_t>(box.m_nX1 - box.m_nX0, 1));
    const double across = static_cast<double>(std::max<int64_t>(box.m_nY1 - box.m_nY0, 1));
    const double along = std::max(width() - kMarginsAlongPx, 1) / length;
    const double wide = std::max(height() - kMarginsAcrossPx, 1) / across;
    m_disp.m_dScale = std::min(along, wide);
    m_disp.m_nViewHeight = PictureSize().height();
    // The box's lower-left corner goes where the paper's origin sits unpanned.
    m_disp.m_nPanX = PixelsInRange(std::round(static_cast<double>(box.m_nX0) * m_disp.m_dScale));
    m_disp.m_nPanY = PixelsInRange(-std::round(static_cast<double>(box.m_nY0) * m_disp.m_dScale));
}

bool CPreviewView::ShownBox(CShownBox& box) {
    COnePage* task = m_host.TaskCount() > 0 ? CurrentTask() : nullptr;
    if (!task || task->m_arrCurves.empty())
        return false;
    const int64_t paper = std::max<int64_t>(static_cast<int64_t>(m_settings.PaperLenMm), 1) * 40;
    box.m_nX0 = std::min<int64_t>(task->m_nMinX, 0);
    box.m_nX1 = std::max<int64_t>(task->m_nMaxX, 0);
    box.m_nY0 = std::min<int64_t>(task->m_nMinY, 0);
    box.m_nY1 = std::max<int64_t>(task->m_nMaxY, paper);
    return true;
}

QSize CPreviewView::PictureSize() const {
    const int bar = m_pFeedBar->isHidden() ? 0 : FeedBarHeight();
    return QSize(std::max(width(), 1), std::max(height() - bar, 1));
}

int CPreviewView::FeedBarHeight() const {
    return m_pFeedBar->sizeHint().height();
}

// The bar shows while one end of the drawing lies beyond the window's left or right edge,
// unless the window is too low to give it room.
bool CPreviewView::FeedBarNeeded() {
    CShownBox box;
    if (height() < 3 * FeedBarHeight() || !ShownBox(box))
        return false;
    const double s = m_disp.m_dScale;
    const double shift = kMarginLeftPx - m_disp.m_nPanX;
    const double left = static_cast<double>(box.m_nX0) * s + shift;
    const double right = static_cast<double>(box.m_nX1) * s + shift;
    return !(left >= 0 && right <= width());
}

// The picture ends above a shown bar. A fitted view keeps the origin's distance from the
// picture's bottom edge, so the rulers under the paper stay in sight above the bar (the
// drawing may be read only after the fit). Once zoomed or panned, the transform keeps its
// height and everything stays where it is on the screen: the point under the mouse does
// not jump when the bar comes or goes, and the pans stay as the keys and the mouse left
// them.
void CPreviewView::ShowFeedBar(bool bShow) {
    if (bShow != m_pFeedBar->isHidden())
        return;
    m_pFeedBar->setVisible(bShow);
    if (m_bFitted)
        m_disp.m_nViewHeight = PictureSize().height();
}

// Range in pans (m_nPanX): from the one that puts the drawing's start at the left margin
// to the one that puts its end at the right margin, widened to take the current pan.
void CPreviewView::UpdateFeedBar() {
    ShowFeedBar(FeedBarNeeded());
    const int bar = FeedBarHeight();
    m_pFeedBar->setGeometry(0, height() - bar, width(), bar);
    CShownBox box;
    if (m_pFeedBar->isHidden() || !ShownBox(box))
        return;
    const double s = m_disp.m_dScale;
    const int pan = m_disp.m_nPanX;
    const int first = PixelsInRange(std::floor(static_cast<double>(box.m_nX0) * s));
    const int last =
        PixelsInRange(std::ceil(static_cast<double>(box.m_nX1) * s + kMarginsAlongPx - width()));
    const QSignalBlocker block(m_pFeedBar);
    m_pFeedBar->setRange(std::min(first, pan), std::max({last, pan, first}));
    m_pFeedBar->setPageStep(std::max(width(), 1));
    m_pFeedBar->setValue(pan);
}

void CPreviewView::FeedBarMoved(int nValue) {
    if (nValue == m_disp.m_nPanX)
        return;
    m_bFitted = false;
    m_disp.m_nPanX = nValue;
    Redraw();
}

// The task list keeps the selection; the preview only follows the current task.
void CPreviewView::SelectRow(int nRow) {
    const int total = m_host.TaskCount();
    if (total > 0 && nRow < total) {
        nRow = std::max(nRow, 0);
        m_host.SetCurrentTaskIndex(nRow);
        FitView();
        Redraw();
    } else {
        m_host.SetCurrentTaskIndex(-1);
    }
}

void CPreviewView::LoadCurrentDrawing(bool bShowErrors) {
    if (COnePage* task = CurrentTask())
        m_host.LoadDrawing(*task, bShowErrors);
    Redraw();
}

void CPreviewView::Redraw() {
    m_rectProgress = QRect();
    UpdateFeedBar();
    PaintBuffer();
    UpdateCursor();
    update();
}

void CPreviewView::PaintBuffer() {
    const QSize size = PictureSize();
    if (m_buffer.size() != size)
        m_buffer = QImage(size, QImage::Format_RGB32);
    m_buffer.fill(Qt::white);
    QPainter p(&m_buffer);
    const CPreviewPainter painter(CPreviewStyle::FromSettings(m_settings));
    COnePage* task = CurrentTask();
    if (!task) {
        painter.PaintBackground(p, size);
        return;
    }
    painter.PaintPage(p, size, m_disp, *task);
    task->CalcSelectionExtents();
    painter.PaintStartLine(p, m_disp, *task);
    if (!m_strStopPath.empty() && task->m_strPath == m_strStopPath)
        painter.PaintStopLine(p, m_disp, *task,
                              m_nStopX + static_cast<int64_t>(task->m_nStartMm) * 40);
}

QImage CPreviewView::Picture() {
    if (m_buffer.size() != PictureSize())
        PaintBuffer();
    QImage image = m_buffer.copy();
    if (!m_rectProgress.isNull()) {
        QPainter p(&image);
        p.setPen(QPen(QColor(0, 0xC8, 0xFF), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_rectProgress);
    }
    return image;
}

void CPreviewView::paintEvent(QPaintEvent* /*pEvent*/) {
    if (m_buffer.size() != PictureSize())
        PaintBuffer();
    QPainter p(this);
    p.drawImage(0, 0, m_buffer);
    if (!m_rectProgress.isNull()) {
        p.setPen(QPen(QColor(0, 0xC8, 0xFF), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_rectProgress);
    }
    if (!m_rectRubber.isNull()) {
        // Inverted dotted outline: visible on any background.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 0, Qt::DotLine));
        p.drawRect(m_rectRubber);
    }
}

void CPreviewView::resizeEvent(QResizeEvent* /*pEvent*/) {
    FitView();
    Redraw();
}

int32_t CPreviewView::BandExtent(int n, const CMachineParams& params) {
    const double bands = n + 1.0;
    const double o12 = params.HeadOverlap(0);
    const double o23 = params.HeadOverlap(1);
    const double o34 = params.HeadOverlap(2);
    double b = 0.0;
    switch (params.HeadCombination()) {
    case 0:
        b = bands * (300 - o12) * 25.4 / 300 * 40;
        break;
    case 1:
    case 2:
        b = bands * 25.4 * 0.5 * 40;
        break;
    case 3:
        b = bands * (600 - o34 - o23 - o12) * 25.4 / 300 * 40;
        break;
    case 4:
        b = bands * (450 - o23 - o12) * 25.4 / 300 * 40;
        break;
    default:
        break;
    }
    if (params.PreciseMode())
        b /= 2;
    return static_cast<int32_t>(std::clamp(b, -2e9, 2e9));
}

void CPreviewView::ShowPrintProgress(int nBandsDone, const CMachineParams& params) {
    COnePage* task = CurrentTask();
    if (!task || task->m_nPrintState != PS_PRINTING)
        return;
    const int64_t s = static_cast<int64_t>(task->m_nStartMm) * 40;
    const int64_t x0 = std::clamp<int64_t>(s + BandExtent(nBandsDone - 1, params), 0, INT32_MAX);
    const int64_t x1 = std::clamp<int64_t>(s + BandExtent(nBandsDone, params), 0, INT32_MAX);
    const CPreviewStyle style = CPreviewStyle::FromSettings(m_settings);
    const CScreenPoint a = WorldToScreen(m_disp, static_cast<int32_t>(x0), 0);
    const CScreenPoint b = WorldToScreen(m_disp, static_cast<int32_t>(x1), style.m_nPaperUnits);
    m_rectProgress = OutlineRect(QPoint(a.x, a.y), QPoint(b.x, b.y));
    update();
}

} // namespace inkvale
