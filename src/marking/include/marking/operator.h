#pragma once
// What a marking session asks the operator and tells them: questions, messages and the progress
// of long work. The window asks through its dialogs, luma-cli answers unattended, tests script
// the answers. Texts are UTF-8 with "\r\n" line breaks, as the session builds them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace luma {

enum class Reply { Yes, No, Cancel };

class Operator {
public:
    virtual ~Operator() = default;

    // One of the texts of marking_texts.h (Russian, UTF-8) in the operator's language; the
    // session composes its messages from what this gives. Untranslated by default.
    virtual std::string Translate(std::string_view text) { return std::string(text); }

    // The file-open dialog: ISO files (*.iso) and all files, default extension "iso", the file
    // must exist. Gives the chosen path, or nothing when the operator cancels.
    virtual std::optional<std::string> AskOpenPath(const std::string& initialName) = 0;
    // The results file dialog in save mode, default extension "iso", no overwrite prompt.
    virtual std::optional<std::string> AskResultsPath(const std::string& suggestedName) = 0;
    // Message boxes without an icon: Yes and No; Yes, No and Cancel; OK alone. Yes is the
    // default button (Enter) of the questions: the resume, save and recovery questions rely on it.
    virtual bool AskYesNo(const std::string& question) = 0;
    virtual Reply AskYesNoCancel(const std::string& question) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // A command that could not run at all, reported as the framework reports an error.
    virtual void ReportError(const std::string& text) = 0;

    // Long work. An open reports how many of `total` records it has taken; the operator may see
    // that after a moment and be offered to cancel: false means they cancelled. EndProgress
    // follows the last report, however the work ended.
    virtual bool ReportProgress(const std::string& caption, std::uint64_t done, std::uint64_t total)
    {
        (void)caption;
        (void)done;
        (void)total;
        return true;
    }
    virtual void EndProgress() {}
    // A file is being written; a busy cursor may show until ShowBusy(false).
    virtual void ShowBusy(bool busy) { (void)busy; }
};

}  // namespace luma
