#include "marking/change_journal.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/byte_hash.h"
#include "platform/file_io.h"

namespace luma {
namespace {

constexpr std::string_view kHeader = "LUMA change journal 1\n";
constexpr std::string_view kEntryStart = "record ";

// "record N LENGTH HASH\n", the bytes, "\n": the hash covers the bytes, so that an entry whose
// bytes were cut short or never reached the disk reads as no entry.
void AppendEntry(std::string& journal, std::size_t record, std::string_view bytes)
{
    char hash[17] = {};
    const std::uint64_t value = HashBytes(bytes);
    std::to_chars(hash, hash + 16, value, 16);
    journal += kEntryStart;
    journal += std::to_string(record);
    journal += ' ';
    journal += std::to_string(bytes.size());
    journal += ' ';
    journal += hash;
    journal += '\n';
    journal += bytes;
    journal += '\n';
}

std::optional<std::uint64_t> TakeNumber(std::string_view& text, char end, int base = 10)
{
    std::uint64_t number = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || stop == text.data() || stop == text.data() + text.size() || *stop != end) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(stop - text.data()) + 1);
    return number;
}

std::optional<JournalEntry> TakeEntry(std::string_view& text)
{
    if (!text.starts_with(kEntryStart)) {
        return std::nullopt;
    }
    std::string_view rest = text.substr(kEntryStart.size());
    const std::optional<std::uint64_t> record = TakeNumber(rest, ' ');
    const std::optional<std::uint64_t> length = record ? TakeNumber(rest, ' ') : std::nullopt;
    const std::optional<std::uint64_t> hash = length ? TakeNumber(rest, '\n', 16) : std::nullopt;
    if (!hash || rest.size() <= *length || rest[*length] != '\n') {
        return std::nullopt;
    }
    const std::string_view bytes = rest.substr(0, *length);
    if (HashBytes(bytes) != *hash) {
        return std::nullopt;
    }
    text = rest.substr(*length + 1);
    return JournalEntry{static_cast<std::size_t>(*record), bytes};
}

}  // namespace

std::optional<std::vector<JournalEntry>> ReadJournal(std::string_view bytes)
{
    if (!bytes.starts_with(kHeader)) {
        return std::nullopt;
    }
    bytes.remove_prefix(kHeader.size());
    std::vector<JournalEntry> entries;
    while (const std::optional<JournalEntry> entry = TakeEntry(bytes)) {
        entries.push_back(*entry);
    }
    return entries;
}

bool ApplyJournal(const std::vector<JournalEntry>& entries, RecordBufferList& records)
{
    for (const JournalEntry& entry : entries) {
        if (entry.record >= records.size()) {
            return false;
        }
    }
    for (const JournalEntry& entry : entries) {
        records.Replace(entry.record, entry.bytes);
    }
    return true;
}

std::optional<std::string> ChangeJournal::Create(const std::string& path, const RecordBufferList& records,
                                                 ChangeJournal& journal)
{
    ChangeJournal created;
    created.m_path = path;
    if (std::optional<std::string> error = created.Rewrite(records)) {
        return error;
    }
    journal = std::move(created);
    return std::nullopt;
}

std::optional<std::string> ChangeJournal::Append(const std::vector<std::size_t>& changed,
                                                 const RecordBufferList& records)
{
    std::string entries;
    for (const std::size_t record : changed) {
        AppendEntry(entries, record, records[record]);
    }
    const AppendResult appended = AppendToFile(m_path, m_size, entries);
    if (appended.notAsLeft) {
        return Rewrite(records);
    }
    if (!appended.error) {
        m_size += entries.size();
    } else {
        // A close that failed after the bytes went in: they are cut off again, so that the
        // journal holds no change the session gave up.
        std::error_code ec;
        std::filesystem::resize_file(PathFromUtf8(m_path), m_size, ec);
    }
    return appended.error;
}

// The changed records as the list holds them, atomically: a rewrite cut short leaves the journal
// as it was.
std::optional<std::string> ChangeJournal::Rewrite(const RecordBufferList& records)
{
    std::string journal(kHeader);
    for (const std::size_t record : records.ChangedRecords()) {
        AppendEntry(journal, record, records[record]);
    }
    std::optional<std::string> error = ReplaceFileAtomically(m_path, {std::string_view(journal)}, Durability::FlushToDisk);
    if (!error) {
        m_size = journal.size();
    }
    return error;
}

}  // namespace luma
