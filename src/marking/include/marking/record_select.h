#pragma once
// Choosing records by their label, and the bytes that write only those records: what
// `luma-cli extract` writes and the window's "save only the marked records" saves.

#include <string>
#include <string_view>
#include <vector>

#include "records/record_store.h"
#include "records/record_buffer_list.h"

namespace luma {

// Indices, in file order, of the records that carry the label: a field with that tag whose text
// is exactly `text` in the field notation, as RecordStore::CountFieldsEqual counts it. The store is
// left on the record it was on.
std::vector<int> RecordsWithLabel(RecordStore& store, const std::string& tag, const std::string& text);

// The bytes of those records (indices in ascending order) one after another, byte for byte as
// the list holds them, for ReplaceFileAtomically; records side by side make one piece.
std::vector<std::string_view> PiecesOfRecords(const RecordBufferList& records, const std::vector<int>& indices);

}  // namespace luma
