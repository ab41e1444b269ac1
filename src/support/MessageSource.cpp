// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MessageSource.h"

// Marks a text for the translations without making this library depend on Qt: the
// translation tools read this name as QT_TRANSLATE_NOOP (scripts/update-translations.sh).
// Texts that every language shows alike are not marked.
#define INKVALE_TRANSLATE_NOOP(context, text) text

namespace inkvale {

CMessageSource MessageSource(EMsg eId) {
    switch (eId) {
    case EMsg::kNone:
        break;
    case EMsg::kOpenFileFailed:
        return {INKVALE_TRANSLATE_NOOP("Messages", "文件打开失败!"), "Open File Failed!"};
    case EMsg::kAlreadyOpen:
        return {INKVALE_TRANSLATE_NOOP("Messages", "重复打开"), "Already Open"};
    case EMsg::kFileTooLarge:
        return {INKVALE_TRANSLATE_NOOP("Messages", "文件大小超出限制"), "File size too large"};
    case EMsg::kJobTooWide:
        return {INKVALE_TRANSLATE_NOOP("Messages", "超出机器幅宽！请重新设置右边据和纸张宽度！"),
                "Out of size in Y: please change the right margin and the paper width, or open "
                "another plt file."};
    case EMsg::kDataOverflow:
        return {"data over flow", "data over flow"};
    case EMsg::kFileOpenError:
        return {"File Open Error", "File Open Error"};
    case EMsg::kFileWriteError:
        return {"File Write Error", "File Write Error"};
    case EMsg::kTaskFileFormat:
        return {INKVALE_TRANSLATE_NOOP("Messages", "意外的文件格式。"), "Unexpected file format."};
    case EMsg::kTaskFileRead:
        return {INKVALE_TRANSLATE_NOOP("Messages", "读取 %1 时发生了错误。"),
                "An error occurred while reading %1."};
    case EMsg::kSettingsUnreadable:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "设置文件无法读取，已保留为 %1。程序正在使用默认设置"
                                       "（包括机器的 IP 地址），请检查设置。"),
                "The settings file could not be read and has been kept as %1. The program is "
                "using the default settings (the machine's IP address included); please check "
                "the settings."};
    case EMsg::kSplitTooShort:
        return {INKVALE_TRANSLATE_NOOP("Messages", "由于输入的段长太短，分割失败！"),
                "Page length too short, split failed!"};
    case EMsg::kSplitNotShorter:
        return {
            INKVALE_TRANSLATE_NOOP("Messages", "分割段长 %1 mm 不短于图形长度 %2 mm，没有分割。"),
            "The split length of %1 mm is not shorter than the drawing (%2 mm); nothing "
            "was split."};
    case EMsg::kTaskGone:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "对话框打开期间该任务已被删除或替换，没有执行操作。"),
                "The task was deleted or replaced while the dialog was open; nothing was done."};
    case EMsg::kFileRejected:
        return {
            INKVALE_TRANSLATE_NOOP(
                "Messages", "自动文件夹中的 %1 无法打印，已移到 %2，旁边的文本文件说明了原因。"),
            "%1 in the automatic folder cannot be printed. It was moved to %2; the text "
            "file beside it says why."};
    case EMsg::kFileRejectFailed:
        return {INKVALE_TRANSLATE_NOOP(
                    "Messages", "%1 无法打印，也无法移到 Rejected 文件夹（%2）。文件保留在原处。"),
                "%1 cannot be printed and could not be moved to the Rejected folder (%2). The "
                "file stays where it is."};
    case EMsg::kFileOverLimit:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 有 %2 MB，超过了 %3 MB 的文件大小限制。"),
                "%1 has %2 MB, more than the file size limit of %3 MB."};
    case EMsg::kMachineOffline:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。"),
                "The machine does not answer: check its power, the network or USB cable, and "
                "the machine's address."};
    case EMsg::kMachineNotReady:
        return {INKVALE_TRANSLATE_NOOP("Messages", "机器还没有准备就绪。"),
                "The machine is not ready yet."};
    case EMsg::kJobRunning:
        return {INKVALE_TRANSLATE_NOOP("Messages", "正在打印任务，请等它结束。"),
                "A job is printing; wait until it ends."};
    case EMsg::kNothingToPause:
        return {INKVALE_TRANSLATE_NOOP("Messages", "没有正在打印的任务可以暂停。"),
                "No job is printing that could be paused."};
    case EMsg::kNothingToStop:
        return {INKVALE_TRANSLATE_NOOP("Messages", "没有可以停止的任务。"),
                "No job is running that could be stopped."};
    case EMsg::kDrawingUnreadable:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 无法作为图形读取。"),
                "%1 cannot be read as a drawing."};
    case EMsg::kDrawingEmpty:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "%1 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。"),
                "%1 holds nothing that can be printed (for example only HP-GL/2 raster data)."};
    case EMsg::kDrawingTooWide:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 的图形远宽于纸卷，请检查绘图单位设置。"),
                "The drawing of %1 is far wider than the roll; check the plot unit settings."};
    case EMsg::kResumeFileChanged:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "作业开始后 %1 已被修改，无法继续打印。请从头打印。"),
                "%1 changed since the job started, so it cannot be continued. Print it from "
                "the start."};
    case EMsg::kResumeHeadsChanged:
        return {INKVALE_TRANSLATE_NOOP(
                    "Messages", "作业开始后机器的喷头参数已更改，无法继续打印。请从头打印。"),
                "The machine's head parameters changed since the job started, so it cannot be "
                "continued. Print it from the start."};
    case EMsg::kPreflightTooWide:
        return {INKVALE_TRANSLATE_NOOP(
                    "Messages", "%1 宽 %2 mm，超出机器可打印宽度 %3 mm。请在 系统设置 ▸ "
                                "绘图设置 中勾选“启用分页”，并把“分页宽度”设为不超过 %3 mm。"),
                "%1 is %2 mm wide; the machine prints at most %3 mm. Tick “Split wide drawings” "
                "under System Settings ▸ Plot, with a strip width of at most %3 mm."};
    case EMsg::kPreflightScale:
        return {INKVALE_TRANSLATE_NOOP(
                    "Messages", "%1 的尺寸为 %2，不像是唛架；乘以 %3 后为 %4。请检查单位设置：%5"),
                "%1 measures %2, an unlikely size for a marker; scaled by %3 it would measure "
                "%4. Check the unit setting: %5"};
    case EMsg::kPreflightOddSize:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 的尺寸为 %2，不像是唛架，请检查单位设置。"),
                "%1 measures %2, an unlikely size for a marker; check the unit settings."};
    case EMsg::kPreflightOutside:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 有部分图形在纸张之外（X 或 Y 小于 0）。"),
                "Parts of %1 lie outside the paper (X or Y below 0)."};
    case EMsg::kPreflightDuplicate:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 与 %2 的文件内容相同。"),
                "%1 has the same contents as %2."};
    case EMsg::kNoCurrentTask:
        return {INKVALE_TRANSLATE_NOOP("Messages", "没有选中任务，没有打印。"),
                "No task is highlighted; nothing was printed."};
    case EMsg::kCurrentTaskGone:
        return {INKVALE_TRANSLATE_NOOP("Messages", "选中的任务已不在列表中，没有打印。"),
                "The highlighted task has left the lists; nothing was printed."};
    case EMsg::kTaskFileGone:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 已不在文件夹中或已被改写，没有打印。"),
                "%1 is no longer in its folder as it was read (deleted or rewritten); it was not "
                "printed."};
    case EMsg::kPreflightLabelsOnly:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 中只有文字，没有裁片轮廓。"),
                "%1 holds nothing but text: no piece outlines."};
    case EMsg::kPreflightNotDrawn:
        return {INKVALE_TRANSLATE_NOOP("Messages", "%1 中有以下内容未绘制：%2。"),
                "%1 holds what is not drawn: %2."};
    case EMsg::kQueueDamaged:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "上次保存的任务列表无法读取，已另存为 %1；任务列表为空。"),
                "The saved task lists could not be read and were set aside as %1; the lists "
                "start empty."};
    case EMsg::kJournalUnwritable:
        return {INKVALE_TRANSLATE_NOOP("Messages", "无法写入作业记录，作业不能继续：%1"),
                "The job's record cannot be written, so the job does not go on: %1"};
    case EMsg::kMachineHoldsJob:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "绘图仪仍停在中断的作业中；请在绘图仪上或在此处按停止。"),
                "The plotter is still in the interrupted job; press Stop on the plotter or "
                "here."};
    case EMsg::kQueueSaveFailed:
        return {INKVALE_TRANSLATE_NOOP("Messages", "任务列表无法保存（%1）；稍后将再次尝试。"),
                "The task lists could not be saved (%1); saving is tried again."};
    case EMsg::kUnfinishedJobWaits:
        return {INKVALE_TRANSLATE_NOOP("Messages",
                                       "%1 的作业没有完成；在继续或放弃它之前不会打印其他任务。"),
                "The job of %1 did not finish; nothing else prints until it is resumed or "
                "discarded."};
    case EMsg::kResumeDamaged:
        return {INKVALE_TRANSLATE_NOOP("Messages", "无法继续中断的作业：%1"),
                "The interrupted job cannot be continued: %1"};
    }
    return {"", ""};
}

std::string FillArguments(std::string strText, const CMessage& message) {
    for (size_t i = message.m_arrArgs.size(); i-- > 0;) {
        const std::string strMark = "%" + std::to_string(i + 1);
        for (size_t at = strText.find(strMark); at != std::string::npos;
             at = strText.find(strMark, at + message.m_arrArgs[i].size()))
            strText.replace(at, strMark.size(), message.m_arrArgs[i]);
    }
    return strText;
}

} // namespace inkvale
