#pragma once
// Damage inside a record that does not stop it from being read: leader digits that are not
// digits, odd tags and indicators, terminators inside field data. Found so they can be
// reported; the record is read as it stands.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

struct Finding {
    std::size_t offset = 0;  // within the bytes checked
    std::string message;
};

// Leader positions 10, 11 and 20-22, which the reader falls back on standard values for.
std::vector<Finding> CheckLeader(std::string_view leader);

// A directory tag that is not three letters or digits; offset 0 is the tag's.
std::vector<Finding> CheckTag(std::string_view tag);

// A field's data without its terminator: terminators inside it and, for a data field, its
// indicators and the bytes before the first subfield.
std::vector<Finding> CheckFieldData(std::string_view tag, std::string_view data,
                                    std::size_t indicatorCount);

// Bytes for a message: control and non-ASCII bytes as \xNN, since the code page of the
// record is not known where the message is made.
std::string Printable(std::string_view bytes);
std::string Quoted(std::string_view bytes);

}  // namespace luma
