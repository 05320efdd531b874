// Test helper: writes a copy of a record file in which every second record (the 1st, 3rd, ...)
// gained one field, the way LUMA writes its working copy: the records' ISO buffers one after
// another.
//
//   luma_write_changed IN OUT TAG TEXT

#include <iostream>
#include <string>

#include "records/record_store.h"
#include "platform/file_io.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: luma_write_changed IN OUT TAG TEXT\n";
        return 2;
    }
    luma::RecordStore store;
    if (store.Open(argv[1]) != 0) {
        std::cerr << store.LastError()->Describe() << '\n';
        return 1;
    }
    std::string file;
    for (int record = 0; record < store.GetRecordCount(); ++record) {
        store.SetRecord(record);
        if (record % 2 == 0 && store.AddField(argv[3], argv[4]) != 0) {
            std::cerr << store.LastError()->Describe() << '\n';
            return 1;
        }
        file += store.GetIsoBuffer();
    }
    if (auto error = luma::ReplaceFileAtomically(argv[2], file)) {
        std::cerr << *error << '\n';
        return 1;
    }
    return 0;
}
