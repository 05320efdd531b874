#pragma once
// The modal windows of the running program.

#include "ui/common/prompter.h"

namespace luma::ui {

class QtPrompter final : public Prompter {
public:
    std::optional<QString> GetOpenFileName(QWidget* parent, const QString& initialName) override;
    std::optional<QString> GetSaveFileName(QWidget* parent, const QString& initialName) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    std::optional<int> AskRecordNumber(QWidget* parent) override;
    void ShowAbout(QWidget* parent) override;
    bool RunSettings(SettingsDialog& dialog) override;
    std::optional<QString> GetFolder(QWidget* parent, const QString& title, const QString& folder) override;
    std::optional<QFont> GetFont(QWidget* parent, const QFont& initial) override;
};

}  // namespace luma::ui
