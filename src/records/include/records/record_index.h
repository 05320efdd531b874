#pragma once
// Finds where each record of an ISO 2709 file begins and ends, in one pass over the bytes.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/large_array_allocator.h"
#include "records/problem.h"

namespace luma {

struct RecordSpan {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// One entry per record.
using RecordSpans = std::vector<RecordSpan, LargeArrayAllocator<RecordSpan>>;

struct RecordIndex {
    RecordSpans records;
    std::vector<Problem> problems;  // framing problems: lengths that lie, junk between records
};

// Records end at a record terminator; the leader's length is a cross-check. A record whose
// length ends exactly on a terminator is taken whole, even with a stray terminator inside.
// Otherwise the record runs to the next terminator, unless another record visibly starts
// before it. A damaged record never swallows the records after it; bytes between records
// are reported; a truncated last record is kept.
RecordIndex IndexRecords(std::string_view file);

// True when a well-formed record starts at `pos`: a numeric length ending on a record
// terminator and a base address just past a field terminator.
bool IsRecordStart(std::string_view file, std::size_t pos);

}  // namespace luma
