#pragma once
// The machine-readable dump: one JSON object per record, one record per line.

#include <string>

#include "records/record_store.h"

namespace luma::cli {

// Record `index` of `store` (which becomes the current record) as one line of JSON with the
// keys record, offset, length, charset, leader, fields and problems, and for the first record
// charset_evidence, why the set was taken, in English. Never throws on bytes that are not
// UTF-8: they are written as U+FFFD.
std::string RecordAsJsonLine(RecordStore& store, int index);

}  // namespace luma::cli
