#pragma once
// The journal of a session's changed records: the working copy of a file too large to rewrite
// on every mark. Each mark or unmark appends the records it changed, whole, and flushes them;
// read back over the records of the file as it was opened, the last entry of each record wins.
// An entry cut short by a kill or a full disk, and anything after it, is not read: it was never
// a completed change.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_buffer_list.h"

namespace luma {

struct JournalEntry {
    std::size_t record = 0;  // 0-based
    std::string_view bytes;  // the record's whole new bytes, in the journal's text
};

// The entries of a journal's bytes, in order; nothing when they do not begin as a journal.
std::optional<std::vector<JournalEntry>> ReadJournal(std::string_view bytes);

// Gives each record the bytes of its last entry. False, with the list unchanged, when an entry
// names a record the list does not have: the journal belongs to another file.
bool ApplyJournal(const std::vector<JournalEntry>& entries, RecordBufferList& records);

class ChangeJournal {
public:
    // Writes a new journal at `path` holding the records the list holds changed. An error
    // message when it cannot be written.
    static std::optional<std::string> Create(const std::string& path, const RecordBufferList& records,
                                             ChangeJournal& journal);

    ChangeJournal() = default;
    const std::string& Path() const { return m_path; }
    // Appends the listed records as the list now holds them, flushed to disk. A journal another
    // program removed or changed is written anew from the list, so that it holds every change
    // again. An error message when neither could be done; the journal then holds what it held.
    std::optional<std::string> Append(const std::vector<std::size_t>& changed, const RecordBufferList& records);

private:
    std::optional<std::string> Rewrite(const RecordBufferList& records);

    std::string m_path;
    std::uint64_t m_size = 0;  // what this session has written to it
};

}  // namespace luma
