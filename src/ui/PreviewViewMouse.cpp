// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse, wheel and keys of the preview.

#include "config/Settings.h"
#include "model/OnePage.h"
#include "ui/PreviewView.h"
#include "ui/PreviewHost.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace inkvale {

void CPreviewView::UpdateCursor() {
    COnePage* task = m_host.TaskCount() > 0 ? CurrentTask() : nullptr;
    if (!task)
        return;
    if (m_settings.m_nMouseMode == kModeMoveLines && task->m_bHasSelection) {
        m_bGrab = true;
        setCursor(Qt::SizeAllCursor);
    } else {
        m_bGrab = false;
        setCursor(m_settings.m_nMouseMode == kModeMoveView ? Qt::OpenHandCursor : Qt::ArrowCursor);
    }
}

void CPreviewView::LeaveStartMode() {
    m_settings.m_nMouseMode = kModeMoveView;
    m_host.MouseModeChanged();
}

void CPreviewView::mousePressEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton)
        LeftDown(pt, pEvent->modifiers());
    else if (pEvent->button() == Qt::RightButton)
        RightDown(pt);
}

void CPreviewView::mouseReleaseEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton)
        LeftUp(pt, pEvent->modifiers());
    else if (pEvent->button() == Qt::RightButton)
        RightUp(pt);
}

// A double click on empty paper shows the whole drawing; on a curve it stays the second
// press it always was (a click there selects or drags the curve).
void CPreviewView::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton && !CurveAt(pt)) {
        m_bLeftDown = false; // the release that follows belongs to the fit
        RunCommand(kCmdFitWhole);
        return;
    }
    mousePressEvent(pEvent);
}

bool CPreviewView::CurveAt(QPoint pt) {
    const COnePage* task = m_host.TaskCount() > 0 ? CurrentTask() : nullptr;
    if (!task)
        return false;
    return std::any_of(task->m_arrCurves.begin(), task->m_arrCurves.end(),
                       [&](const CCurve& c) { return c.HitTest(m_disp, pt.x(), pt.y()); });
}

void CPreviewView::mouseMoveEvent(QMouseEvent* pEvent) {
    MouseMove(pEvent->position().toPoint());
}

void CPreviewView::LeftDown(QPoint pt, Qt::KeyboardModifiers mods) {
    UpdateCursor();
    if (m_settings.m_nMouseMode == kModeStart) {
        LeaveStartMode();
        m_host.RefreshTaskList(); // the list shows the start position just chosen
    }
    m_bLeftDown = true;
    m_ptLeftPress = m_ptLast = pt;
    if (m_bGrab) {
        m_ptGrabWorld = ScreenToWorld(m_disp, pt.x(), pt.y());
        if (COnePage* task = CurrentTask())
            task->CalcExtents(); // dragging keeps the curve boxes current from here on
        return;
    }
    // Ctrl or Shift adds to the selection: the press keeps it for the release to extend.
    if (mods & (Qt::ControlModifier | Qt::ShiftModifier))
        return;
    if (COnePage* task = CurrentTask()) {
        task->ClearCurveSelection();
        Redraw();
    }
}

void CPreviewView::LeftUp(QPoint pt, Qt::KeyboardModifiers mods) {
    const bool bWasDown = m_bLeftDown;
    m_bLeftDown = false;
    m_rectRubber = QRect();
    if (m_bGrab || m_settings.m_nMouseMode != kModeSelect || !bWasDown) {
        update();
        return;
    }
    if (COnePage* task = CurrentTask()) {
        const CScreenRect rect{
            std::min(m_ptLeftPress.x(), pt.x()), std::min(m_ptLeftPress.y(), pt.y()),
            std::max(m_ptLeftPress.x(), pt.x()), std::max(m_ptLeftPress.y(), pt.y())};
        if (!(mods & (Qt::ControlModifier | Qt::ShiftModifier)))
            task->ClearCurveSelection();
        if (rect.right - rect.left > 10 || rect.bottom - rect.top > 10) {
            // Dragging to the right also takes the curves crossing the rectangle.
            task->SelectCurvesInRect(m_disp, rect, m_ptLeftPress.x() < pt.x());
        } else {
            task->SelectCurveAt(m_disp, pt.x(), pt.y());
        }
    }
    Redraw();
}

void CPreviewView::RightDown(QPoint pt) {
    if (m_settings.m_nMouseMode == kModeStart)
        LeaveStartMode();
    m_ptRightPress = m_ptLast = pt;
    m_bRightDown = true;
    m_bGrab = false;
}

void CPreviewView::RightUp(QPoint pt) {
    m_bRightDown = false;
    if (std::abs(pt.x() - m_ptRightPress.x()) < 1 && std::abs(pt.y() - m_ptRightPress.y()) < 1)
        ShowContextMenu(mapToGlobal(pt));
}

void CPreviewView::contextMenuEvent(QContextMenuEvent* pEvent) {
    // The mouse opens the menu on the button's release (a right drag pans instead); only
    // the keyboard's menu key comes through here.
    if (pEvent->reason() == QContextMenuEvent::Keyboard)
        ShowContextMenu(pEvent->globalPos());
    pEvent->accept();
}

void CPreviewView::MouseMove(QPoint pt) {
    const CScreenPoint w = ScreenToWorld(m_disp, pt.x(), pt.y());
    char text[64];
    std::snprintf(text, sizeof text, Chinese() ? "鼠标:(%dmm,%dmm)" : "Mouse:(%dmm,%dmm)", w.x / 40,
                  w.y / 40);
    m_host.ShowMousePosition(text);
    if (m_settings.m_nMouseMode == kModeStart) {
        if (COnePage* task = CurrentTask())
            PickStart(*task, pt);
        return;
    }
    if (m_bLeftDown && m_bGrab) {
        if (COnePage* task = CurrentTask())
            DragSelected(*task, pt);
    }
    if (m_bLeftDown && !m_bGrab && m_settings.m_nMouseMode == kModeSelect) {
        m_rectRubber = QRect(m_ptLeftPress, pt).normalized();
        update();
    }
    if (m_bRightDown || (m_bLeftDown && m_settings.m_nMouseMode == kModeMoveView))
        Pan(m_ptLast.x() - pt.x(), m_ptLast.y() - pt.y());
    m_ptLast = pt;
    if (!m_bLeftDown && !m_bRightDown)
        UpdateCursor();
}

void CPreviewView::PickStart(COnePage& task, QPoint pt) {
    const int x = ScreenToWorld(m_disp, pt.x(), pt.y()).x;
    task.m_nStartMm = (x > 0 && x < task.m_nMaxX) ? static_cast<int32_t>(x / 40.0) : 0;
    Redraw();
}

void CPreviewView::DragSelected(COnePage& task, QPoint pt) {
    const CScreenPoint w = ScreenToWorld(m_disp, pt.x(), pt.y());
    task.OffsetSelected(w.x - m_ptGrabWorld.x, w.y - m_ptGrabWorld.y);
    m_ptGrabWorld = w;
    task.CalcSelectionExtents();
    // The selection never leaves the paper's lower-left quadrant.
    if (task.m_nSelMinX < 0 || task.m_nSelMinY < 0) {
        task.OffsetSelected(std::max(-task.m_nSelMinX, 0), std::max(-task.m_nSelMinY, 0));
        task.CalcSelectionExtents();
    }
    task.CalcExtents();
    m_host.RefreshTaskList();
    Redraw();
}

void CPreviewView::Pan(int dx, int dy) {
    m_bFitted = false;
    m_disp.m_nPanX += dx;
    m_disp.m_nPanY += dy;
    Redraw();
}

void CPreviewView::ZoomIn() {
    m_bFitted = false;
    m_disp.m_dScale *= 2;
    Redraw();
}

void CPreviewView::ZoomOut() {
    m_bFitted = false;
    if (m_disp.m_dScale > 0.001) {
        m_disp.m_dScale *= 0.5;
        m_disp.m_nPanX /= 2;
        m_disp.m_nPanY /= 2;
    }
    Redraw();
}

void CPreviewView::wheelEvent(QWheelEvent* pEvent) {
    // A notch of a mouse wheel is 120; finer devices add up to whole notches.
    m_nWheelDelta += pEvent->angleDelta().y();
    const QPoint pt = pEvent->position().toPoint();
    pEvent->accept();
    if (m_nWheelDelta > -120 && m_nWheelDelta < 120)
        return;
    m_bFitted = false;
    while (m_nWheelDelta >= 120 || m_nWheelDelta <= -120) {
        const bool bForward = m_nWheelDelta > 0;
        m_nWheelDelta += bForward ? -120 : 120;
        // The point under the cursor stays where it is.
        const CScreenPoint p = ScreenToWorld(m_disp, pt.x(), pt.y());
        m_disp.m_dScale *= bForward ? 1.25 : 0.8;
        const CScreenPoint q = WorldToScreen(m_disp, p.x, p.y);
        m_disp.m_nPanX += q.x - pt.x();
        m_disp.m_nPanY += q.y - pt.y();
    }
    Redraw();
}

void CPreviewView::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
    case Qt::Key_Left:
        RunCommand(kCmdPanLeft);
        break;
    case Qt::Key_Right:
        RunCommand(kCmdPanRight);
        break;
    case Qt::Key_Up:
        RunCommand(kCmdPanUp);
        break;
    case Qt::Key_Down:
        RunCommand(kCmdPanDown);
        break;
    case Qt::Key_PageUp:
        RunCommand(kCmdZoomIn);
        break;
    case Qt::Key_PageDown:
        RunCommand(kCmdZoomOut);
        break;
    case Qt::Key_F:
        // F, with Shift or Caps Lock too; combinations with Ctrl or Alt are left to others.
        if (pEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            QWidget::keyPressEvent(pEvent);
        else
            RunCommand(kCmdFitWhole);
        break;
    default:
        QWidget::keyPressEvent(pEvent);
    }
}

void CPreviewView::keyReleaseEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Delete && !pEvent->isAutoRepeat())
        RunCommand(kCmdDeleteLines);
    else
        QWidget::keyReleaseEvent(pEvent);
}

} // namespace inkvale
