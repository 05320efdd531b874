#include "iso_record.h"

#include <algorithm>

#include "iso_format.h"

namespace luma {
namespace {

using iso::DigitsAt;
using iso::kFieldTerminator;
using iso::kLeaderLength;
using iso::kRecordTerminator;
constexpr auto npos = std::string_view::npos;

// Where the directory ends, or nullopt when no field can be read: the same test for the parser
// and for the tag lookup, so that they agree on every record.
std::optional<std::size_t> DirectoryEndOf(std::string_view bytes)
{
    if (bytes.size() < kLeaderLength) {
        return std::nullopt;
    }
    const std::size_t dataEnd = bytes.back() == kRecordTerminator ? bytes.size() - 1 : bytes.size();
    const std::size_t directoryEnd = bytes.find(kFieldTerminator, kLeaderLength);
    if (directoryEnd == npos || directoryEnd >= dataEnd) {
        return std::nullopt;
    }
    return directoryEnd;
}

struct DirectoryEntry {
    std::string tag;
    std::optional<std::uint64_t> length;
    std::optional<std::uint64_t> start;
    std::size_t offset = 0;  // of the entry within the record
};

class RecordParser {
public:
    RecordParser(std::string_view bytes, int recordIndex, std::uint64_t fileOffset)
        : m_bytes(bytes), m_recordIndex(recordIndex), m_fileOffset(fileOffset)
    {
    }

    IsoRecord Run()
    {
        m_record.leader = std::string(m_bytes.substr(0, kLeaderLength));
        if (m_bytes.size() < kLeaderLength) {
            Report(0, "record is shorter than its 24-byte leader");
            return std::move(m_record);
        }
        m_dataEnd = m_bytes.size();
        if (m_bytes.back() == kRecordTerminator) {
            --m_dataEnd;
        } else {
            Report(m_bytes.size(), "record terminator missing");
        }
        const std::optional<std::size_t> directoryEnd = DirectoryEndOf(m_bytes);
        if (!directoryEnd) {
            Report(kLeaderLength, "directory has no terminator: no field can be read");
            return std::move(m_record);
        }
        m_base = *directoryEnd + 1;
        CheckBaseAddress();
        ReadFields(ReadDirectory(*directoryEnd));
        return std::move(m_record);
    }

private:
    void Report(std::size_t offsetInRecord, std::string message)
    {
        m_record.problems.push_back({std::move(message), m_recordIndex, m_fileOffset + offsetInRecord});
    }

    void CheckBaseAddress()
    {
        const auto declared = DigitsAt(m_bytes, 12, 5);
        if (!declared || *declared != m_base) {
            std::string given = declared ? std::to_string(*declared) : "'";
            if (!declared) {
                given.append(m_bytes.substr(12, 5)).append("'");
            }
            Report(12, "base address " + given + " corrected to " + std::to_string(m_base) +
                           ", where the directory ends");
        }
    }

    std::vector<DirectoryEntry> ReadDirectory(std::size_t directoryEnd)
    {
        const iso::EntryMap map = iso::EntryMapOf(m_record.leader);
        const std::size_t size = map.EntrySize();
        std::vector<DirectoryEntry> entries;
        std::size_t pos = kLeaderLength;
        for (; pos + size <= directoryEnd; pos += size) {
            entries.push_back({std::string(m_bytes.substr(pos, 3)),
                               DigitsAt(m_bytes, pos + 3, map.lengthDigits),
                               DigitsAt(m_bytes, pos + 3 + map.lengthDigits, map.startDigits), pos});
        }
        if (pos != directoryEnd) {
            Report(pos, "directory ends with " + std::to_string(directoryEnd - pos) +
                            " bytes that are not a whole entry");
        }
        return entries;
    }

    std::optional<std::size_t> StartOf(const DirectoryEntry& entry) const
    {
        if (!entry.start || *entry.start >= m_dataEnd - m_base) {
            return std::nullopt;
        }
        return m_base + static_cast<std::size_t>(*entry.start);
    }

    // A field is trusted when its range ends on a field terminator or where the next field
    // begins.
    bool IsTrusted(const DirectoryEntry& entry, const DirectoryEntry* next) const
    {
        const auto start = StartOf(entry);
        if (!start || !entry.length || *entry.length == 0 || *entry.length > m_dataEnd - *start) {
            return false;
        }
        const std::size_t end = *start + static_cast<std::size_t>(*entry.length);
        return m_bytes[end - 1] == kFieldTerminator || (next && StartOf(*next) == end);
    }

    void ReadFields(const std::vector<DirectoryEntry>& entries)
    {
        std::size_t previousEnd = m_base;
        std::size_t farthest = m_base;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const DirectoryEntry& entry = entries[i];
            const DirectoryEntry* next = i + 1 < entries.size() ? &entries[i + 1] : nullptr;
            std::size_t start = 0;
            std::size_t end = 0;
            if (IsTrusted(entry, next)) {
                start = *StartOf(entry);
                end = start + static_cast<std::size_t>(*entry.length);
            } else {
                start = StartOf(entry).value_or(previousEnd);
                end = RecoveredEnd(start);
                Report(entry.offset, DescribeRecovery(entry, start, end));
            }
            std::string_view data = m_bytes.substr(start, end - start);
            if (!data.empty() && data.back() == kFieldTerminator) {
                data.remove_suffix(1);
            }
            m_record.fields.push_back({entry.tag, std::string(data)});
            previousEnd = end;
            farthest = std::max(farthest, end);
        }
        if (farthest < m_dataEnd) {
            Report(farthest, std::to_string(m_dataEnd - farthest) +
                                 " bytes of field data are not covered by the directory");
        }
    }

    // An untrusted field runs to the next field terminator, or to the end of the data.
    std::size_t RecoveredEnd(std::size_t start) const
    {
        if (start >= m_dataEnd) {
            return m_dataEnd;
        }
        const std::size_t terminator = m_bytes.find(kFieldTerminator, start);
        return terminator == npos || terminator >= m_dataEnd ? m_dataEnd : terminator + 1;
    }

    std::string DescribeRecovery(const DirectoryEntry& entry, std::size_t start, std::size_t end) const
    {
        std::string message = "field " + entry.tag + ": directory entry ";
        if (!entry.length || !entry.start) {
            message += "is not numeric";
        } else if (!StartOf(entry)) {
            message += "points outside the record";
        } else {
            message += "gives length " + std::to_string(*entry.length) +
                       ", which does not end on a field terminator";
        }
        return message + "; the field was read as " + std::to_string(end - start) +
               " bytes up to its terminator";
    }

    std::string_view m_bytes;
    int m_recordIndex;
    std::uint64_t m_fileOffset;
    std::size_t m_dataEnd = 0;
    std::size_t m_base = 0;
    IsoRecord m_record;
};

std::string ZeroPadded(std::uint64_t value, std::size_t width)
{
    std::string text = std::to_string(value);
    return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

std::uint64_t PowerOfTen(std::size_t digits)
{
    std::uint64_t value = 1;
    for (std::size_t i = 0; i < digits; ++i) value *= 10;
    return value;
}

// A leader to build on: the record's own, completed where it was cut short or lacks a usable
// entry map.
std::string BuildLeader(const std::string& leader)
{
    static constexpr std::string_view kTemplate = "00000nam  2200000   4500";
    std::string result = leader.substr(0, kLeaderLength);
    result += kTemplate.substr(result.size());
    const auto length = DigitsAt(result, 20, 1);
    const auto start = DigitsAt(result, 21, 1);
    const auto implementation = DigitsAt(result, 22, 1);
    if (!length || !start || !implementation || *length == 0 || *start == 0) {
        result.replace(20, 3, "450");
    }
    return result;
}

}  // namespace

IsoRecord ParseRecord(std::string_view bytes, int recordIndex, std::uint64_t fileOffset)
{
    return RecordParser(bytes, recordIndex, fileOffset).Run();
}

bool HasFieldWithTag(std::string_view bytes, std::string_view tag)
{
    if (tag.size() != 3) {
        return false;  // directory tags are three bytes
    }
    const std::optional<std::size_t> directoryEnd = DirectoryEndOf(bytes);
    if (!directoryEnd) {
        return false;
    }
    // The entries ReadDirectory takes: one field each, tagged by the entry's first three bytes.
    const std::size_t size = iso::EntryMapOf(bytes.substr(0, kLeaderLength)).EntrySize();
    for (std::size_t pos = kLeaderLength; pos + size <= *directoryEnd; pos += size) {
        if (bytes[pos] == tag[0] && bytes[pos + 1] == tag[1] && bytes[pos + 2] == tag[2]) {
            return true;
        }
    }
    return false;
}

BuildResult BuildRecord(const IsoRecord& record)
{
    BuildResult result;
    std::string leader = BuildLeader(record.leader);
    const iso::EntryMap map = iso::EntryMapOf(leader);
    const std::uint64_t fieldLimit = PowerOfTen(map.lengthDigits) - 1;
    const std::uint64_t startLimit = PowerOfTen(map.startDigits) - 1;

    std::string directory;
    std::string data;
    for (const Field& field : record.fields) {
        const std::uint64_t length = field.data.size() + 1;
        if (length > fieldLimit) {
            result.error = "field " + field.tag + " would be " + std::to_string(length) +
                           " bytes long; a field may have at most " + std::to_string(fieldLimit);
            return result;
        }
        if (data.size() > startLimit) {
            result.error = "field " + field.tag + " would start beyond the format's limit of " +
                           std::to_string(startLimit) + " bytes";
            return result;
        }
        std::string tag = field.tag.substr(0, 3);
        tag.resize(3, ' ');
        directory += tag + ZeroPadded(length, map.lengthDigits) +
                     ZeroPadded(data.size(), map.startDigits) +
                     std::string(map.implementationDigits, '0');
        data += field.data;
        data += kFieldTerminator;
    }
    const std::uint64_t base = kLeaderLength + directory.size() + 1;
    const std::uint64_t total = base + data.size() + 1;
    if (total > iso::kMaxRecordLength) {
        result.error = "the record would be " + std::to_string(total) +
                       " bytes long; a record may have at most " +
                       std::to_string(iso::kMaxRecordLength);
        return result;
    }
    leader.replace(0, 5, ZeroPadded(total, 5));
    leader.replace(12, 5, ZeroPadded(base, 5));
    result.bytes.reserve(total);
    result.bytes = leader + directory + kFieldTerminator + data + kRecordTerminator;
    return result;
}

}  // namespace luma
