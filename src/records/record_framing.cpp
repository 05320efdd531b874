#include "records/record_framing.h"

#include <optional>

#include "records/iso_format.h"
#include "records/iso_record.h"
#include "records/record_index.h"
#include "records/record_files.h"

namespace luma {
namespace {

// The record built again from its fields. A damaged entry map may be too small for the record
// (two-digit lengths, say); the standard one is used then, as any reader expects.
std::optional<std::string> Rebuilt(std::string_view bytes, int index)
{
    IsoRecord record = ParseRecord(bytes, index, 0);
    BuildResult built = BuildRecord(record);
    if (built.error && record.leader.size() >= iso::kLeaderLength) {
        record.leader.replace(20, 4, "4500");
        built = BuildRecord(record);
    }
    if (built.error || !FramesItself(built.bytes)) {
        return std::nullopt;
    }
    return std::move(built.bytes);
}

}  // namespace

bool FramesItself(std::string_view record)
{
    const auto length = iso::DigitsAt(record, 0, 5);
    return length && *length == record.size() && IsRecordStart(record, 0) &&
           record.find(iso::kRecordTerminator) + 1 == record.size();
}

bool ReadsBackAsWritten(const std::vector<std::string>& records)
{
    const RecordIndex index = IndexRecords(JoinRecords(records));
    if (index.records.size() != records.size()) {
        return false;
    }
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (index.records[i].offset != offset || index.records[i].length != records[i].size()) {
            return false;
        }
        offset += records[i].size();
    }
    return true;
}

std::size_t RebuildMisframedRecords(RecordBufferList& records)
{
    std::size_t rebuilt = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (FramesItself(records[i])) {
            continue;
        }
        if (std::optional<std::string> bytes = Rebuilt(records[i], static_cast<int>(i))) {
            records.Replace(i, std::move(*bytes));
            ++rebuilt;
        }
    }
    return rebuilt;
}

}  // namespace luma
