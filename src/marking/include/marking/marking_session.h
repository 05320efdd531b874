#pragma once
// The marking session: an opened record file held as a record buffer list, its working copy in
// the temporary folder, the label field, and the commands that open, mark, unmark, move, show,
// save and end. The main window owns one and routes its buttons and hotkeys here; what the
// session asks goes to its Operator, what it shows to its SessionDisplay.
//
// The file chosen at open is never written, and is read through a mapping rather than held. The
// working copy is a journal of the changed records: every mark and unmark appends the records
// it changed and flushes them before it counts, so that its cost does not grow with the file;
// an append that fails leaves the buffers, the store, the count and the flag as they were. A
// copy of the source is made beside the journal (in the background for a large file), so that
// the work can come back after the source has gone; once complete, the records are read from
// it. A session destroyed without Quit leaves its working copy behind, so an abnormal end keeps
// the marks; the note beside the copy lets a later start offer them back (OfferRecovery). A
// session that keeps no working copy (the command line's) writes nothing but the results file.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/record_store.h"
#include "marking/operator.h"
#include "marking/session_display.h"
#include "charsets/charset.h"
#include "platform/locked_file.h"
#include "records/record_find.h"
#include "marking/change_journal.h"
#include "marking/recovery.h"

namespace luma {

struct LeftWork;
class SourceCopy;

enum class WorkingCopy { InTemporaryFolder, None };
enum class LabelAction { Mark, Unmark };

class MarkingSession {
public:
    MarkingSession(Operator& op, SessionDisplay& display, WorkingCopy workingCopy = WorkingCopy::InTemporaryFolder);
    ~MarkingSession();
    MarkingSession(const MarkingSession&) = delete;
    MarkingSession& operator=(const MarkingSession&) = delete;

    // Open: offers to save unsaved marks, asks for a file, offers to resume from a results
    // file of the same name, loads it and makes a new working copy. True when a file was
    // opened; otherwise the earlier file stays open as it was.
    bool OnOpen();
    // Adds the label field to the current record unless it has a field with the label tag.
    void OnMark();
    // Removes one field equal to the label field (tag and text) from the current record.
    void OnUnmark();
    // Marks or unmarks each listed record (0-based) as OnMark and OnUnmark do, then writes the
    // working copy once and shows the last of them; the list decides, not the advance setting.
    // Stops at the first record that cannot be changed, keeping the changes before it. True
    // when every listed record was dealt with.
    bool ApplyToRecords(const std::vector<int>& records, LabelAction action);
    // Writes the records, marks and all, to a results file the operator chooses. True when it
    // was saved.
    bool OnSave();
    // The exit procedure: placement, the save question, then the dialog ends. True when it ended.
    bool Quit();
    // Before any file is open: offers back, newest first, the work of sessions that ended
    // without the exit procedure. The first the operator accepts becomes this session, with its
    // marks unsaved; the copies not yet asked about stay for the next start. True when one was.
    bool OfferRecovery();

    // Navigation; the store keeps the current record in range.
    void OnFirstRecord();
    void OnPrevRecord();
    void OnNextRecord();
    void OnLastRecord();
    void GoToRecord(int index);
    // The nearest record after (before) the current one that carries the label; with none
    // there the current record stays, with a note.
    void OnNextMarked();
    void OnPrevMarked();
    // The records that carry the label, in file order.
    std::vector<int> MarkedRecords();
    // A line naming the record, for lists (see RecordTitle).
    std::string TitleOfRecord(int record);
    // Goes to the next (previous) record whose shown fields hold the text, from the current one,
    // wrapping once; a wrap, a miss and a cancelled search are told in a note. True when found.
    bool Find(const FindQuery& query, FindDirection direction);
    // Writes the records that carry the label, byte for byte as the results file would hold
    // them, to a file the operator chooses, atomically; the session's results file and its
    // unsaved state are not touched. Never over the source file.
    void OnSaveMarked();
    // The file the records were read from.
    const std::string& SourcePath() const { return m_sourcePath; }

    // Rebuilds the record view and the status line from the current record.
    void RenderRecord();
    bool IsFieldShown(const std::string& tag) const;

    // Settings, as the settings store and the settings dialog give them. A new label field
    // recounts the marks of the open file.
    void SetLabel(std::string field, std::string text);
    void SetAdvanceAfterMark(bool advance) { m_advanceAfterMark = advance; }
    void SetFilter(bool useFilter, std::vector<std::string> fields);
    void SetFolders(std::string sourceDir, std::string resultDir);
    // The character set of the files opened from now on, instead of the one their bytes
    // suggest; nothing to go back to finding it.
    void SetCharsetChoice(std::optional<Charset> charset) { m_charsetChoice = charset; }
    // Sources of this size or larger are read through a mapping and copied beside the working
    // copy in the background; smaller ones are held in memory and copied during the open.
    void SetBackgroundCopyFrom(std::uint64_t bytes) { m_backgroundCopyFrom = bytes; }
    // Whether the copy of the source beside the working copy is complete (and the records are
    // read from it), for tests and the window.
    bool IsSourceCopied() const;
    const std::string& LabelField() const { return m_labelField; }
    const std::string& LabelText() const { return m_labelText; }
    bool AdvanceAfterMark() const { return m_advanceAfterMark; }
    bool UseFilter() const { return m_useFilter; }
    const std::vector<std::string>& FilterFields() const { return m_filterFields; }
    // The folders get a trailing separator when a file name is joined to them.
    const std::string& SourceDir() const { return m_sourceDir; }
    const std::string& ResultDir() const { return m_resultDir; }

    // The state, for the dialog, the command line and tests.
    int RecordCount() const { return m_store.GetRecordCount(); }
    int CurrentRecord() const { return m_store.GetCurRecord(); }
    // The tags of the current record's fields, shown or not, in record order.
    std::vector<std::string> CurrentRecordTags() const;
    int MarkedCount() const { return m_markedCount; }
    bool IsModified() const { return m_modified; }
    bool IsFileOpen() const { return m_fileOpen; }
    const RecordBufferList& Records() const { return m_records; }
    const std::string& WorkPath() const { return m_workPath; }
    const std::string& FileTitle() const { return m_fileTitle; }
    const std::string& ViewText() const { return m_viewText; }
    Charset FileCharset() const { return m_charset; }
    // Why the records are read in that set: as found at open, or chosen by the operator.
    CharsetEvidence FileCharsetEvidence() const { return m_charsetEvidence; }

    // Reads the records' text in another set from now on, for a file whose text the set found at
    // open reads wrong; the records' bytes stay as they are, and restored work comes back in the
    // new set. Refused, with a message, when the marks would count differently in it: the label
    // fields were written in the old set, and marks that no longer read as the label would be
    // lost track of. True when the set is the one asked for.
    bool ChangeCharset(Charset charset);

private:
    struct OpenedFile {
        std::string path;
        std::string title;
        RecordBufferList records;
        int markedCount = 0;
        Charset charset = Charset::Ascii;
        CharsetEvidence evidence = CharsetEvidence::NoEightBitText;
        RecordStore store;  // the file as read, which the session keeps when it holds just the records
        std::optional<FileFingerprint> fingerprint{};  // the source as it was opened
        std::string copyPath{};  // a complete copy of the source the records were read from, if any
    };

    // Open.
    std::string PathToLoad(const std::string& chosen);
    std::optional<OpenedFile> ReadRecordFile(const std::string& path, const std::string& title);
    // Fills the buffer list and the mark count from the file's store; false when cancelled.
    // The journal's changes, when given, are put into the records first.
    bool TakeRecords(OpenedFile& file, const std::string& caption, const std::vector<JournalEntry>* journal = nullptr);
    std::optional<std::string> CreateWorkingCopy(const RecordBufferList& records, ChangeJournal& journal);
    void StartSourceCopy(const OpenedFile& file);
    // Reads the records from the copy of the source once it is complete; a source another
    // program changed meanwhile is told of.
    void FollowSourceCopy();
    bool CheckSourceBeforeSave();
    bool OpenSession(const std::function<std::optional<OpenedFile>()>& read);
    void StartSession(OpenedFile file, std::string workPath);

    // Mark and unmark. The label rules change the store's current record and say how.
    struct LabelChange {
        bool refused = false;  // the store refused; the refusal was shown
        bool changed = false;
        int delta = 0;  // the change of the record's label fields
    };
    std::optional<bool> ApplyToRecord(int record, LabelAction action);
    void PrefetchNextRecord(int record) const;
    LabelChange AddLabelField();
    LabelChange RemoveLabelField(int field);
    bool CheckCurrentRecordInList();
    bool HasFieldWithLabelTag();
    int FindLabelField();
    int CountLabelFields(RecordStore& store) const;
    int CountMarks();
    void GoToMarked(int step);
    bool CommitRecord(int delta);
    void TakeChange(int delta);
    void TakeChangeIntoStore();
    std::string WorkingName() const;
    std::optional<std::string> WriteWorkingCopy(const std::vector<std::size_t>& changed);
    void ReopenStore();
    void ShowStoreRefusal();

    // Recovery.
    static WorkingCopyNote NoteFor(const OpenedFile& file);
    void KeepPlaceInNote();
    bool RestoreLeftWork(LeftWork& work);
    std::optional<OpenedFile> ReadLeftWork(const LeftWork& work);
    std::optional<OpenedFile> ReadLeftJournal(const LeftWork& work);
    std::optional<MapResult> MapLeftSource(const LeftWork& work, std::string& copyPath);

    // Save and exit.
    bool SaveBeforeLeaving();
    bool SaveToChosenFile();
    void MarkUnsaved();
    void MarkSaved();
    void CloseSession();

    void ShowStatus(const std::string& title, int recordCount, int currentNumber);

    Operator& m_operator;
    SessionDisplay& m_display;
    const WorkingCopy m_workingCopy;

    RecordStore m_store;
    bool m_fileOpen = false;
    RecordBufferList m_records;
    std::string m_workPath;
    ChangeJournal m_journal;
    // The note beside the working copy, held while the session runs and shared with the thread
    // copying the source; nothing when it could not be written.
    std::shared_ptr<HeldNote> m_workNote;
    std::unique_ptr<SourceCopy> m_sourceCopy;
    std::uint64_t m_backgroundCopyFrom = kMapFilesFrom;
    std::optional<FileFingerprint> m_sourceFingerprint;  // the source as it was opened
    bool m_readingCopy = false;     // the records are read from the complete copy
    bool m_sourceLost = false;      // the source changed before its copy was complete
    std::string m_fileTitle;
    std::string m_sourcePath;
    // The file chosen at Open, which a save never overwrites: with the results folder where the
    // source lies (an empty one is the current folder), the proposed results file is the source
    // itself. Empty for restored work, whose note does not tell a source from a results file.
    std::string m_chosenSource;
    // The character set found at open; the working copy is always read back in it, so that
    // label texts added since cannot change how the file is decoded.
    Charset m_charset = Charset::Ascii;
    std::optional<Charset> m_charsetChoice;
    CharsetEvidence m_charsetEvidence = CharsetEvidence::NoEightBitText;
    int m_markedCount = 0;
    bool m_modified = false;
    int m_savedRecord = 0;

    std::string m_labelField;
    std::string m_labelText;
    bool m_advanceAfterMark = true;
    std::string m_sourceDir;
    std::string m_resultDir;
    bool m_useFilter = false;
    std::vector<std::string> m_filterFields;

    std::string m_viewText;
};

}  // namespace luma
