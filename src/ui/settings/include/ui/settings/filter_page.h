#pragma once
// The second page of the settings dialog, "Фильтр": the tags the record view shows while the
// filter is on, and the switch that turns it on. Every add, delete and click changes the main
// window's filter at once, whatever the dialog's result.

#include "ui/settings/settings_page.h"

class QCheckBox;
class QComboBox;
class QListWidget;

namespace luma::ui {

class SettingsTarget;

class FilterPage final : public SettingsPage {
    Q_OBJECT

public:
    explicit FilterPage(SettingsTarget& main, QWidget* parent = nullptr);

    // Adds the combo box's text unless it is empty or an entry begins with it, ignoring case.
    void OnAddClicked();
    // Deletes the selected entry, unless it is the last one.
    void OnDeleteClicked();
    void OnUseFilterClicked(bool checked);

    // The list as it shows: case-insensitive order.
    QStringList Entries() const;

    QListWidget* m_listFilter = nullptr;
    QCheckBox* m_checkUseFilter = nullptr;
    QComboBox* m_comboTag = nullptr;

private:
    void AddEntry(const QString& text);
    // The main window's filter becomes the list, in the list's order.
    void RebuildFilterFields();

    SettingsTarget& m_pMain;
};

}  // namespace luma::ui
