#pragma once
// Every modal window the main dialog opens: file dialogs, message boxes, the go-to dialog and
// the About box. The program runs them through QtPrompter; tests script the answers instead.

#include <QDialog>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace luma::ui {

class SettingsDialog;

enum class Answer { Yes, No, Cancel };

class Prompter {
public:
    virtual ~Prompter() = default;

    // ISO files and all files, default extension "iso"; the chosen path, nothing when cancelled.
    // `initialName` is a folder followed by a file name, or a file name alone.
    virtual std::optional<QString> GetOpenFileName(QWidget* parent, const QString& initialName) = 0;
    // Save mode without an overwrite question.
    virtual std::optional<QString> GetSaveFileName(QWidget* parent, const QString& initialName) = 0;

    // Message boxes without an icon, titled with the application's name; Yes is the default.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A command that could not run: a message box with a warning icon.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;

    // The go-to dialog: the 1-based number confirmed with OK, nothing after Cancel.
    virtual std::optional<int> AskRecordNumber(QWidget* parent) = 0;
    virtual void ShowAbout(QWidget* parent) = 0;

    // Any other modal dialog of the window; true when it was accepted.
    virtual bool RunDialog(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }
    // The settings dialog, modal; true when it was closed with OK.
    virtual bool RunSettings(SettingsDialog& dialog) = 0;
    // A folder chooser titled `title`, starting in `folder`: the chosen folder's path in the
    // platform's notation, nothing when cancelled.
    virtual std::optional<QString> GetFolder(QWidget* parent, const QString& title, const QString& folder) = 0;
    // A font chooser starting on `initial`: the chosen font, nothing when cancelled.
    virtual std::optional<QFont> GetFont(QWidget* parent, const QFont& initial) = 0;
};

}  // namespace luma::ui
