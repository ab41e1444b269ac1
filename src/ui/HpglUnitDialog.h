// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;

namespace inkvale {

struct CSettings;

/// The four HP-GL unit choices in a language (index = `PltFileUnit`).
std::vector<std::string> PltUnitItems(int nLanguage);

/// "plt文件单位" (command 356): `PltFileUnit` and `UnitNoHintNextTime`. OK stores both; the
/// main window then saves the settings.
class CHpglUnitDialog : public QDialog {
    Q_OBJECT
public:
    explicit CHpglUnitDialog(CSettings& settings, QWidget* pParent = nullptr);
    QComboBox* Units() const { return m_pUnits; }
    QCheckBox* NoHint() const { return m_pNoHint; }
    void OnOk();

private:
    CSettings& m_settings;
    QComboBox* m_pUnits;
    QCheckBox* m_pNoHint;
};

} // namespace inkvale
