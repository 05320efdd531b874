#include "records/record_index.h"

#include <algorithm>
#include <optional>
#include <string>

#include "records/iso_format.h"

namespace luma {
namespace {

using iso::DigitsAt;
using iso::kFieldTerminator;
using iso::kLeaderLength;
using iso::kRecordTerminator;
constexpr auto npos = std::string_view::npos;

// Bytes that exporters leave between records: line breaks, padding, a DOS end-of-file mark.
bool IsSeparator(char c)
{
    return c == '\r' || c == '\n' || c == '\0' || c == ' ' || c == '\t' || c == '\x1A';
}

std::size_t SkipSeparators(std::string_view file, std::size_t pos)
{
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    while (pos < file.size()) {
        if (IsSeparator(file[pos])) {
            ++pos;
        } else if (file.substr(pos, kByteOrderMark.size()) == kByteOrderMark) {
            pos += kByteOrderMark.size();
        } else {
            break;
        }
    }
    return pos;
}


// Something at `pos` is a (possibly damaged) record rather than junk when its leader carries
// at least one of the numbers every leader has.
bool LooksLikeLeader(std::string_view file, std::size_t pos)
{
    return DigitsAt(file, pos, 5) || DigitsAt(file, pos + 12, 5) || DigitsAt(file, pos + 20, 2);
}

// The record length the directory implies: base address plus the end of its farthest field
// plus the record terminator.
std::optional<std::uint64_t> DirectoryLength(std::string_view file, std::size_t pos)
{
    const std::size_t recordEnd = std::min(file.find(kRecordTerminator, pos), file.size());
    const std::string_view record = file.substr(pos, recordEnd - pos);
    const std::size_t directoryEnd = record.find(kFieldTerminator, kLeaderLength);
    if (record.size() < kLeaderLength || directoryEnd == npos) {
        return std::nullopt;
    }
    const iso::EntryMap map = iso::EntryMapOf(record.substr(0, kLeaderLength));
    std::uint64_t farthest = 0;
    for (std::size_t entry = kLeaderLength; entry + map.EntrySize() <= directoryEnd;
         entry += map.EntrySize()) {
        const auto length = DigitsAt(record, entry + 3, map.lengthDigits);
        const auto start = DigitsAt(record, entry + 3 + map.lengthDigits, map.startDigits);
        if (length && start) {
            farthest = std::max(farthest, *start + *length);
        }
    }
    if (farthest == 0) {
        return std::nullopt;
    }
    return directoryEnd + 1 + farthest + 1;
}

class Indexer {
public:
    explicit Indexer(std::string_view file) : m_file(file) {}

    RecordIndex Run()
    {
        std::size_t pos = 0;
        while (pos < m_file.size()) {
            pos = SkipJunk(pos);
            if (pos >= m_file.size()) {
                break;
            }
            const std::size_t end = RecordEnd(pos);
            m_index.records.push_back({pos, end - pos});
            pos = end;
        }
        AttributeTrailingProblems();
        return std::move(m_index);
    }

private:
    void Report(std::size_t offset, std::string message)
    {
        m_index.problems.push_back(
            {std::move(message), static_cast<int>(m_index.records.size()), offset});
    }

    // Problems found after the last record belong to the last record.
    void AttributeTrailingProblems()
    {
        const int count = static_cast<int>(m_index.records.size());
        for (Problem& problem : m_index.problems) {
            problem.record = count == 0 ? -1 : std::min(problem.record, count - 1);
        }
    }

    // Skips separators and junk before a record, reporting them; gives the record's start.
    std::size_t SkipJunk(std::size_t pos)
    {
        const std::size_t afterSeparators = SkipSeparators(m_file, pos);
        if (afterSeparators > pos) {
            const char* where = pos == 0 ? "before the first record"
                                : afterSeparators == m_file.size() ? "after the last record"
                                                                    : "between records";
            Report(pos, std::to_string(afterSeparators - pos) +
                            " bytes of line breaks or padding " + where + " skipped");
        }
        pos = afterSeparators;
        if (pos >= m_file.size() || IsRecordStart(m_file, pos)) {
            return pos;
        }
        // Too few bytes before a well-formed record to be a record of their own.
        const std::size_t shortest = std::min(m_file.size(), pos + kLeaderLength + 2);
        std::optional<std::size_t> next = RecordStartBetween(pos + 1, shortest);
        if (!next && LooksLikeLeader(m_file, pos)) {
            return pos;
        }
        if (!next) {
            next = JunkEnd(pos);
        }
        Report(pos, std::to_string(*next - pos) + " bytes that are not a record skipped");
        return *next;
    }

    // Junk runs to the next well-formed record, or to something after a record terminator
    // that looks like a leader.
    std::size_t JunkEnd(std::size_t pos) const
    {
        for (std::size_t q = pos + 1; q < m_file.size(); ++q) {
            if (m_file[q - 1] == kRecordTerminator) {
                const std::size_t next = SkipSeparators(m_file, q);
                if (next < m_file.size() && LooksLikeLeader(m_file, next)) {
                    return next;
                }
            }
            if (iso::IsDigit(m_file[q]) && IsRecordStart(m_file, q)) {
                return q;
            }
        }
        return m_file.size();
    }

    // A terminator inside [pos, end - 1) that is followed by a well-formed record shows that
    // the record really ends there.
    std::optional<std::size_t> EarlierEnd(std::size_t pos, std::size_t end) const
    {
        for (std::size_t t = m_file.find(kRecordTerminator, pos); t != npos && t + 1 < end;
             t = m_file.find(kRecordTerminator, t + 1)) {
            const std::size_t next = SkipSeparators(m_file, t + 1);
            if (next < end && IsRecordStart(m_file, next)) {
                return t + 1;
            }
        }
        return std::nullopt;
    }

    std::optional<std::size_t> RecordStartBetween(std::size_t from, std::size_t to) const
    {
        for (std::size_t q = from; q < to; ++q) {
            if (iso::IsDigit(m_file[q]) && IsRecordStart(m_file, q)) {
                return q;
            }
        }
        return std::nullopt;
    }

    bool EndsOnTerminator(std::size_t pos, std::uint64_t length) const
    {
        return length > 0 && length <= m_file.size() - pos &&
               m_file[pos + length - 1] == kRecordTerminator;
    }

    std::size_t RecordEnd(std::size_t pos)
    {
        const auto leaderLength = DigitsAt(m_file, pos, 5);
        if (leaderLength && EndsOnTerminator(pos, *leaderLength)) {
            const std::size_t end = pos + *leaderLength;
            const auto earlier = EarlierEnd(pos, end);
            if (!earlier) {
                return end;
            }
            Report(pos, "leader gives length " + std::to_string(*leaderLength) +
                            ", but the record ends after " + std::to_string(*earlier - pos) +
                            " bytes, where the next record begins");
            return *earlier;
        }
        return DamagedRecordEnd(pos, leaderLength);
    }

    std::string LengthText(const std::optional<std::uint64_t>& leaderLength) const
    {
        return leaderLength ? "leader gives length " + std::to_string(*leaderLength)
                            : "leader length is not a number";
    }

    std::size_t DamagedRecordEnd(std::size_t pos, const std::optional<std::uint64_t>& leaderLength)
    {
        const auto directoryLength = DirectoryLength(m_file, pos);
        if (directoryLength && EndsOnTerminator(pos, *directoryLength) &&
            !RecordStartBetween(pos + 1, pos + *directoryLength)) {
            Report(pos, LengthText(leaderLength) + ", the directory gives " +
                            std::to_string(*directoryLength) + ": the directory is used");
            return pos + *directoryLength;
        }
        const std::size_t terminator = m_file.find(kRecordTerminator, pos);
        const std::size_t limit = terminator == npos ? m_file.size() : terminator + 1;
        if (const auto next = RecordStartBetween(pos + 1, limit)) {
            Report(pos, "record terminator missing: the record ends after " +
                            std::to_string(*next - pos) + " bytes, where the next record begins");
            return *next;
        }
        if (terminator == npos) {
            Report(pos, "file ends inside the record (" + std::to_string(limit - pos) +
                            " bytes, no record terminator)");
            return limit;
        }
        Report(pos, LengthText(leaderLength) + ", but the record terminator comes after " +
                        std::to_string(limit - pos) + " bytes");
        return limit;
    }

    std::string_view m_file;
    RecordIndex m_index;
};

}  // namespace

bool IsRecordStart(std::string_view file, std::size_t pos)
{
    const auto length = DigitsAt(file, pos, 5);
    // The smallest record: leader, directory terminator, record terminator.
    if (!length || *length < kLeaderLength + 2 || *length > file.size() - pos) {
        return false;
    }
    if (file[pos + *length - 1] != kRecordTerminator) {
        return false;
    }
    const auto base = DigitsAt(file, pos + 12, 5);
    return base && *base > kLeaderLength && *base < *length &&
           file[pos + *base - 1] == kFieldTerminator;
}

RecordIndex IndexRecords(std::string_view file)
{
    return Indexer(file).Run();
}

}  // namespace luma
