#pragma once
// What a marking session tells the window that shows it: the record, the status line, the
// modified indicator, the record buttons and hotkeys. A session with no window shows nothing
// (NoDisplay). Texts are UTF-8 with "\r\n" line breaks.

#include <string>

namespace luma {

// The image of the modified indicator.
enum class ModifiedImage {
    None,            // before the first open
    NothingUnsaved,  // bitmap 145
    Unsaved,         // bitmap 144
};

class SessionDisplay {
public:
    virtual ~SessionDisplay() = default;

    virtual void ShowViewText(const std::string& text) = 0;
    virtual void ShowStatusText(const std::string& text) = 0;
    // A passing note beside the status line (a search that wrapped, no more marked records);
    // the next status text replaces it.
    virtual void ShowStatusNote(const std::string& note) = 0;
    virtual void ShowModified(ModifiedImage image) = 0;
    // The seven record buttons: first, previous, mark, unmark, next, go to, last.
    virtual void EnableRecordButtons() = 0;
    // A file became the open one (opened, resumed or restored).
    virtual void FileOpened() = 0;
    // Registers the four hotkeys (mark, unmark, next, previous).
    virtual void ArmHotkeys() = 0;
    // Writes the main window's placement to the settings.
    virtual void StoreWindowPlacement() = 0;
    // Ends the main window, and with it the program.
    virtual void SessionEnded() = 0;
};

// For a session that runs without a window.
class NoDisplay final : public SessionDisplay {
public:
    void ShowViewText(const std::string&) override {}
    void ShowStatusText(const std::string&) override {}
    void ShowStatusNote(const std::string&) override {}
    void ShowModified(ModifiedImage) override {}
    void EnableRecordButtons() override {}
    void FileOpened() override {}
    void ArmHotkeys() override {}
    void StoreWindowPlacement() override {}
    void SessionEnded() override {}
};

}  // namespace luma
