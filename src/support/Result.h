// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace inkvale {

/// What the core may ask a front end to tell the operator. The core names the message;
/// the front end makes the text in the operator's language (MessageSource gives the
/// program's own texts, which the translations start from).
enum class EMsg : uint16_t {
    kNone = 0,
    kOpenFileFailed,     ///< a drawing could not be read; %1 (when given) its path
    kAlreadyOpen,        ///< the path is already a task of the opened list
    kFileTooLarge,       ///< the file is larger than PltMaxSizeMb
    kJobTooWide,         ///< the job does not fit the carriage travel
    kDataOverflow,       ///< an HP-GL number token too long to be a number
    kFileOpenError,      ///< a file to be written could not be created, or one to be read opened
    kFileWriteError,     ///< writing a file failed
    kTaskFileFormat,     ///< a task file whose contents are not a task file
    kTaskFileRead,       ///< a task file that cannot be read; %1 its path
    kSettingsUnreadable, ///< the settings file could not be read and was kept; %1 where it is
    kSplitTooShort,      ///< a split length under 100 mm
    kSplitNotShorter,   ///< a split length not shorter than the drawing; %1 it, %2 the drawing (mm)
    kTaskGone,          ///< the task left the queue while a dialog was open; nothing was done
    kFileRejected,      ///< an automatic-folder file was refused; %1 its name, %2 where it went
    kFileRejectFailed,  ///< a refused file could not be moved aside; %1 its path, %2 why
    kFileOverLimit,     ///< %1 a file's name, %2 its size, %3 the limit (MB)
    kMachineOffline,    ///< a machine command while the machine does not answer
    kMachineNotReady,   ///< a machine command that needs the machine ready
    kJobRunning,        ///< a command that waits for the running job to end
    kNothingToPause,    ///< Pause with no job printing
    kNothingToStop,     ///< Stop with no job
    kDrawingUnreadable, ///< %1 a task's file could not be read as a drawing
    kDrawingEmpty,      ///< %1 a task's drawing holds nothing to print
    kDrawingTooWide,    ///< %1 a task's drawing is far wider than the roll
    kResumeFileChanged, ///< an interrupted job's drawing file %1 changed since it started
    kResumeHeadsChanged,  ///< the machine's head parameters changed since the job started
    kResumeDamaged,       ///< the interrupted job's record cannot be used; %1 why
    kPreflightTooWide,    ///< %1 a task, %2 its width, %3 the printable width (mm)
    kPreflightScale,      ///< %1 a task, %2 its size, %3 a factor, %4 the size by it, %5 a setting
    kPreflightOddSize,    ///< %1 a task, %2 a size no marker has
    kPreflightOutside,    ///< %1 a task with parts left of X 0 or below Y 0
    kPreflightDuplicate,  ///< %1 a task whose file has the contents of task %2's
    kQueueDamaged,        ///< the saved queue could not be read; it was set aside as %1
    kPreflightLabelsOnly, ///< %1 a task whose drawing holds nothing but label text
    kNoCurrentTask,       ///< Start with no task highlighted; nothing printed
    kCurrentTaskGone,     ///< Start after the highlighted task left the lists; nothing printed
    kTaskFileGone,        ///< %1 a hot-folder task whose file left the folder or changed since
    kPreflightNotDrawn,   ///< %1 a task, %2 what its file holds that is not drawn, by kind
    kJournalUnwritable,   ///< the job's ledger cannot be written, so the job does not go on; %1 why
    kMachineHoldsJob,     ///< the machine is still in a job this program no longer drives
    kQueueSaveFailed,     ///< the task lists could not be saved; %1 why (tried again)
    kUnfinishedJobWaits,  ///< %1 a job that did not finish waits for resume or discard
};

/// One message for the operator: its id and the arguments its text takes (%1, %2, ...).
struct CMessage {
    EMsg m_eId = EMsg::kNone;
    std::vector<std::string> m_arrArgs;
    friend bool operator==(const CMessage&, const CMessage&) = default;
};

/// The result of the core's operations: a domain code (0 success; the operation documents
/// its other codes), the messages for the operator in the order they arose (often none),
/// and an English diagnostic for logs and the command line. Results that carry data derive
/// from it.
struct [[nodiscard]] CResult {
    int m_nCode = 0;
    std::vector<CMessage> m_arrMessages;
    std::string m_strDiag;

    bool Ok() const { return m_nCode == 0; }
    /// Whether a message of this id is among the messages.
    bool Says(EMsg eId) const {
        for (const CMessage& m : m_arrMessages) {
            if (m.m_eId == eId)
                return true;
        }
        return false;
    }
    /// A failure with its code and diagnostic, and the messages for the operator.
    static CResult Failure(int nCode, std::string strDiag, std::vector<CMessage> messages = {}) {
        CResult r;
        r.m_nCode = nCode;
        r.m_strDiag = std::move(strDiag);
        r.m_arrMessages = std::move(messages);
        return r;
    }
};

} // namespace inkvale
