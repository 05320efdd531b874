// Prints every field of a file's records decoded from MARC-8 or ISO 5426, for the comparison
// with yaz-marcdump: a line "record N" a record, then "TAG<TAB>UTF-8 in hex" a field.
//
// A record that says it is in UTF-8 (leader/09 'a') is marked so.
//
//   luma-decode-probe marc8|iso5426 FILE

#include <cstdio>
#include <string>
#include <string_view>

#include "charsets/marc8.h"
#include "records/iso_record.h"
#include "records/record_store.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: luma-decode-probe marc8|iso5426 FILE\n", stderr);
        return 64;
    }
    const bool marc8 = std::string_view(argv[1]) == "marc8";
    luma::RecordStore store;
    if (store.Open(argv[2]) != 0) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    const luma::RecordBufferList& records = store.Records();
    for (std::size_t index = 0; index < records.size(); ++index) {
        // leader/09 'a' is UTF-8: such a record is no MARC-8 to compare.
        const std::string_view bytes = records[index];
        std::printf("record %zu%s\n", index + 1, bytes.size() > 9 && bytes[9] == 'a' ? " utf-8" : "");
        const luma::IsoRecord record = luma::ParseRecord(records[index], static_cast<int>(index), 0);
        for (const luma::Field& field : record.fields) {
            const luma::DecodedText text = marc8 ? luma::DecodeMarc8Field(field.data) : luma::DecodeIso5426(field.data);
            std::printf("%s\t", field.tag.c_str());
            for (const char c : text.utf8) {
                std::printf("%02x", static_cast<unsigned char>(c));
            }
            std::printf("\n");
        }
    }
    return 0;
}
