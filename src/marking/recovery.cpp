#include "marking/recovery.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <system_error>

#include "platform/file_io.h"
#include "platform/file_ops.h"
#include "marking/change_journal.h"
#include "records/iso_format.h"
#include "records/record_framing.h"
#include "records/record_store.h"

namespace luma {
namespace {

constexpr std::string_view kNoteExtension = ".luma";
constexpr std::string_view kWorkPrefix = "NEW";
constexpr std::string_view kVersionLine = "LUMA working copy note 1";
constexpr std::string_view kJournalVersionLine = "LUMA working copy note 2";
constexpr std::string_view kEndLine = "end";
constexpr std::string_view kRecordKey = "\nrecord: ";
// The record number has a fixed width, so that it can be rewritten in place.
constexpr std::size_t kRecordDigits = 10;

std::string Escape(std::string_view value)
{
    std::string escaped;
    for (const char c : value) {
        switch (c) {
        case '%': escaped += "%25"; break;
        case '\r': escaped += "%0D"; break;
        case '\n': escaped += "%0A"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

std::optional<std::string> Unescape(std::string_view value)
{
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            plain += value[i];
            continue;
        }
        const std::string_view code = value.substr(i + 1, 2);
        if (code == "25") plain += '%';
        else if (code == "0D") plain += '\r';
        else if (code == "0A") plain += '\n';
        else return std::nullopt;
        i += 2;
    }
    return plain;
}

template <class Number = std::int64_t>
std::optional<Number> ParseNumber(std::string_view text)
{
    Number number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return number;
}

std::optional<Charset> ParseCharset(std::string_view name)
{
    for (const Charset charset : AllCharsets()) {
        if (CharsetName(charset) == name) {
            return charset;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);  // no line break: cut short
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

// "key: value" lines into a map; nothing when a line has no key or a key comes twice.
std::optional<std::map<std::string, std::string, std::less<>>> Entries(
    const std::vector<std::string_view>& lines)
{
    std::map<std::string, std::string, std::less<>> entries;
    for (const std::string_view line : lines) {
        const std::size_t colon = line.find(": ");
        if (colon == 0 || colon == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<std::string> value = Unescape(line.substr(colon + 2));
        if (!value || !entries.emplace(std::string(line.substr(0, colon)), *value).second) {
            return std::nullopt;
        }
    }
    return entries;
}

// The working copy and the copy of its source; a copy never made, or taken over by a restored
// session, is simply not there.
void RemoveWorkFiles(const std::string& workPath)
{
    RemoveFile(workPath);
    RemoveFile(SourceCopyPath(workPath));
}

// The working copy a note in the folder stands beside; nothing for any other file.
std::optional<std::string> WorkPathOfNote(const std::filesystem::directory_entry& entry)
{
    const std::string name = PathToUtf8(entry.path().filename());
    std::error_code ec;
    if (name.size() <= kWorkPrefix.size() + kNoteExtension.size() || !name.starts_with(kWorkPrefix) ||
        !name.ends_with(kNoteExtension) || !entry.is_regular_file(ec)) {
        return std::nullopt;
    }
    const std::string notePath = PathToUtf8(entry.path());
    return notePath.substr(0, notePath.size() - kNoteExtension.size());
}

// The hidden temporary files of rewrites a killed session never finished (".NEWabc.XXXXXX"
// beside "NEWabc", and the note's own): only that session ever wrote under those names.
void RemoveUnfinishedRewrites(const std::string& workPath)
{
    const std::filesystem::path work = PathFromUtf8(workPath);
    const std::string prefix = "." + PathToUtf8(work.filename()) + ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(work.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = PathToUtf8(it->path().filename());
        std::error_code typeError;
        if (name.starts_with(prefix) && it->is_regular_file(typeError)) {
            RemoveFile(PathToUtf8(it->path()));
        }
    }
}

// A note no one holds, with a working copy worth offering; debris of ended work is removed.
std::optional<LeftWork> TakeLeftWork(const std::string& workPath)
{
    std::optional<LockedFile> hold = LockedFile::TryHold(NotePath(workPath));
    if (!hold) {
        return std::nullopt;  // its session still runs, or the note has just gone
    }
    RemoveUnfinishedRewrites(workPath);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(PathFromUtf8(workPath), ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        hold->Remove();
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(workPath), ec);
    const std::optional<std::string> text = hold->ReadAll();
    std::optional<WorkingCopyNote> note = text ? ParseNote(*text) : std::nullopt;
    // A link would lead elsewhere than the temporary folder, which only LUMA's own copies fill.
    if (ec || !std::filesystem::is_regular_file(status) || !note) {
        return std::nullopt;
    }
    if (size == 0) {
        LeftWork empty{workPath, std::move(*note), std::move(*hold)};
        DiscardLeftWork(empty);
        return std::nullopt;
    }
    return LeftWork{workPath, std::move(*note), std::move(*hold)};
}

}  // namespace

std::string NotePath(const std::string& workPath)
{
    return workPath + std::string(kNoteExtension);
}

std::string SourceCopyPath(const std::string& workPath)
{
    return workPath + ".iso";
}

std::string FormatNote(const WorkingCopyNote& note)
{
    const bool journal = note.layout == WorkingCopyLayout::JournalOverSource;
    std::string text(journal ? kJournalVersionLine : kVersionLine);
    text += "\nsource: " + Escape(note.sourcePath);
    text += "\ntitle: " + Escape(note.title);
    text += "\nstarted: " + std::to_string(note.started);
    text += "\npid: " + std::to_string(note.processId);
    text += "\ncharset: " + std::string(CharsetName(note.charset));
    if (journal) {
        text += "\nsource-size: " + std::to_string(note.source.size);
        text += "\nsource-modified: " + std::to_string(note.source.modified);
        text += "\nsource-hash: " + std::to_string(note.source.hash);
        text += note.sourceCopied ? "\ncopied: yes" : "\ncopied: no";
    }
    text += kRecordKey;
    iso::AppendZeroPadded(text, static_cast<std::uint64_t>(std::clamp<std::int64_t>(note.recordNumber, 1, 9'999'999'999)),
                          kRecordDigits);
    text += "\n" + std::string(kEndLine) + "\n";
    return text;
}

std::optional<WorkingCopyNote> ParseNote(std::string_view text)
{
    const std::string endLine = "\n" + std::string(kEndLine) + "\n";
    if (const std::size_t end = text.find(endLine); end != std::string_view::npos) {
        text = text.substr(0, end + endLine.size());
    }
    if (!text.ends_with('\n')) {
        return std::nullopt;
    }
    std::vector<std::string_view> lines = Lines(text);
    if (lines.size() < 2 || (lines.front() != kVersionLine && lines.front() != kJournalVersionLine) ||
        lines.back() != kEndLine) {
        return std::nullopt;
    }
    const bool journal = lines.front() == kJournalVersionLine;
    const auto entries = Entries({lines.begin() + 1, lines.end() - 1});
    if (!entries) {
        return std::nullopt;
    }
    const auto find = [&](std::string_view key) -> const std::string* {
        const auto it = entries->find(key);
        return it == entries->end() ? nullptr : &it->second;
    };
    const std::string* source = find("source");
    const std::string* title = find("title");
    const std::string* started = find("started");
    const std::string* pid = find("pid");
    const std::string* charsetName = find("charset");
    if (!source || source->empty() || !title || !started || !pid || !charsetName) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> startedAt = ParseNumber(*started);
    const std::optional<std::int64_t> processId = ParseNumber(*pid);
    const std::optional<Charset> charset = ParseCharset(*charsetName);
    if (!startedAt || !processId || !charset) {
        return std::nullopt;
    }
    // Notes written before the record was kept have none: their work opens at the first record.
    const std::string* record = find("record");
    const std::optional<std::int64_t> recordNumber = record ? ParseNumber(*record) : std::nullopt;
    WorkingCopyNote note{*source, *title, *startedAt, *processId, *charset,
                         std::max<std::int64_t>(recordNumber.value_or(1), 1)};
    if (journal) {
        const std::string* size = find("source-size");
        const std::string* modified = find("source-modified");
        const std::string* hash = find("source-hash");
        const std::string* copied = find("copied");
        if (!size || !modified || !hash || !copied || (*copied != "yes" && *copied != "no")) {
            return std::nullopt;
        }
        const std::int64_t sizeValue = ParseNumber(*size).value_or(-1);
        const std::optional<std::int64_t> modifiedValue = ParseNumber(*modified);
        const std::optional<std::uint64_t> hashValue = ParseNumber<std::uint64_t>(*hash);
        if (sizeValue < 0 || !modifiedValue || !hashValue) {
            return std::nullopt;
        }
        note.source = {static_cast<std::uint64_t>(sizeValue), *modifiedValue, *hashValue};
        note.layout = WorkingCopyLayout::JournalOverSource;
        note.sourceCopied = *copied == "yes";
    }
    return note;
}

bool UpdateNoteRecord(LockedFile& hold, const WorkingCopyNote& note)
{
    const std::string text = FormatNote(note);
    const std::size_t at = text.find(kRecordKey) + kRecordKey.size();
    return hold.WriteAt(at, std::string_view(text).substr(at, kRecordDigits));
}

bool RewriteNote(LockedFile& hold, const WorkingCopyNote& note)
{
    return hold.WriteAt(0, FormatNote(note));
}

WorkingCopyNote HeldNote::Note() const
{
    const std::lock_guard lock(m_mutex);
    return m_note;
}

// The note changed by `change`, written by `write`; the held text follows only a write that worked.
template <class Change, class Write>
bool HeldNote::Rewrite(Change&& change, Write&& write)
{
    const std::lock_guard lock(m_mutex);
    WorkingCopyNote changed = m_note;
    change(changed);
    if (changed == m_note) {
        return true;
    }
    if (!write(m_file, changed)) {
        return false;
    }
    m_note = std::move(changed);
    return true;
}

bool HeldNote::SetRecordNumber(std::int64_t recordNumber)
{
    return Rewrite([&](WorkingCopyNote& note) { note.recordNumber = recordNumber; }, UpdateNoteRecord);
}

bool HeldNote::SetCharset(Charset charset)
{
    return Rewrite([&](WorkingCopyNote& note) { note.charset = charset; }, RewriteNote);
}

bool HeldNote::SetSourceCopied()
{
    return Rewrite([](WorkingCopyNote& note) { note.sourceCopied = true; }, RewriteNote);
}

void HeldNote::Remove()
{
    const std::lock_guard lock(m_mutex);
    m_file.Remove();
}

std::shared_ptr<HeldNote> WriteNote(const std::string& workPath, const WorkingCopyNote& note)
{
    LockedFileResult created = LockedFile::Create(NotePath(workPath), FormatNote(note));
    if (!created.file) {
        return nullptr;
    }
    return std::make_shared<HeldNote>(std::move(*created.file), note);
}

void RemoveWorkingCopy(const std::string& workPath, std::shared_ptr<HeldNote>& note)
{
    if (note) {
        note->Remove();
        note.reset();
    }
    RemoveWorkFiles(workPath);
}

std::vector<LeftWork> FindLeftWork(const std::filesystem::path& folder)
{
    std::vector<LeftWork> left;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (const std::optional<std::string> workPath = WorkPathOfNote(*it)) {
            if (std::optional<LeftWork> work = TakeLeftWork(*workPath)) {
                left.push_back(std::move(*work));
            }
        }
    }
    std::sort(left.begin(), left.end(), [](const LeftWork& a, const LeftWork& b) {
        return a.note.started != b.note.started ? a.note.started > b.note.started : a.workPath < b.workPath;
    });
    return left;
}

std::optional<WorkingCopyRecords> ReadWorkingCopyRecords(const std::string& workPath)
{
    // Any other file is not read here: it may be a record file of gigabytes.
    const std::string notePath = NotePath(workPath);
    const ReadResult noteBytes = FileExists(notePath) ? ReadWholeFile(notePath) : ReadResult{{}, "no note"};
    const std::optional<WorkingCopyNote> note = noteBytes.error ? std::nullopt : ParseNote(noteBytes.bytes.view());
    if (!note || note->layout != WorkingCopyLayout::JournalOverSource) {
        return std::nullopt;
    }
    const ReadResult journalBytes = ReadWholeFile(workPath);
    const auto entries = journalBytes.error ? std::nullopt : ReadJournal(journalBytes.bytes.view());
    if (!entries) {
        return std::nullopt;
    }
    const std::string copy = SourceCopyPath(workPath);
    RecordStore store;
    if (store.Open(note->sourceCopied && FileExists(copy) ? copy : note->sourcePath, note->charset) != 0) {
        return std::nullopt;
    }
    RecordBufferList records = store.Records();
    if (!store.FileProblems().empty()) {
        RebuildMisframedRecords(records);
    }
    if (!ApplyJournal(*entries, records)) {
        return std::nullopt;
    }
    return WorkingCopyRecords{std::move(records), note->charset};
}

void DiscardLeftWork(LeftWork& work)
{
    work.hold.Remove();
    RemoveWorkFiles(work.workPath);
}

}  // namespace luma
