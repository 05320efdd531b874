#pragma once
// Everything a marking session asks the operator or shows: the main dialog implements it with
// widgets, tests script it. Texts are UTF-8 with "\r\n" line breaks, as the session builds them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace luma {

enum class Reply { Yes, No, Cancel };

// The image of the modified indicator.
enum class ModifiedImage {
    None,            // before the first open
    NothingUnsaved,  // bitmap 145
    Unsaved,         // bitmap 144
};

class MarkingHost {
public:
    virtual ~MarkingHost() = default;

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

    virtual void ShowViewText(const std::string& text) = 0;
    virtual void ShowStatusText(const std::string& text) = 0;
    // A passing note beside the status line (a search that wrapped, no more marked records);
    // the next status text replaces it.
    virtual void ShowStatusNote(const std::string& note) { (void)note; }
    virtual void ShowModified(ModifiedImage image) = 0;
    // The seven record buttons: first, previous, mark, unmark, next, go to, last.
    virtual void EnableRecordButtons() = 0;
    // A file became the open one (opened, resumed or restored).
    virtual void FileOpened() {}
    // Registers the four hotkeys (mark, unmark, next, previous).
    virtual void ArmHotkeys() = 0;
    // Writes the main window's placement to the settings.
    virtual void StoreWindowPlacement() = 0;
    // Ends the main dialog, and with it the program.
    virtual void SessionEnded() = 0;

    // Long work. An open reports how many of `total` records it has taken; the host may show
    // that after a moment and offer to cancel: false means the operator cancelled. EndProgress
    // follows the last report, however the work ended.
    virtual bool ReportProgress(const std::string& caption, std::uint64_t done, std::uint64_t total)
    {
        (void)caption;
        (void)done;
        (void)total;
        return true;
    }
    virtual void EndProgress() {}
    // A file is being written; the host may show a busy cursor until ShowBusy(false).
    virtual void ShowBusy(bool busy) { (void)busy; }
};

}  // namespace luma
