#pragma once
// Support for tests of the marking session: a host whose answers are scripted and whose effects
// are recorded, a session with folders of its own, and the session's invariants.

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "marking/operator.h"
#include "marking/session_display.h"
#include "marking/marking_session.h"
#include "test_files.h"

namespace luma::test {

using Strings = std::vector<std::string>;

class ScriptedHost : public Operator, public SessionDisplay {
public:
    // Answers, taken from the front; a question without one fails the test and is cancelled.
    std::deque<std::optional<std::string>> openPaths;
    std::deque<std::optional<std::string>> resultsPaths;
    std::deque<bool> yesNo;
    std::deque<Reply> yesNoCancel;

    // Every dialog, question and message in order: "open: NAME", "results: NAME", or its text.
    Strings shown;
    Strings errors;
    std::string view;
    std::string status;
    Strings notes;
    ModifiedImage modified = ModifiedImage::None;
    bool buttonsEnabled = false;
    int hotkeysArmed = 0;
    int placementsStored = 0;
    bool ended = false;
    // Busy-cursor spells, how deep they are now, and whether a message came up under one.
    int busySpells = 0;
    int busyDepth = 0;
    bool messageWhileBusy = false;

    std::optional<std::string> AskOpenPath(const std::string& name) override
    {
        return Next(openPaths, "open: " + name, {});
    }
    std::optional<std::string> AskResultsPath(const std::string& name) override
    {
        return Next(resultsPaths, "results: " + name, {});
    }
    bool AskYesNo(const std::string& text) override { return Next(yesNo, text, false); }
    Reply AskYesNoCancel(const std::string& text) override { return Next(yesNoCancel, text, Reply::Cancel); }
    void ShowMessage(const std::string& text) override
    {
        messageWhileBusy = messageWhileBusy || busyDepth > 0;
        shown.push_back(text);
    }
    void ShowBusy(bool busy) override
    {
        busySpells += busy ? 1 : 0;
        busyDepth += busy ? 1 : -1;
    }
    void ReportError(const std::string& text) override { errors.push_back(text); }
    void ShowViewText(const std::string& text) override { view = text; }
    void ShowStatusText(const std::string& text) override { status = text; }
    void ShowStatusNote(const std::string& text) override { notes.push_back(text); }
    void ShowModified(ModifiedImage image) override { modified = image; }
    void EnableRecordButtons() override { buttonsEnabled = true; }
    void FileOpened() override {}
    void ArmHotkeys() override { ++hotkeysArmed; }
    void StoreWindowPlacement() override { ++placementsStored; }
    void SessionEnded() override { ended = true; }

private:
    template <typename T>
    T Next(std::deque<T>& answers, const std::string& question, T unscripted)
    {
        shown.push_back(question);
        if (answers.empty()) {
            ADD_FAILURE() << "no answer scripted for: " << question;
            return unscripted;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

inline const std::string kLabelTag = "900";
inline const std::string kLabelText = "##$aОтобрано";

// Three records in Windows-1251, the second carrying the label field.
std::string SampleFile();

// What a command that fails must leave as it was.
struct SessionState {
    Strings records;
    std::string workPath;
    std::string workBytes;  // the records the working copy holds, one after another
    int current = 0;
    int marked = 0;
    bool modified = false;
    ModifiedImage image = ModifiedImage::None;
    std::string view;
    bool operator==(const SessionState&) const = default;
};

// A session whose temporary folder (TMPDIR), source folder and results folder are its own.
class SessionTest : public ::testing::Test {
protected:
    SessionTest();

    std::string TempFolder() const { return (m_dir.path() / "tmp").string(); }
    std::string ResultsFolder() const { return (m_dir.path() / "results").string(); }
    std::string Write(const std::string& name, const std::string& bytes) { return m_dir.Write(name, bytes); }
    void Open(const std::string& path);
    SessionState State() const;
    // Every file in the temporary folder but the working copies' notes.
    Strings WorkingCopies() const;

    TempDir m_dir;
    TempFolderGuard m_tmp;
    ScriptedHost m_host;
    MarkingSession m_session{m_host, m_host};
};

// The working copy holds the record buffers and reads back as them; the marked count equals a
// recount of the fields equal to the label.
void ExpectConsistent(MarkingSession& session);
// The records a later start would restore from the session's working copy: its journal read over
// the complete copy of the source, or over the source itself.
Strings RecordsOfWorkingCopy(const MarkingSession& session);
// The records of a file with a journal's changes put in.
Strings RecordsOfJournal(const std::string& journalPath, const std::string& sourcePath,
                         Charset charset = Charset::Windows1251);

}  // namespace luma::test
