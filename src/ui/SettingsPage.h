// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace inkvale {

/// A page of the system settings sheet. Apply stores what the page shows, from the page's
/// own Apply button or from the sheet's OK. The page remembers whether the operator changed
/// anything since it opened or was last applied, so OK applies exactly the changed pages.
class CSettingsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    /// "应用": false when a value was refused (its message shown, the field selected); the
    /// page then still counts as changed.
    bool Apply();
    /// Something was changed since the page opened or was last applied.
    bool Modified() const { return m_bModified; }

protected:
    /// Stores the page; false when a value was refused.
    virtual bool Store() = 0;
    /// From here on, typing in a field, a check box, a radio button or a list choice counts as
    /// a change (read-only fields do not). Called once the page shows its values.
    void WatchChanges();
    /// A change the controls do not signal, such as a chosen colour.
    void MarkModified() { m_bModified = true; }

private:
    bool m_bModified = false;
};

} // namespace inkvale
