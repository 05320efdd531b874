// Reading one record: the directory found even where its terminator or the base address is
// damaged, and every field the directory and the field terminators agree on.

#include "records/iso_record.h"

#include <algorithm>

#include "records/iso_format.h"
#include "records/record_checks.h"

namespace luma {
namespace {

using iso::DigitsAt;
using iso::kFieldTerminator;
using iso::kLeaderLength;
using iso::kRecordTerminator;
constexpr auto npos = std::string_view::npos;

// Whether [leader end, end) holds whole directory entries, each with a numeric length and start.
bool IsWholeDirectory(std::string_view bytes, std::size_t end)
{
    const iso::EntryMap map = iso::EntryMapOf(bytes.substr(0, kLeaderLength));
    const std::size_t size = map.EntrySize();
    if (end <= kLeaderLength || (end - kLeaderLength) % size != 0) {
        return false;
    }
    for (std::size_t pos = kLeaderLength; pos < end; pos += size) {
        if (!DigitsAt(bytes, pos + 3, map.lengthDigits) ||
            !DigitsAt(bytes, pos + 3 + map.lengthDigits, map.startDigits)) {
            return false;
        }
    }
    return true;
}

// Where the directory's entries end and where the field data begins: one byte apart, the
// directory's terminator (or a byte standing in its place) between them, or at the same place
// when the terminator was left out.
struct DirectoryBounds {
    std::size_t entriesEnd = 0;
    std::size_t dataStart = 0;
};

// How many entries of the directory give a field that ends on a field terminator when the
// field data starts at `bounds.dataStart`.
std::size_t FittingEntries(std::string_view bytes, DirectoryBounds bounds)
{
    const iso::EntryMap map = iso::EntryMapOf(bytes.substr(0, kLeaderLength));
    std::size_t fitting = 0;
    for (std::size_t pos = kLeaderLength; pos + map.EntrySize() <= bounds.entriesEnd;
         pos += map.EntrySize()) {
        const auto length = DigitsAt(bytes, pos + 3, map.lengthDigits);
        const auto start = DigitsAt(bytes, pos + 3 + map.lengthDigits, map.startDigits);
        if (!length || !start || *length == 0 || *start >= bytes.size() || *length >= bytes.size()) {
            continue;
        }
        const std::uint64_t last = bounds.dataStart + *start + *length - 1;
        if (last < bytes.size() && bytes[last] == kFieldTerminator) {
            ++fitting;
        }
    }
    return fitting;
}

// The directory a lost terminator leaves, read from the base address: the entries end on an
// entry boundary at the base address or one byte before it, and the data starts at the base
// address, or one byte before it when the leader was not updated for a terminator cut out.
// The one under which the most fields end on their terminators is taken, if it has more than
// the reading from the first terminator, which then lies inside the field data; on a tie the
// base address is believed.
std::optional<DirectoryBounds> BoundsFromBaseAddress(std::string_view bytes, std::size_t terminator)
{
    const auto base = DigitsAt(bytes, 12, 5);
    if (!base || *base <= kLeaderLength + 1 || *base > terminator) {
        return std::nullopt;
    }
    const std::size_t at = static_cast<std::size_t>(*base);
    const DirectoryBounds candidates[] = {
        {at - 1, at},      // a byte stands in the terminator's place
        {at, at},          // the terminator cut out, the base address updated
        {at - 1, at - 1},  // the terminator cut out, the base address as it was
    };
    std::optional<DirectoryBounds> best;
    std::size_t bestFitting = FittingEntries(bytes, {terminator, terminator + 1});
    for (const DirectoryBounds& candidate : candidates) {
        if (candidate.entriesEnd >= terminator || !IsWholeDirectory(bytes, candidate.entriesEnd)) {
            continue;
        }
        const std::size_t fitting = FittingEntries(bytes, candidate);
        if (fitting > bestFitting) {
            best = candidate;
            bestFitting = fitting;
        }
    }
    return best;
}

// Where the directory ends, or nullopt when no field can be read: the same test for the parser
// and for the tag lookup, so that they agree on every record. The directory ends at the first
// field terminator. When that terminator is lost, the first one lies inside the field data and
// gives no whole directory, while the base address still points at the data, and the fields
// found from there end on their terminators: that reading, under which the directory agrees
// with the data, is taken.
std::optional<DirectoryBounds> DirectoryBoundsOf(std::string_view bytes)
{
    if (bytes.size() < kLeaderLength) {
        return std::nullopt;
    }
    // A field terminator found lies before any record terminator at the end: only the leader
    // and the directory are read, not the record's far end, which a look through every
    // record's directory would otherwise fetch from memory as well.
    const std::size_t terminator = bytes.find(kFieldTerminator, kLeaderLength);
    if (terminator == npos) {
        return std::nullopt;
    }
    const DirectoryBounds atTerminator{terminator, terminator + 1};
    // The usual record: the base address agrees with the first terminator, and nothing else
    // could be chosen, so the entries need not be checked.
    if (const auto base = DigitsAt(bytes, 12, 5); base && *base - 1 == terminator) {
        return atTerminator;
    }
    if (IsWholeDirectory(bytes, terminator)) {
        return atTerminator;
    }
    return BoundsFromBaseAddress(bytes, terminator).value_or(atTerminator);
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
        ReportAll(0, CheckLeader(m_record.leader));
        const std::optional<DirectoryBounds> directory = DirectoryBoundsOf(m_bytes);
        if (!directory) {
            Report(kLeaderLength, "directory has no terminator: no field can be read");
            return std::move(m_record);
        }
        if (directory->dataStart == directory->entriesEnd) {
            Report(directory->entriesEnd, "directory terminator missing; the fields start right "
                                          "after the last entry");
        } else if (m_bytes[directory->entriesEnd] != kFieldTerminator) {
            Report(directory->entriesEnd, "directory terminator missing; the base address gives "
                                          "where the directory ends");
        }
        m_base = directory->dataStart;
        CheckBaseAddress();
        ReadFields(ReadDirectory(directory->entriesEnd));
        return std::move(m_record);
    }

private:
    void Report(std::size_t offsetInRecord, std::string message)
    {
        m_record.problems.push_back({std::move(message), m_recordIndex, m_fileOffset + offsetInRecord});
    }

    void ReportAll(std::size_t offsetInRecord, const std::vector<Finding>& findings)
    {
        for (const Finding& finding : findings) {
            Report(offsetInRecord + finding.offset, finding.message);
        }
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

    std::vector<DirectoryEntry> ReadDirectory(std::size_t entriesEnd)
    {
        const iso::EntryMap map = iso::EntryMapOf(m_record.leader);
        const std::size_t size = map.EntrySize();
        std::vector<DirectoryEntry> entries;
        entries.reserve(entriesEnd > kLeaderLength ? (entriesEnd - kLeaderLength) / size : 0);
        std::size_t pos = kLeaderLength;
        for (; pos + size <= entriesEnd; pos += size) {
            entries.push_back({std::string(m_bytes.substr(pos, 3)),
                               DigitsAt(m_bytes, pos + 3, map.lengthDigits),
                               DigitsAt(m_bytes, pos + 3 + map.lengthDigits, map.startDigits), pos});
        }
        if (pos != entriesEnd) {
            Report(pos, "directory ends with " + std::to_string(entriesEnd - pos) +
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

    // A field is trusted when its range ends on a field terminator or where the directory
    // agrees that it ends.
    bool IsTrusted(const DirectoryEntry& entry, const DirectoryEntry* next) const
    {
        const auto start = StartOf(entry);
        if (!start || !entry.length || *entry.length == 0 || *entry.length > m_dataEnd - *start) {
            return false;
        }
        const std::size_t end = *start + static_cast<std::size_t>(*entry.length);
        return m_bytes[end - 1] == kFieldTerminator || DirectoryAgreesOnEnd(end, next);
    }

    // Whether a field that ends at `end` without its terminator still ends where the directory
    // puts it: the next field begins there, or the record's data ends there. Not when that next
    // field would begin with a terminator: then a byte lost or added before it has shifted the
    // data, and the field is found from the terminators instead.
    bool DirectoryAgreesOnEnd(std::size_t end, const DirectoryEntry* next) const
    {
        return end == m_dataEnd || (next && StartOf(*next) == end && m_bytes[end] != kFieldTerminator);
    }

    // Whether the field before `next` lost its terminator, and the data after it moved up a
    // byte that the directory does not know of: the field that begins at `end`, where the
    // directory puts it, does not end on its terminator, while counted from a byte earlier it
    // does. The directory then agrees with the data only if the field before ends at `end - 1`.
    bool IsTerminatorCutBefore(const DirectoryEntry& next, std::size_t end) const
    {
        return m_bytes[end - 1] != kFieldTerminator && !FitsAt(next, end) && FitsAt(next, end - 1);
    }

    // Whether the entry's length, counted from `start`, ends on a field terminator.
    bool FitsAt(const DirectoryEntry& entry, std::size_t start) const
    {
        return entry.length && *entry.length > 0 && start < m_dataEnd &&
               *entry.length <= m_dataEnd - start &&
               m_bytes[start + static_cast<std::size_t>(*entry.length) - 1] == kFieldTerminator;
    }

    struct Range {
        std::size_t start = 0;
        std::size_t end = 0;  // past the field's terminator
        bool asDirectoryGives = false;  // the directory's range, which may lack its terminator
    };

    // Where the field lies: as the directory says when that checks out, else right after the
    // previous field when its length fits there, else from its start to the next terminator.
    Range Locate(const DirectoryEntry& entry, const DirectoryEntry* next, std::size_t previousEnd)
    {
        if (IsTrusted(entry, next)) {
            const std::size_t start = *StartOf(entry);
            const std::size_t end = start + static_cast<std::size_t>(*entry.length);
            if (next && IsTerminatorCutBefore(*next, end)) {
                Report(end - 1, "field " + Printable(entry.tag) + ": field terminator missing; the "
                                    "next field starts a byte before where the directory puts it, "
                                    "so all its " + std::to_string(end - 1 - start) + " bytes are kept");
                return {start, end - 1};
            }
            return {start, end, true};
        }
        if (FitsAt(entry, previousEnd)) {
            // Fields usually follow one another: a start that wrapped past five digits or was
            // garbled still leaves the field right after the previous one.
            Report(entry.offset, "field " + Printable(entry.tag) + ": directory entry " +
                                     WhyUntrusted(entry, true) +
                                     "; the field was read where the previous field ends");
            return {previousEnd, previousEnd + static_cast<std::size_t>(*entry.length)};
        }
        const std::size_t start = StartOf(entry).value_or(previousEnd);
        const std::size_t end = RecoveredEnd(start);
        Report(entry.offset, DescribeRecovery(entry, start, end));
        return {start, end};
    }

    // The field's data without its terminator. Where the directory places a field that does
    // not end on a terminator, either the terminator was overwritten in place or the field was
    // written without one and its length counts the data alone; the bytes cannot tell which.
    // An overwritten terminator leaves a blank or a control character: that is dropped, unless
    // no field of the record ends on a terminator (its writer left them all out). Any other
    // byte is the field's data and kept: a byte lost is worse than one too many.
    std::string_view DataOf(const DirectoryEntry& entry, Range range)
    {
        std::string_view data = m_bytes.substr(range.start, range.end - range.start);
        if (!data.empty() && data.back() == kFieldTerminator) {
            data.remove_suffix(1);
        } else if (!data.empty() && range.asDirectoryGives) {
            if (StandsForTerminator(data.back()) && !m_terminatorsLeftOut) {
                Report(range.end - 1, "field " + Printable(entry.tag) + ": byte " +
                                          Quoted(data.substr(data.size() - 1)) +
                                          " stands where the field terminator belongs and was dropped");
                data.remove_suffix(1);
            } else {
                Report(range.end, "field " + Printable(entry.tag) + ": field terminator missing; " +
                                      WhereDirectoryEnds(range.end) + ", so all its " +
                                      std::to_string(data.size()) + " bytes are kept");
            }
        }
        return data;
    }

    static bool StandsForTerminator(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    }

    std::string WhereDirectoryEnds(std::size_t end) const
    {
        return end == m_dataEnd ? "its directory entry ends where the record's data ends"
                                : "its directory entry ends where the next field begins";
    }

    // Whether any field ends on a terminator where the directory puts its end.
    bool AnyFieldEndsOnTerminator(const std::vector<DirectoryEntry>& entries) const
    {
        return std::any_of(entries.begin(), entries.end(), [this](const DirectoryEntry& entry) {
            const auto start = StartOf(entry);
            return start && entry.length && *entry.length > 0 && *entry.length <= m_dataEnd - *start &&
                   m_bytes[*start + static_cast<std::size_t>(*entry.length) - 1] == kFieldTerminator;
        });
    }

    void ReadFields(const std::vector<DirectoryEntry>& entries)
    {
        std::size_t previousEnd = m_base;
        std::size_t farthest = m_base;
        m_record.fields.reserve(entries.size());
        m_terminatorsLeftOut = !AnyFieldEndsOnTerminator(entries);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const DirectoryEntry& entry = entries[i];
            const DirectoryEntry* next = i + 1 < entries.size() ? &entries[i + 1] : nullptr;
            const Range range = Locate(entry, next, previousEnd);
            const std::string_view data = DataOf(entry, range);
            ReportAll(entry.offset, CheckTag(entry.tag));
            ReportAll(range.start,
                      CheckFieldData(entry.tag, data, iso::IndicatorCountOf(m_record.leader)));
            m_record.fields.push_back({entry.tag, std::string(data)});
            previousEnd = range.end;
            farthest = std::max(farthest, range.end);
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

    // What is wrong with an entry that is not trusted; `lengthFits` when its length is right.
    std::string WhyUntrusted(const DirectoryEntry& entry, bool lengthFits) const
    {
        if (!entry.length || !entry.start) {
            return "is not numeric";
        }
        if (!StartOf(entry)) {
            return "points outside the record";
        }
        if (lengthFits) {
            return "gives start " + std::to_string(*entry.start) +
                   ", where the field does not end on a field terminator";
        }
        return "gives length " + std::to_string(*entry.length) +
               ", which does not end on a field terminator";
    }

    std::string DescribeRecovery(const DirectoryEntry& entry, std::size_t start, std::size_t end) const
    {
        return "field " + Printable(entry.tag) + ": directory entry " + WhyUntrusted(entry, false) +
               "; the field was read as " + std::to_string(end - start) +
               " bytes up to its terminator";
    }

    std::string_view m_bytes;
    int m_recordIndex;
    std::uint64_t m_fileOffset;
    std::size_t m_dataEnd = 0;
    std::size_t m_base = 0;
    bool m_terminatorsLeftOut = false;  // no field of the record ends on a field terminator
    IsoRecord m_record;
};

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
    const std::optional<DirectoryBounds> directory = DirectoryBoundsOf(bytes);
    if (!directory) {
        return false;
    }
    // The entries ReadDirectory takes: one field each, tagged by the entry's first three bytes.
    const std::size_t size = iso::EntryMapOf(bytes.substr(0, kLeaderLength)).EntrySize();
    for (std::size_t pos = kLeaderLength; pos + size <= directory->entriesEnd; pos += size) {
        if (bytes[pos] == tag[0] && bytes[pos + 1] == tag[1] && bytes[pos + 2] == tag[2]) {
            return true;
        }
    }
    return false;
}

}  // namespace luma
