// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UndoTexts.h"

#include <QCoreApplication>

namespace inkvale {

namespace {

const char* StepSource(EUndoStep eStep) {
    switch (eStep) {
    case EUndoStep::kAdd:
        return QT_TRANSLATE_NOOP("UndoSteps", "添加");
    case EUndoStep::kDelete:
        return QT_TRANSLATE_NOOP("UndoSteps", "删除");
    case EUndoStep::kCopies:
        return QT_TRANSLATE_NOOP("UndoSteps", "份数");
    case EUndoStep::kQueue:
        return QT_TRANSLATE_NOOP("UndoSteps", "排队");
    case EUndoStep::kUnqueue:
        return QT_TRANSLATE_NOOP("UndoSteps", "取消排队");
    case EUndoStep::kMerge:
        return QT_TRANSLATE_NOOP("UndoSteps", "合并");
    case EUndoStep::kSplit:
        return QT_TRANSLATE_NOOP("UndoSteps", "分割");
    case EUndoStep::kMirror:
        return QT_TRANSLATE_NOOP("UndoSteps", "镜像");
    case EUndoStep::kRotate:
        return QT_TRANSLATE_NOOP("UndoSteps", "旋转");
    case EUndoStep::kOpen:
        return QT_TRANSLATE_NOOP("UndoSteps", "打开任务文件");
    case EUndoStep::kMove:
        return QT_TRANSLATE_NOOP("UndoSteps", "移动");
    case EUndoStep::kEdit:
        return QT_TRANSLATE_NOOP("UndoSteps", "编辑");
    case EUndoStep::kNone:
        break;
    }
    return nullptr;
}

} // namespace

QString UndoActionText(bool bUndo, const CUndoLabel& label) {
    QString text = bUndo ? QCoreApplication::translate("CMainWindow", "撤销")
                         : QCoreApplication::translate("CMainWindow", "重做");
    const char* szStep = StepSource(label.m_eStep);
    if (szStep == nullptr)
        return text;
    text += QLatin1Char(' ') + QCoreApplication::translate("UndoSteps", szStep);
    if (label.m_nTasks > 1)
        text += QLatin1Char(' ') +
                QCoreApplication::translate("UndoSteps", "(%1 个任务)").arg(label.m_nTasks);
    else if (!label.m_strSubject.empty())
        text += QLatin1Char(' ') + QString::fromStdString(label.m_strSubject);
    return text;
}

} // namespace inkvale
