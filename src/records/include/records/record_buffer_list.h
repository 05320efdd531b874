#pragma once
// The record buffer list: every record of a file as bytes, without a copy per record. The bytes
// that were read are shared, read-only, by the lists and stores made from them; a record is a
// span of them until it changes, and only a changed record has bytes of its own, kept in an
// arena that grows in large blocks: a thousand marks cost no thousand allocations, nor the page
// faults of memory touched for the first time a few bytes at a time.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_bytes.h"
#include "platform/large_array_allocator.h"
#include "records/record_index.h"

namespace luma {

class RecordBufferList {
public:
    RecordBufferList() = default;
    RecordBufferList(std::shared_ptr<const FileBytes> bytes, RecordSpans spans);
    // The records joined into one shared buffer.
    static RecordBufferList FromRecords(const std::vector<std::string>& records);

    std::size_t size() const { return m_spans.size(); }
    bool empty() const { return m_spans.empty(); }
    std::string_view operator[](std::size_t index) const;
    // Gives a record new bytes; bytes equal to its shared ones give up its own.
    void Replace(std::size_t index, std::string_view bytes);
    // Gives a record the bytes the other list holds for it, without a copy where the two
    // lists came from one another.
    void TakeRecordOf(const RecordBufferList& other, std::size_t index);

    // The records one after another, as a file holds them: records that lie side by side in
    // the shared bytes make one piece, so an unchanged file is written in one.
    std::vector<std::string_view> Pieces() const;
    std::vector<std::string> ToStrings() const;
    // The records with bytes of their own, in order: those that differ from the bytes read.
    std::vector<std::size_t> ChangedRecords() const;
    // The bytes the list was made from, as read: for a list a file's store gave, the whole file.
    const std::shared_ptr<const FileBytes>& SharedBytes() const { return m_bytes; }
    // Reads the unchanged records from other bytes of the same size from now on: a copy of the
    // file, when the file itself can no longer be trusted. False, with nothing changed, for
    // bytes of another size.
    bool ReplaceSharedBytes(std::shared_ptr<const FileBytes> bytes);

private:
    // Bytes appended and never moved, so that lists copied from one another can share it.
    class Arena {
    public:
        std::string_view Append(std::string_view bytes);

    private:
        std::vector<LargeBytes> m_blocks;
        std::size_t m_used = 0;
        std::size_t m_capacity = 0;
    };

    bool IsOwn(std::size_t index) const { return index < m_own.size() && m_own[index].data() != nullptr; }

    std::shared_ptr<const FileBytes> m_bytes;
    RecordSpans m_spans;  // where each record lies in m_bytes
    std::shared_ptr<Arena> m_arena = std::make_shared<Arena>();  // copies share it
    std::vector<std::string_view, LargeArrayAllocator<std::string_view>> m_own;  // a changed record's bytes in the arena; none for the rest
};

}  // namespace luma
