#pragma once
// The record buffer list: every record of a file as bytes, without a copy per record. The bytes
// that were read are shared, read-only, by the lists and stores made from them; a record is a
// span of them until it changes, and only a changed record holds bytes of its own.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "record_index.h"

namespace luma {

class RecordBufferList {
public:
    RecordBufferList() = default;
    RecordBufferList(std::shared_ptr<const std::string> bytes, std::vector<RecordSpan> spans);
    // The records joined into one shared buffer.
    static RecordBufferList FromRecords(const std::vector<std::string>& records);

    std::size_t size() const { return m_spans.size(); }
    bool empty() const { return m_spans.empty(); }
    std::string_view operator[](std::size_t index) const;
    // Gives a record new bytes; bytes equal to its shared ones give up its own.
    void Replace(std::size_t index, std::string bytes);

    // The records one after another, as a file holds them: records that lie side by side in
    // the shared bytes make one piece, so an unchanged file is written in one.
    std::vector<std::string_view> Pieces() const;
    std::uint64_t ByteSize() const;
    std::vector<std::string> ToStrings() const;
    const std::shared_ptr<const std::string>& SharedBytes() const { return m_bytes; }

private:
    std::shared_ptr<const std::string> m_bytes;
    std::vector<RecordSpan> m_spans;  // where each record lies in m_bytes
    std::map<std::size_t, std::string> m_own;
};

bool operator==(const RecordBufferList& list, const std::vector<std::string>& records);

}  // namespace luma
