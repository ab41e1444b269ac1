// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/InkvaleView.h"

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
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace inkvale {

CInkvaleView::CInkvaleView(CSettings& settings, CPreviewHost& host, CPreviewPrompts* pPrompts,
                           QWidget* pParent)
    : QWidget(pParent), m_settings(settings), m_host(host), m_pPrompts(pPrompts) {
    if (!m_pPrompts) {
        m_pOwnPrompts = std::make_unique<CQtPreviewPrompts>(this);
        m_pPrompts = m_pOwnPrompts.get();
    }
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // the buffer covers the whole window
    UpdateCursor();
}

CInkvaleView::~CInkvaleView() = default;

bool CInkvaleView::Chinese() const {
    return m_settings.Language == 0;
}

COnePage* CInkvaleView::CurrentTask() {
    return m_host.SelectTaskByRow(m_host.CurrentTaskIndex());
}

void CInkvaleView::FitView() {
    m_disp.m_nViewHeight = height();
    m_disp.m_nPanX = 0;
    m_disp.m_nPanY = 0;
    // A window lower than the two margins or a zero roll width would give a scale of zero,
    // a negative one or a division by zero: keep at least one pixel and one millimetre.
    const double paper = std::max<int64_t>(static_cast<int64_t>(m_settings.PaperLenMm), 1) * 40.0;
    m_disp.m_dScale = std::max(height() - 60, 1) / paper;
}

void CInkvaleView::SelectRow(int nRow) {
    const int total = m_host.TaskCount();
    if (total > 0 && nRow < total) {
        nRow = std::max(nRow, 0);
        m_host.SetCurrentTaskIndex(nRow);
        if (COnePage* task = m_host.SelectTaskByRow(nRow)) {
            FitView();
            task->m_bTaskSelected = 1;
            Redraw();
        }
    } else {
        m_host.SetCurrentTaskIndex(0);
    }
}

void CInkvaleView::LoadCurrentDrawing(bool bShowErrors) {
    if (COnePage* task = CurrentTask())
        m_host.LoadDrawing(*task, bShowErrors);
    Redraw();
}

void CInkvaleView::Redraw() {
    m_rectProgress = QRect();
    PaintBuffer();
    UpdateCursor();
    update();
}

void CInkvaleView::PaintBuffer() {
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (m_buffer.size() != size)
        m_buffer = QImage(size, QImage::Format_RGB32);
    m_buffer.fill(Qt::white);
    QPainter p(&m_buffer);
    const CPreviewPainter painter(CPreviewStyle::FromSettings(m_settings));
    COnePage* task = nullptr;
    if (m_host.TaskCount() <= 0)
        m_host.SetCurrentTaskIndex(0);
    else
        task = CurrentTask();
    if (!task) {
        painter.PaintBackground(p, size);
        return;
    }
    painter.PaintPage(p, size, m_disp, *task);
    task->CalcSelectionExtents();
    painter.PaintStartLine(p, m_disp, *task);
}

QImage CInkvaleView::Picture() {
    if (m_buffer.size() != size())
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

void CInkvaleView::paintEvent(QPaintEvent* /*pEvent*/) {
    if (m_buffer.size() != size())
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

void CInkvaleView::resizeEvent(QResizeEvent* /*pEvent*/) {
    FitView();
    Redraw();
}

int32_t CInkvaleView::BandExtent(int n, const CMachineParams& params) {
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

void CInkvaleView::ShowPrintProgress(int nBandsDone, const CMachineParams& params) {
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
