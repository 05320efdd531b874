// Records laid out as BuildRecord lays them out, read and changed straight from their bytes:
// a mark of a clean record and a search of a clean file take no parse.

#include "records/laid_out_record.h"

#include <algorithm>

#include "records/iso_format.h"

namespace luma {
namespace {

using iso::AppendZeroPadded;
using iso::DigitsAt;
using iso::kFieldTerminator;
using iso::kLeaderLength;
using iso::kRecordTerminator;

// Whether BuildLeader gives back the leader's bytes other than the lengths (0-4 and 12-16),
// which it computes: it does unless they hold a terminator or the entry map is unusable. Asked
// of every record a mark changes, so it allocates nothing.
bool BuildingKeepsLeader(std::string_view leader)
{
    const auto keeps = [leader](std::size_t from, std::size_t to) {
        return std::none_of(leader.begin() + static_cast<std::ptrdiff_t>(from),
                            leader.begin() + static_cast<std::ptrdiff_t>(to), iso::IsTerminator);
    };
    return leader.size() == kLeaderLength && keeps(5, 12) && keeps(17, kLeaderLength) &&
           iso::UsableEntryMap(leader).has_value();
}

// A directory entry of a record laid out as BuildRecord lays it out.
struct LaidOutEntry {
    std::string_view tag;
    std::uint64_t start = 0;
    std::uint64_t size = 0;
};

// The entries of a record that BuildRecord(ParseRecord(bytes)) gives back byte for byte: a whole
// leader that building keeps, the base address at the only field terminator of the directory,
// numeric entries with zero implementation parts, and fields one after another from the start
// of the data to the record terminator, each ending on a field terminator. Nothing otherwise.
std::optional<std::vector<LaidOutEntry>> LaidOutEntries(std::string_view bytes)
{
    const std::size_t size = bytes.size();
    if (size < kLeaderLength + 2 || bytes.back() != kRecordTerminator || DigitsAt(bytes, 0, 5) != size) {
        return std::nullopt;
    }
    const std::string_view leader = bytes.substr(0, kLeaderLength);
    if (!BuildingKeepsLeader(leader)) {
        return std::nullopt;
    }
    const iso::EntryMap map = iso::EntryMapOf(leader);
    const std::size_t entrySize = map.EntrySize();
    const auto base = DigitsAt(bytes, 12, 5);
    if (!base || *base < kLeaderLength + 1 || *base >= size || (*base - kLeaderLength - 1) % entrySize != 0 ||
        bytes.find(kFieldTerminator, kLeaderLength) != *base - 1) {
        return std::nullopt;
    }
    std::vector<LaidOutEntry> entries;
    entries.reserve((*base - kLeaderLength - 1) / entrySize);
    std::uint64_t next = 0;
    for (std::size_t pos = kLeaderLength; pos + 1 < *base; pos += entrySize) {
        const std::string_view entry = bytes.substr(pos, entrySize);
        const auto length = DigitsAt(entry, 3, map.lengthDigits);
        const auto start = DigitsAt(entry, 3 + map.lengthDigits, map.startDigits);
        const std::string_view implementation = entry.substr(3 + map.lengthDigits + map.startDigits);
        if (!length || *length == 0 || start != next ||
            implementation.find_first_not_of('0') != std::string_view::npos ||
            *base + next + *length >= size || bytes[*base + next + *length - 1] != kFieldTerminator) {
            return std::nullopt;
        }
        entries.push_back({entry.substr(0, 3), next, *length});
        next += *length;
    }
    if (*base + next + 1 != size) {
        return std::nullopt;
    }
    return entries;
}

}  // namespace

std::optional<std::string> InsertField(std::string_view bytes, std::string_view tag, std::string_view data)
{
    const std::optional<std::vector<LaidOutEntry>> entries = LaidOutEntries(bytes);
    if (!entries || tag.size() != 3) {
        return std::nullopt;
    }
    const iso::EntryMap map = iso::EntryMapOf(bytes.substr(0, kLeaderLength));
    const std::uint64_t base = *DigitsAt(bytes, 12, 5);
    const std::uint64_t dataSize = bytes.size() - 1 - base;
    const std::uint64_t added = data.size() + 1;
    // After the last field whose tag is not greater, as the store inserts.
    std::size_t at = entries->size();
    while (at > 0 && (*entries)[at - 1].tag > tag) {
        --at;
    }
    const std::uint64_t insertedStart = at < entries->size() ? (*entries)[at].start : dataSize;
    const std::uint64_t lastStart = at < entries->size() ? entries->back().start + added : dataSize;
    const std::uint64_t total = bytes.size() + map.EntrySize() + added;
    if (added > iso::LargestNumber(map.lengthDigits) || lastStart > iso::LargestNumber(map.startDigits) ||
        total > iso::kMaxRecordLength) {
        return std::nullopt;  // building reports which limit it breaks
    }
    std::string out;
    out.reserve(total);
    AppendZeroPadded(out, total, 5);
    out.append(bytes.substr(5, 7));
    AppendZeroPadded(out, base + map.EntrySize(), 5);
    out.append(bytes.substr(17, kLeaderLength - 17));
    const auto appendEntry = [&](std::string_view entryTag, std::uint64_t length, std::uint64_t start) {
        out.append(entryTag);
        AppendZeroPadded(out, length, map.lengthDigits);
        AppendZeroPadded(out, start, map.startDigits);
        out.append(map.implementationDigits, '0');
    };
    // The entries before the new one keep their bytes, which are what writing their numbers
    // again would give; those after it move by the new field's length.
    out.append(bytes.substr(kLeaderLength, at * map.EntrySize()));
    appendEntry(tag, added, insertedStart);
    for (std::size_t i = at; i < entries->size(); ++i) {
        const LaidOutEntry& entry = (*entries)[i];
        appendEntry(entry.tag, entry.size, entry.start + added);
    }
    out += kFieldTerminator;
    const std::string_view fields = bytes.substr(base, dataSize);
    out.append(fields.substr(0, insertedStart)).append(data) += kFieldTerminator;
    out.append(fields.substr(insertedStart)) += kRecordTerminator;
    return out;
}

std::optional<std::vector<FieldView>> LaidOutFields(std::string_view bytes)
{
    const std::optional<std::vector<LaidOutEntry>> entries = LaidOutEntries(bytes);
    if (!entries) {
        return std::nullopt;
    }
    const std::size_t base = static_cast<std::size_t>(*DigitsAt(bytes, 12, 5));
    std::vector<FieldView> fields;
    fields.reserve(entries->size());
    for (const LaidOutEntry& entry : *entries) {
        fields.push_back({entry.tag, bytes.substr(base + entry.start, entry.size - 1)});
    }
    return fields;
}

}  // namespace luma
