// Building a record in canonical layout: the directory in field order, the fields one after
// another, the lengths and the base address computed.

#include "records/iso_record.h"

#include <algorithm>

#include "records/iso_format.h"

namespace luma {
namespace {

using iso::AppendZeroPadded;
using iso::kFieldTerminator;
using iso::kLeaderLength;
using iso::kRecordTerminator;

// A leader to build on: the record's own, completed where it was cut short or lacks a usable
// entry map.
std::string BuildLeader(const std::string& leader)
{
    static constexpr std::string_view kTemplate = "00000nam  2200000   4500";
    std::string result = leader.substr(0, kLeaderLength);
    result += kTemplate.substr(result.size());
    // A damaged leader may hold terminators; written back, they would end the record or its
    // directory there, and the record would read back as something else.
    std::replace_if(result.begin(), result.end(), iso::IsTerminator, ' ');
    if (!iso::UsableEntryMap(result)) {
        result.replace(20, 3, "450");
    }
    return result;
}

}  // namespace

BuildResult BuildRecord(const IsoRecord& record)
{
    BuildResult result;
    const std::string leader = BuildLeader(record.leader);
    const iso::EntryMap map = iso::EntryMapOf(leader);
    const std::uint64_t fieldLimit = iso::LargestNumber(map.lengthDigits);
    const std::uint64_t startLimit = iso::LargestNumber(map.startDigits);

    // Sized first, so that the record is put together in place: a mark rebuilds a record, and
    // the command line marks thousands in a run.
    std::uint64_t dataSize = 0;
    for (const Field& field : record.fields) {
        const std::uint64_t length = field.data.size() + 1;
        if (length > fieldLimit) {
            result.error = "field " + field.tag + " would be " + std::to_string(length) +
                           " bytes long; a field may have at most " + std::to_string(fieldLimit);
            return result;
        }
        if (dataSize > startLimit) {
            result.error = "field " + field.tag + " would start beyond the format's limit of " +
                           std::to_string(startLimit) + " bytes";
            return result;
        }
        dataSize += length;
    }
    const std::uint64_t base = kLeaderLength + record.fields.size() * map.EntrySize() + 1;
    const std::uint64_t total = base + dataSize + 1;
    if (total > iso::kMaxRecordLength) {
        result.error = "the record would be " + std::to_string(total) +
                       " bytes long; a record may have at most " +
                       std::to_string(iso::kMaxRecordLength);
        return result;
    }
    std::string& bytes = result.bytes;
    bytes.reserve(total);
    AppendZeroPadded(bytes, total, 5);
    bytes.append(leader, 5, 7);
    AppendZeroPadded(bytes, base, 5);
    bytes.append(leader, 17);
    std::uint64_t start = 0;
    for (const Field& field : record.fields) {
        const std::size_t tagLength = std::min<std::size_t>(field.tag.size(), 3);
        bytes.append(field.tag, 0, tagLength).append(3 - tagLength, ' ');
        AppendZeroPadded(bytes, field.data.size() + 1, map.lengthDigits);
        AppendZeroPadded(bytes, start, map.startDigits);
        bytes.append(map.implementationDigits, '0');
        start += field.data.size() + 1;
    }
    bytes += kFieldTerminator;
    for (const Field& field : record.fields) {
        bytes += field.data;
        bytes += kFieldTerminator;
    }
    bytes += kRecordTerminator;
    return result;
}

}  // namespace luma
