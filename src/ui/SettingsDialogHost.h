// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace inkvale {

struct CSettings;
class CMachineParams;
class CDlgPrompts;
class IDlgMachine;

/// What the system settings sheet needs from the main window: discarding every task's
/// drawing (message 0x470: the queue's DiscardAllDrawings) and the system choosers. The
/// choosers default to the Qt dialogs; tests answer them.
class CSettingsDialogHost {
public:
    virtual ~CSettingsDialogHost() = default;
    /// Every task's drawing is dropped and read again when needed.
    virtual void DiscardAllDrawings() = 0;
    /// The folder browser "Select a directory"; false when cancelled. Path without final '/'.
    virtual bool ChooseFolder(std::string& strFolder);
    /// The save-file dialog "CSV file(*.csv)" with the overwrite prompt; false when cancelled.
    virtual bool ChooseHistoryFile(std::string& strPath);
    /// The colour chooser preset to nColor (0x00BBGGRR); false when cancelled.
    virtual bool ChooseColor(int32_t& nColor);
};

/// Everything a settings page works on.
struct CSysSetContext {
    CSettings& m_settings;
    CMachineParams& m_params;
    IDlgMachine& m_machine;
    CDlgPrompts& m_prompts;
    CSettingsDialogHost& m_host;
};

/// length ratio = (int)(design × 10000 / measured) / 10000; 0 when measured is not positive.
double SizeRatioOf(double dDesign, double dMeasured);

/// A folder chosen for the hot folders or backups, with a final '/' added. False (the field
/// keeps its old value) when it is the installation directory or shorter than 3 characters.
bool AcceptChosenFolder(const std::string& strChosen, const std::string& strInstallDir,
                        std::string& strFolder);

/// The history file name: kept when the text after the last '.' is "csv" in any case,
/// else ".CSV" appended.
std::string HistoryFileWithExtension(const std::string& strChosen);

/// Step shared by the Plot and Directories pages' Apply: write the parameter block when the
/// machine is online ("参数保存失败" on failure), else the page's offline notice.
void WriteParamsAfterApply(CSysSetContext& ctx);

} // namespace inkvale
