#include "marking/record_select.h"

namespace luma {

std::vector<int> RecordsWithLabel(RecordStore& store, const std::string& tag, const std::string& text)
{
    const int shown = store.GetCurRecord();
    std::vector<int> labelled;
    for (const int record : store.RecordsWithTag(tag)) {
        store.SetRecord(record);
        if (store.CountFieldsEqual(tag, text) > 0) {
            labelled.push_back(record);
        }
    }
    store.SetRecord(shown);
    return labelled;
}

std::vector<std::string_view> PiecesOfRecords(const RecordBufferList& records, const std::vector<int>& indices)
{
    std::vector<std::string_view> pieces;
    for (const int index : indices) {
        const std::string_view bytes = records[static_cast<std::size_t>(index)];
        if (!pieces.empty() && pieces.back().data() + pieces.back().size() == bytes.data()) {
            pieces.back() = std::string_view(pieces.back().data(), pieces.back().size() + bytes.size());
        } else {
            pieces.push_back(bytes);
        }
    }
    return pieces;
}

}  // namespace luma
