// Opening a record file: the resume choice, the record buffer list and a new working copy.
// Nothing of the open session changes until the new file is read and its working copy written.

#include <utility>

#include "marking/operator_scopes.h"
#include "marking/marking_session.h"
#include "marking/marking_texts.h"
#include "platform/file_io.h"
#include "platform/file_ops.h"
#include "records/record_framing.h"
#include "marking/recovery.h"
#include "records/record_files.h"

namespace luma {
namespace {

// Often enough for a smooth bar, rarely enough to cost nothing.
constexpr int kRecordsPerReport = 1024;

// The fingerprint of the bytes read. The file's own when it still holds them; a file moved,
// deleted or rewritten since gets no modification time, which no file then matches.
FileFingerprint FingerprintOfRead(const std::string& path, const FileBytes& bytes)
{
    const std::optional<FileFingerprint> file = FingerprintOfFile(path);
    const FileFingerprint read = FingerprintOfBytes(bytes.view(), file ? file->modified : 0);
    return file == read ? read : FingerprintOfBytes(bytes.view(), 0);
}

}  // namespace

bool MarkingSession::OnOpen()
{
    if (!SaveBeforeLeaving()) {
        return false;
    }
    AppendFolderSeparator(m_sourceDir);
    const std::optional<std::string> chosen = m_operator.AskOpenPath(m_sourceDir + ".iso");
    if (!chosen) {
        return false;
    }
    const std::string title = PathToUtf8(PathFromUtf8(*chosen).stem());
    const std::string path = PathToLoad(*chosen);
    if (!OpenSession([&] { return ReadRecordFile(path, title); })) {
        return false;
    }
    m_chosenSource = *chosen;
    return true;
}

// Every way into a session: the file is read under a progress window and a new working copy
// written; only then does the session take the file.
bool MarkingSession::OpenSession(const std::function<std::optional<OpenedFile>()>& read)
{
    std::optional<OpenedFile> file;
    {
        ProgressScope progress(m_operator);
        file = read();
    }
    if (!file) {
        return false;
    }
    ChangeJournal journal;
    std::optional<std::string> workPath = CreateWorkingCopy(file->records, journal);
    if (!workPath) {
        return false;
    }
    m_journal = std::move(journal);
    StartSession(std::move(*file), std::move(*workPath));
    return true;
}

// The results file of the same name, when one exists and the operator wants to go on with it.
// The chosen file itself, found there when the results folder is its own, is no earlier work.
std::string MarkingSession::PathToLoad(const std::string& chosen)
{
    std::string folder = m_resultDir;
    AppendFolderSeparator(folder);
    const std::string candidate = folder + PathToUtf8(PathFromUtf8(chosen).filename());
    if (FileExists(candidate) && !IsSameFile(candidate, chosen) &&
        m_operator.AskYesNo(m_operator.Translate(kResumeQuestion))) {
        return candidate;
    }
    return chosen;
}

// A file that cannot be read is reported; one that holds no records opens with none.
std::optional<MarkingSession::OpenedFile> MarkingSession::ReadRecordFile(const std::string& path,
                                                                        const std::string& title)
{
    // The clock of the progress window starts before the read, so that a slow disk counts.
    const std::string caption = WithDetail(m_operator.Translate(kOpenProgress), title);
    if (!m_operator.ReportProgress(caption, 0, 1)) {
        return std::nullopt;
    }
    // A small file is held in memory, where no other program can change it; a large one is
    // read through a mapping, so that what the session keeps of its own does not grow with it.
    MapResult read = ReadOrMapWholeFile(path, m_backgroundCopyFrom);
    if (read.error) {
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kReadFailed), path + ": " + *read.error));
        return std::nullopt;
    }
    OpenedFile file{path, title, {}, 0, Charset::Ascii, CharsetEvidence::NoEightBitText, RecordStore(),
                    FingerprintOfRead(path, read.bytes), {}};
    RecordStore& store = file.store;
    store.OpenBytes(std::move(read.bytes), path, m_charsetChoice);
    file.charset = store.GetCharset();
    file.evidence = store.GetDetection().evidence;
    if (!TakeRecords(file, caption)) {
        return std::nullopt;
    }
    return file;
}

bool MarkingSession::TakeRecords(OpenedFile& file, const std::string& caption, const std::vector<JournalEntry>* journal)
{
    RecordStore& store = file.store;
    const int count = store.GetRecordCount();
    file.records = store.Records();  // the bytes the store read, shared rather than copied
    // The working copy written from the list must read back as the list.
    if (!store.FileProblems().empty()) {
        RebuildMisframedRecords(file.records);
    }
    if (journal && !journal->empty()) {
        if (!ApplyJournal(*journal, file.records)) {
            m_operator.ShowMessage(WithDetail(m_operator.Translate(kRecoveryFailed), file.path));
            return false;
        }
        // The store counts the marks the journal brought: it holds the records of the list.
        store.OpenRecords(file.records, file.path, file.charset, store.GetDetection().evidence);
    }
    for (int record = 0; record < count; ++record) {
        // Cancelled: nothing of the session has changed yet.
        if (record % kRecordsPerReport == 0 &&
            !m_operator.ReportProgress(caption, static_cast<std::uint64_t>(record),
                                   static_cast<std::uint64_t>(count))) {
            return false;
        }
        store.SetRecord(record);
        file.markedCount += CountLabelFields(store);
    }
    return true;
}

// A new journal named "NEW..." in the temporary folder, holding the records that differ from the
// file's bytes (those rebuilt for a damaged file, those of restored work); an empty path for a
// session that keeps none.
std::optional<std::string> MarkingSession::CreateWorkingCopy(const RecordBufferList& records, ChangeJournal& journal)
{
    if (m_workingCopy == WorkingCopy::None) {
        return std::string();
    }
    const NewFileResult created = CreateTempFile("NEW");
    std::optional<std::string> error = created.error;
    if (!error) {
        BusyScope busy(m_operator);
        error = ChangeJournal::Create(created.path, records, journal);
        if (error) {
            RemoveFile(created.path);
        }
    }
    if (error) {
        m_operator.ShowMessage(WithDetail(m_operator.Translate(kWorkingCopyCreateFailed), *error));
        return std::nullopt;
    }
    return created.path;
}

void MarkingSession::StartSession(OpenedFile file, std::string workPath)
{
    std::shared_ptr<HeldNote> note;
    if (!workPath.empty()) {
        note = WriteNote(workPath, NoteFor(file));
    }
    std::shared_ptr<HeldNote> previousNote = std::exchange(m_workNote, std::move(note));
    const std::string previousWorkPath = std::exchange(m_workPath, std::move(workPath));
    m_fileOpen = true;
    m_chosenSource.clear();
    m_records = std::move(file.records);
    m_markedCount = file.markedCount;
    m_charset = file.charset;
    m_charsetEvidence = file.evidence;
    m_fileTitle = std::move(file.title);
    m_sourcePath = file.path;
    // The store holds the records of the list, in the character set found at open. A file with
    // no framing problems has nothing outside its records, so the store that read it already
    // holds exactly those bytes; any other store is built from the list, framed as the list is.
    if (file.store.GetRecordCount() > 0 && file.store.FileProblems().empty()) {
        m_store = std::move(file.store);
    } else {
        m_store.OpenRecords(m_records, file.path, m_charset, m_charsetEvidence);
    }

    // The copy of the previous file stops before its working copy goes.
    StartSourceCopy(file);

    m_store.SetRecord(0);
    m_savedRecord = 0;
    RenderRecord();
    m_display.EnableRecordButtons();
    m_modified = false;
    m_display.ShowModified(ModifiedImage::NothingUnsaved);
    m_display.ArmHotkeys();
    RenderRecord();
    m_display.FileOpened();

    // Whatever it held was saved or given up before the open went ahead.
    if (!previousWorkPath.empty()) {
        RemoveWorkingCopy(previousWorkPath, previousNote);
    }
}

}  // namespace luma
