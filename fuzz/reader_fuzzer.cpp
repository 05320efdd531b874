// Feeds arbitrary bytes to the record store and walks everything it found: every record,
// every field, a change and its undo. Any crash, hang or sanitizer report is a bug.

#include <cstddef>
#include <cstdint>
#include <string>

#include "records/record_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    luma::RecordStore store;
    if (store.OpenBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz") != 0) {
        return 0;
    }
    for (int r = 0; r < store.GetRecordCount(); ++r) {
        store.SetRecord(r);
        const int fields = store.GetFieldCount();
        for (int i = 0; i < fields; ++i) {
            store.GetFieldName(i);
            store.GetFieldText(i);
        }
        store.RecordProblems();
        if (store.AddField("901", "##$aОтобрано") == 0) {
            store.DelField(store.GetFieldCount() - 1);
        }
        store.GetIsoBuffer();
    }
    return 0;
}
