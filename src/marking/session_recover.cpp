// Recovery at start-up: the working copy of a session that no longer runs becomes the open
// session, as if its file had just been opened and marked, so that Save writes the results as
// usual. The copy is read into a fresh working copy before the old one goes.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "platform/file_io.h"
#include "platform/local_time.h"
#include "platform/process.h"
#include "marking/recovery.h"

namespace luma {

bool MarkingSession::OfferRecovery()
{
    if (m_fileOpen) {
        return false;  // a session is open: nothing may replace it unasked
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec) {
        return false;
    }
    std::vector<LeftWork> left = FindLeftWork(folder);
    for (LeftWork& work : left) {
        const std::tm started = LocalTime(static_cast<std::time_t>(work.note.started));
        const std::string question =
            FormatRecoveryQuestion(work.note.sourcePath, started, m_operator.Translate(kRecoveryQuestion));
        if (!m_operator.AskYesNo(question)) {
            DiscardLeftWork(work);
        } else if (RestoreLeftWork(work)) {
            return true;
        }
    }
    return false;
}

WorkingCopyNote MarkingSession::NoteFor(const OpenedFile& file)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    WorkingCopyNote note{file.path, file.title, std::chrono::duration_cast<std::chrono::seconds>(now).count(),
                         CurrentProcessId(), file.charset};
    note.layout = WorkingCopyLayout::JournalOverSource;
    note.source = file.fingerprint.value_or(FileFingerprint{});
    return note;
}

// Work offered back after a kill opens where the operator was. A note that cannot be updated
// still offers the work, at the record it last held.
void MarkingSession::KeepPlaceInNote()
{
    if (m_workNote) {
        m_workNote->SetRecordNumber(m_store.GetCurRecord() + 1);
    }
}

// A read the operator cancels leaves the work where it is, for the next start.
bool MarkingSession::RestoreLeftWork(LeftWork& work)
{
    if (!OpenSession([&] { return ReadLeftWork(work); })) {
        return false;
    }
    GoToRecord(static_cast<int>(std::min<std::int64_t>(work.note.recordNumber - 1, m_store.GetRecordCount() - 1)));
    MarkUnsaved();
    DiscardLeftWork(work);
    return true;
}

// The records as the working copy holds them, read in the character set of the note: the one
// found when its file was opened, or the one the operator chose. The note does not say why the
// set was taken; the bytes, looked at again, tell it when they lead to the same set, and
// otherwise it was the operator's. A working copy of an earlier version holds every record, and
// needs no source.
std::optional<MarkingSession::OpenedFile> MarkingSession::ReadLeftWork(const LeftWork& work)
{
    if (work.note.layout == WorkingCopyLayout::JournalOverSource) {
        return ReadLeftJournal(work);
    }
    MapResult read = MapWholeFile(work.workPath);
    OpenedFile file{work.note.sourcePath, work.note.title, {}, 0, work.note.charset,
                    CharsetEvidence::ChosenByOperator, RecordStore()};
    RecordStore& store = file.store;
    if (read.error || store.OpenBytes(std::move(read.bytes), work.note.sourcePath) != 0) {
        const std::optional<Problem>& problem = store.LastError();
        const std::string detail = read.error ? *read.error : problem ? problem->message : std::string();
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kRecoveryFailed), work.workPath + ": " + detail));
        return std::nullopt;
    }
    if (store.GetCharset() == work.note.charset) {
        file.evidence = store.GetDetection().evidence;
    } else {
        store.SetCharset(work.note.charset);
    }
    if (!TakeRecords(file, WithDetail(m_operator.Translate(kOpenProgress), work.note.title))) {
        return std::nullopt;
    }
    // The new session's journal is read over this working copy, which it keeps as its source's copy.
    file.fingerprint = FingerprintOfFile(work.workPath);
    file.copyPath = work.workPath;
    return file;
}

// The source as it was opened: its complete copy, or the source itself while it is unchanged.
// Nothing, and the operator told why, when neither is there.
std::optional<MapResult> MarkingSession::MapLeftSource(const LeftWork& work, std::string& copyPath)
{
    const std::string copy = SourceCopyPath(work.workPath);
    const std::optional<FileFingerprint> copied = work.note.sourceCopied ? FingerprintOfFile(copy) : std::nullopt;
    if (copied && copied->size == work.note.source.size && copied->hash == work.note.source.hash) {
        MapResult mapped = MapWholeFile(copy);
        if (!mapped.error) {
            copyPath = copy;
            return mapped;
        }
    }
    if (FingerprintOfFile(work.note.sourcePath) == work.note.source) {
        MapResult mapped = MapWholeFile(work.note.sourcePath);
        if (!mapped.error) {
            return mapped;
        }
    }
    m_operator.ShowMessage(WithDetail(m_operator.Translate(kRecoverySourceNeeded), work.note.sourcePath));
    return std::nullopt;
}

// The source's records as the session that left the work read them, its journal's changes put in.
std::optional<MarkingSession::OpenedFile> MarkingSession::ReadLeftJournal(const LeftWork& work)
{
    const ReadResult journalBytes = ReadWholeFile(work.workPath);
    const std::optional<std::vector<JournalEntry>> entries =
        journalBytes.error ? std::nullopt : ReadJournal(journalBytes.bytes.view());
    if (!entries) {
        const std::string detail = journalBytes.error.value_or("not a journal of changed records");
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kRecoveryFailed), work.workPath + ": " + detail));
        return std::nullopt;
    }
    std::string copyPath;
    std::optional<MapResult> source = MapLeftSource(work, copyPath);
    if (!source) {
        return std::nullopt;
    }
    OpenedFile file{work.note.sourcePath, work.note.title, {}, 0, work.note.charset,
                    CharsetEvidence::ChosenByOperator, RecordStore(), work.note.source, copyPath};
    RecordStore& store = file.store;
    if (store.OpenBytes(std::move(source->bytes), work.note.sourcePath) != 0) {
        const std::optional<Problem>& problem = store.LastError();
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kRecoveryFailed),
                                          work.note.sourcePath + ": " + (problem ? problem->message : std::string())));
        return std::nullopt;
    }
    if (store.GetCharset() == work.note.charset) {
        file.evidence = store.GetDetection().evidence;
    } else {
        store.SetCharset(work.note.charset);
    }
    if (!TakeRecords(file, WithDetail(m_operator.Translate(kOpenProgress), work.note.title), &*entries)) {
        return std::nullopt;
    }
    return file;
}

}  // namespace luma
