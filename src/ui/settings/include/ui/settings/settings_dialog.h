#pragma once
// The settings dialog "Настройка": three pages in a tab control, hotkeys and label, field
// filter, folders and font. It opens on the first page, filled from the main window; OK hands
// the hotkeys, the label, the step-on switch and the folders over (CopyPageValues), Cancel
// nothing. The filter and the font are the main window's as soon as they are changed.

#include <QDialog>

#include "settings/settings.h"

class QPushButton;
class QTabWidget;

namespace luma::ui {

class Prompter;
class SettingsTarget;
class FoldersPage;
class FilterPage;
class HotkeyPage;

class SettingsDialog final : public QDialog {
    Q_OBJECT

public:
    SettingsDialog(SettingsTarget& main, Prompter& prompter, QWidget* parent = nullptr);

    // 0 hotkeys and label, 1 filter, 2 folders and font.
    void ShowPage(int index);
    void OnOkClicked();
    // Writes what the pages hold into `settings`: the values OK hands over, and only those.
    void CopyPageValues(Settings& settings) const;

    QTabWidget* Tabs() const { return m_tab; }
    HotkeyPage* Hotkeys() const { return m_hotPage; }
    FilterPage* Filter() const { return m_filterPage; }
    FoldersPage* Folders() const { return m_foldersPage; }

private:
    QTabWidget* m_tab = nullptr;
    HotkeyPage* m_hotPage = nullptr;
    FilterPage* m_filterPage = nullptr;
    FoldersPage* m_foldersPage = nullptr;
};

}  // namespace luma::ui
