#include "record_buffer_list.h"

namespace luma {

RecordBufferList::RecordBufferList(std::shared_ptr<const std::string> bytes, std::vector<RecordSpan> spans)
    : m_bytes(std::move(bytes)), m_spans(std::move(spans))
{
}

RecordBufferList RecordBufferList::FromRecords(const std::vector<std::string>& records)
{
    std::size_t total = 0;
    for (const std::string& record : records) {
        total += record.size();
    }
    auto bytes = std::make_shared<std::string>();
    bytes->reserve(total);
    std::vector<RecordSpan> spans;
    spans.reserve(records.size());
    for (const std::string& record : records) {
        spans.push_back({bytes->size(), record.size()});
        *bytes += record;
    }
    return RecordBufferList(std::move(bytes), std::move(spans));
}

std::string_view RecordBufferList::operator[](std::size_t index) const
{
    if (const auto own = m_own.find(index); own != m_own.end()) {
        return own->second;
    }
    const RecordSpan span = m_spans[index];
    return std::string_view(*m_bytes).substr(span.offset, span.length);
}

void RecordBufferList::Replace(std::size_t index, std::string bytes)
{
    const RecordSpan span = m_spans[index];
    if (std::string_view(*m_bytes).substr(span.offset, span.length) == bytes) {
        m_own.erase(index);
    } else {
        m_own.insert_or_assign(index, std::move(bytes));
    }
}

std::vector<std::string_view> RecordBufferList::Pieces() const
{
    std::vector<std::string_view> pieces;
    const std::string_view shared = m_bytes ? std::string_view(*m_bytes) : std::string_view();
    auto own = m_own.begin();
    bool lastShared = false;
    for (std::size_t i = 0; i < m_spans.size(); ++i) {
        if (own != m_own.end() && own->first == i) {
            pieces.emplace_back(own->second);
            ++own;
            lastShared = false;
            continue;
        }
        const RecordSpan span = m_spans[i];
        if (lastShared && pieces.back().data() + pieces.back().size() == shared.data() + span.offset) {
            pieces.back() = std::string_view(pieces.back().data(), pieces.back().size() + span.length);
        } else {
            pieces.push_back(shared.substr(span.offset, span.length));
        }
        lastShared = true;
    }
    return pieces;
}

std::uint64_t RecordBufferList::ByteSize() const
{
    std::uint64_t total = 0;
    for (const std::string_view piece : Pieces()) {
        total += piece.size();
    }
    return total;
}

std::vector<std::string> RecordBufferList::ToStrings() const
{
    std::vector<std::string> records;
    records.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        records.emplace_back((*this)[i]);
    }
    return records;
}

bool operator==(const RecordBufferList& list, const std::vector<std::string>& records)
{
    if (list.size() != records.size()) {
        return false;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (list[i] != records[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace luma
