#include "records/record_buffer_list.h"

#include <algorithm>
#include <cstring>

namespace luma {
namespace {

constexpr std::size_t kArenaBlock = std::size_t{4} << 20;

}  // namespace

std::string_view RecordBufferList::Arena::Append(std::string_view bytes)
{
    if (m_blocks.empty() || m_capacity - m_used < bytes.size()) {
        m_capacity = std::max(kArenaBlock, bytes.size());
        // Whole huge pages, so that first touches of the block cost no trap each.
        m_blocks.push_back(AllocateLargeBytes(m_capacity));
        m_used = 0;
    }
    char* at = m_blocks.back().get() + m_used;
    if (!bytes.empty()) {
        std::memcpy(at, bytes.data(), bytes.size());
    }
    m_used += bytes.size();
    return {at, bytes.size()};
}

RecordBufferList::RecordBufferList(std::shared_ptr<const FileBytes> bytes, RecordSpans spans)
    : m_bytes(std::move(bytes)), m_spans(std::move(spans))
{
}

RecordBufferList RecordBufferList::FromRecords(const std::vector<std::string>& records)
{
    std::size_t total = 0;
    for (const std::string& record : records) {
        total += record.size();
    }
    auto bytes = std::make_shared<FileBytes>(total);
    RecordSpans spans;
    spans.reserve(records.size());
    std::size_t offset = 0;
    for (const std::string& record : records) {
        spans.push_back({offset, record.size()});
        std::copy(record.begin(), record.end(), bytes->data() + offset);
        offset += record.size();
    }
    return RecordBufferList(std::move(bytes), std::move(spans));
}

std::string_view RecordBufferList::operator[](std::size_t index) const
{
    if (IsOwn(index)) {
        return m_own[index];
    }
    const RecordSpan span = m_spans[index];
    return m_bytes->view().substr(span.offset, span.length);
}

void RecordBufferList::Replace(std::size_t index, std::string_view bytes)
{
    const RecordSpan span = m_spans[index];
    if (m_bytes->view().substr(span.offset, span.length) == bytes) {
        if (IsOwn(index)) {
            m_own[index] = {};
        }
        return;
    }
    if (m_own.empty()) {
        m_own.resize(m_spans.size());
    }
    m_own[index] = m_arena->Append(bytes);
}

void RecordBufferList::TakeRecordOf(const RecordBufferList& other, std::size_t index)
{
    if (other.IsOwn(index) && other.m_arena == m_arena && other.m_bytes == m_bytes) {
        if (m_own.empty()) {
            m_own.resize(m_spans.size());
        }
        m_own[index] = other.m_own[index];
    } else {
        Replace(index, other[index]);
    }
}

std::vector<std::string_view> RecordBufferList::Pieces() const
{
    std::vector<std::string_view> pieces;
    // Room for the most pieces there can be, so that thousands of changed records do not
    // grow the array again and again; what is not written is never touched.
    pieces.reserve(m_own.empty() ? 1 : m_spans.size());
    const std::string_view shared = m_bytes ? m_bytes->view() : std::string_view();
    bool lastShared = false;
    for (std::size_t i = 0; i < m_spans.size(); ++i) {
        if (IsOwn(i)) {
            pieces.push_back(m_own[i]);
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

std::vector<std::size_t> RecordBufferList::ChangedRecords() const
{
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < m_own.size(); ++i) {
        if (IsOwn(i)) {
            changed.push_back(i);
        }
    }
    return changed;
}

bool RecordBufferList::ReplaceSharedBytes(std::shared_ptr<const FileBytes> bytes)
{
    if (!bytes || !m_bytes || bytes->size() != m_bytes->size()) {
        return false;
    }
    m_bytes = std::move(bytes);
    return true;
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

}  // namespace luma
