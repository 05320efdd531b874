#pragma once
// The third page of the settings dialog, "Общие": the source and results folders, typed or
// chosen with "...", and the record view's font. The folders are handed over at OK; a chosen
// font is the main window's at once.

#include "ui/settings/settings_page.h"

class QLineEdit;

namespace luma::ui {

class Prompter;
class SettingsTarget;

class FoldersPage final : public SettingsPage {
    Q_OBJECT

public:
    FoldersPage(SettingsTarget& main, Prompter& prompter, QWidget* parent = nullptr);

    void OnBrowseSourceClicked();
    void OnBrowseResultClicked();
    void OnFontClicked();

    QLineEdit* m_editSource = nullptr;
    QLineEdit* m_editResult = nullptr;

private:
    // A cancelled chooser, or one that gives no folder, leaves the edit as it was.
    void Browse(QLineEdit* edit, const QString& title);

    SettingsTarget& m_pMain;
    Prompter& m_prompter;
};

}  // namespace luma::ui
