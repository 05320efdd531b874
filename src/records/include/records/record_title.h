#pragma once
// A line that names a record for a list of records: its title as the record view shows it.

#include <string>

#include "records/record_store.h"

namespace luma {

// The current record's title: subfield a of the title field (245 in MARC 21, 200 in UNIMARC and
// RUSMARC), else the whole first field that is not a control field, else the first field; at
// most `maxLength` characters, UTF-8 kept whole.
std::string RecordTitle(RecordStore& store, std::size_t maxLength = 120);

}  // namespace luma
