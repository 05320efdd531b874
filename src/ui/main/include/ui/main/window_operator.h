#pragma once
// What the marking session asks the operator, asked with the main window's modal windows: file
// dialogs and message boxes through the prompter, the progress window of long work, the busy
// cursor of a write. A path given at start answers the first open question in place of the
// dialog.

#include <optional>
#include <string>

#include "marking/operator.h"

class QWidget;

namespace luma::ui {

class OpenProgress;
class Prompter;

class WindowOperator final : public Operator {
public:
    WindowOperator(Prompter& prompter, QWidget& window, OpenProgress& progress);

    // The answer the next open question gets without asking; nothing to ask again.
    void AnswerNextOpen(std::optional<std::string> path) { m_startPath = std::move(path); }

    std::string Translate(std::string_view text) override;
    std::optional<std::string> AskOpenPath(const std::string& initialName) override;
    std::optional<std::string> AskResultsPath(const std::string& suggestedName) override;
    bool AskYesNo(const std::string& question) override;
    Reply AskYesNoCancel(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    void ReportError(const std::string& text) override;
    bool ReportProgress(const std::string& caption, std::uint64_t done, std::uint64_t total) override;
    void EndProgress() override;
    void ShowBusy(bool busy) override;

private:
    Prompter& m_prompter;
    QWidget& m_window;
    OpenProgress& m_progress;
    std::optional<std::string> m_startPath;
};

}  // namespace luma::ui
