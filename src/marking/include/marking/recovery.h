#pragma once
// Unsaved work left behind by a session that ended without the exit procedure (the process was
// killed, crashed, or the machine went down). Beside each working copy lies a note that says
// where its records came from; the session holds the note for its whole life, so a note that
// can be held belongs to a session that no longer runs.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "charsets/charset.h"
#include "platform/locked_file.h"
#include "platform/mapped_file.h"
#include "records/record_buffer_list.h"

namespace luma {

// What the working copy beside a note holds. Sessions of earlier versions kept every record in
// it; a session now keeps the journal of its changed records there, read over the source file
// as it was opened, or over the copy of it made beside the journal once that copy is complete.
enum class WorkingCopyLayout { WholeRecords, JournalOverSource };

struct WorkingCopyNote {
    std::string sourcePath;        // the file the records were read from, UTF-8
    std::string title;             // the file title the results file is named after
    std::int64_t started = 0;      // when the session started, seconds since the epoch
    std::int64_t processId = 0;    // the session's process, for people looking at the folder
    Charset charset = Charset::Ascii;  // the records' character set, found at open
    std::int64_t recordNumber = 1;     // the record shown last, counted from 1
    WorkingCopyLayout layout = WorkingCopyLayout::WholeRecords;
    FileFingerprint source{};  // the source as it was opened (journal only)
    bool sourceCopied = false;  // the copy beside the journal is complete (journal only)
    bool operator==(const WorkingCopyNote&) const = default;
};

// The note's path: the working copy's with ".luma" added.
std::string NotePath(const std::string& workPath);
// The copy of the source beside a journal: the working copy's path with ".iso" added.
std::string SourceCopyPath(const std::string& workPath);

// A few lines of text: a version line, "key: value" lines, "end". Values are UTF-8 with '%',
// CR and LF escaped as %25, %0D, %0A, so that any path fits on one line.
std::string FormatNote(const WorkingCopyNote& note);
// Nothing for a text that is not a whole note of this version. What follows the end line is
// not read: it is the rest of a longer note that RewriteNote wrote over.
std::optional<WorkingCopyNote> ParseNote(std::string_view text);

// Rewrites the record number of a note this process wrote, in place: one write of as many digits
// as before, so that a kill at any moment leaves a whole note. False when it could not be written.
bool UpdateNoteRecord(LockedFile& hold, const WorkingCopyNote& note);

// Rewrites a note this process wrote with another text, in place: one write from its start, so
// that a kill at any moment leaves a whole note. A held note cannot be replaced by a new file on
// every system, so a shorter text leaves the end of the old one behind its end line. False when
// it could not be written.
bool RewriteNote(LockedFile& hold, const WorkingCopyNote& note);

// The note of a running session, held and kept up to date: by the session as the operator moves,
// and by the thread that copies the source when the copy is complete.
class HeldNote {
public:
    HeldNote(LockedFile file, WorkingCopyNote note) : m_file(std::move(file)), m_note(std::move(note)) {}

    WorkingCopyNote Note() const;
    // Each rewrites the note in place (see UpdateNoteRecord, RewriteNote); false when it could
    // not be written, and the note on disk then says what it said.
    bool SetRecordNumber(std::int64_t recordNumber);
    bool SetCharset(Charset charset);
    bool SetSourceCopied();
    void Remove();

private:
    template <class Change, class Write>
    bool Rewrite(Change&& change, Write&& write);

    mutable std::mutex m_mutex;
    LockedFile m_file;
    WorkingCopyNote m_note;
};

// Writes the note beside a working copy and holds it. Nothing when it cannot be written: the
// session then goes on without one, and its work cannot be offered back.
std::shared_ptr<HeldNote> WriteNote(const std::string& workPath, const WorkingCopyNote& note);

// Deletes a working copy, its note and the copy of its source: the note first, so that an end
// cut short leaves at worst files that nothing offers, never a note that offers another file's
// work.
void RemoveWorkingCopy(const std::string& workPath, std::shared_ptr<HeldNote>& note);

// A working copy whose session no longer runs, with its note held while it is offered.
struct LeftWork {
    std::string workPath;
    WorkingCopyNote note;
    LockedFile hold;
};

// The working copies ("NEW…" beside "NEW….luma") in `folder` whose note no one holds and
// reads whole, newest first. A note whose working copy is gone is removed, and so is an empty
// working copy with its note: neither holds anything to recover. Damaged notes stay as they are.
std::vector<LeftWork> FindLeftWork(const std::filesystem::path& folder);

// The records a working copy holds, as a later start would restore them: its journal read over the
// complete copy of its source, or over the source, as the note beside it says; in the note's set.
// Nothing when `workPath` is no journal with a note, or its source cannot be read.
struct WorkingCopyRecords {
    RecordBufferList records;
    Charset charset = Charset::Ascii;
};
std::optional<WorkingCopyRecords> ReadWorkingCopyRecords(const std::string& workPath);

// Deletes the working copy of left work and its note.
void DiscardLeftWork(LeftWork& work);

}  // namespace luma
