#pragma once
// A prompter whose answers are scripted, so that no test waits on a real modal window. Every
// window is logged in order; one without a scripted answer fails the test and counts as cancelled.

#include <QDialog>
#include <QLabel>
#include <QStringList>
#include <QTest>
#include <deque>
#include <functional>
#include <utility>

#include "ui/common/prompter.h"
#include "ui/settings/settings_dialog.h"

namespace luma::test {

class ScriptedPrompter final : public ui::Prompter {
public:
    std::deque<std::optional<QString>> openPaths, savePaths;
    std::deque<bool> yesNo;
    std::deque<ui::Answer> yesNoCancel;
    std::deque<std::optional<int>> recordNumbers;
    // Each works the settings dialog, shown but not modal, as the operator would, and gives
    // whether it was closed with OK.
    std::deque<std::function<bool(ui::SettingsDialog&)>> settings;
    std::deque<std::optional<QString>> folders;
    std::deque<std::optional<QFont>> fonts;
    // "open: NAME", "save: NAME", "ask: TEXT", "message: TEXT", "error: TEXT", "goto", "about",
    // "settings", "folder: TITLE", "font".
    QStringList shown;

    std::optional<QString> GetOpenFileName(QWidget*, const QString& name) override
    {
        return Next(openPaths, QStringLiteral("open: ") + name, {});
    }
    std::optional<QString> GetSaveFileName(QWidget*, const QString& name) override
    {
        return Next(savePaths, QStringLiteral("save: ") + name, {});
    }
    bool AskYesNo(QWidget*, const QString& text) override { return Next(yesNo, QStringLiteral("ask: ") + text, false); }
    ui::Answer AskYesNoCancel(QWidget*, const QString& text) override
    {
        return Next(yesNoCancel, QStringLiteral("ask: ") + text, ui::Answer::Cancel);
    }
    void ShowMessage(QWidget*, const QString& text) override { shown.append(QStringLiteral("message: ") + text); }
    void ShowError(QWidget*, const QString& text) override { shown.append(QStringLiteral("error: ") + text); }
    std::optional<int> AskRecordNumber(QWidget*) override { return Next(recordNumbers, QStringLiteral("goto"), {}); }
    void ShowAbout(QWidget*) override { shown.append(QStringLiteral("about")); }
    bool RunSettings(ui::SettingsDialog& dialog) override
    {
        const std::function<bool(ui::SettingsDialog&)> script = Next(settings, QStringLiteral("settings"), {});
        if (!script) {
            return false;
        }
        dialog.show();
        const bool ok = script(dialog);
        dialog.hide();
        return ok;
    }
    std::optional<QString> GetFolder(QWidget*, const QString& title, const QString&) override
    {
        return Next(folders, QStringLiteral("folder: ") + title, {});
    }
    std::optional<QFont> GetFont(QWidget*, const QFont&) override { return Next(fonts, QStringLiteral("font"), {}); }
    // Each works another dialog (find, the lists), shown but not modal, and gives whether it was
    // accepted; one without a script is cancelled.
    std::deque<std::function<bool(QDialog&)>> dialogs;
    // The texts of the last such dialog's labels.
    QStringList dialogTexts;

    bool RunDialog(QDialog& dialog) override
    {
        shown.append(QStringLiteral("dialog: ") + dialog.windowTitle());
        dialogTexts.clear();
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            dialogTexts.append(label->text());
        }
        if (dialogs.empty()) {
            return false;
        }
        const std::function<bool(QDialog&)> script = std::move(dialogs.front());
        dialogs.pop_front();
        dialog.show();
        const bool accepted = script(dialog);
        dialog.hide();
        return accepted;
    }

private:
    template <typename T>
    T Next(std::deque<T>& answers, const QString& window, T unscripted)
    {
        shown.append(window);
        if (answers.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("no answer scripted for ") + window), __FILE__, __LINE__);
            return unscripted;
        }
// GCC 12 at -O2 and above takes the moved-from optional<QString> for uninitialised (a known
// false positive).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
        T answer(std::move(answers.front()));
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
        answers.pop_front();
        return answer;
    }
};

}  // namespace luma::test
