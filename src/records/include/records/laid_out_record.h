#pragma once
// Records laid out as BuildRecord lays them out: the directory in field order, numeric entries,
// fields one after another, each ending on its terminator. Such a record can be read and
// changed straight from its bytes, as parsing and building it would give; clean files are
// nearly all such records.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

// The record with a field inserted after its last field whose tag is not greater, built as
// BuildRecord builds it, straight from the bytes; nothing when the record is not laid out as
// BuildRecord would lay it out, or the field breaks a limit of the format: parse and build then.
// A mark of a clean record takes no parse.
std::optional<std::string> InsertField(std::string_view bytes, std::string_view tag, std::string_view data);

// A field seen in the record's own bytes.
struct FieldView {
    std::string_view tag;
    std::string_view data;  // without its field terminator
};

// The fields of a record laid out as BuildRecord lays it out, as ParseRecord gives them, without
// a copy; nothing for any other record.
std::optional<std::vector<FieldView>> LaidOutFields(std::string_view bytes);

}  // namespace luma
