#include "record_framing.h"

#include "iso_format.h"
#include "iso_record.h"
#include "record_index.h"
#include "working_copy.h"

namespace luma {
namespace {

// Framed the way a reader recognises a record anywhere in a file: a well-formed start, a
// length equal to its size, and one record terminator, at its end.
bool FramesItself(const std::string& record)
{
    const auto length = iso::DigitsAt(record, 0, 5);
    return length && *length == record.size() && IsRecordStart(record, 0) &&
           record.find(iso::kRecordTerminator) + 1 == record.size();
}

}  // namespace

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

std::size_t RebuildMisframedRecords(std::vector<std::string>& records)
{
    std::size_t rebuilt = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (FramesItself(records[i])) {
            continue;
        }
        BuildResult built = BuildRecord(ParseRecord(records[i], static_cast<int>(i), 0));
        if (!built.error && FramesItself(built.bytes)) {
            records[i] = std::move(built.bytes);
            ++rebuilt;
        }
    }
    return rebuilt;
}

}  // namespace luma
