#pragma once
// Records of a damaged file, taken one by one, may read back as other records once they are
// written one after another: a record without its terminator runs into the next, a length that
// lies reaches into it. A working copy must read back as the records it was written from.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_buffer_list.h"

namespace luma {

// Whether a record is taken as itself wherever it stands in a file: a well-formed start whose
// length is its size, and its only record terminator at its end (a terminator inside, followed
// by something like a record start, would end it there).
bool FramesItself(std::string_view record);

// Whether the records, joined, read back as the same records.
bool ReadsBackAsWritten(const std::vector<std::string>& records);

// Rebuilds the records that do not frame themselves from their fields, as a changed record is
// built; their fields stay as read. Whether such a record reads back as itself depends on its
// neighbours, and a mark changes a neighbour: once every record frames itself, any list of
// them reads back as written. A record the format cannot hold, or whose field data holds a record terminator, is
// kept as it came: its bytes are not given up for the sake of framing. Gives how many it rebuilt.
std::size_t RebuildMisframedRecords(RecordBufferList& records);

}  // namespace luma
