#pragma once
// The text form of a field, as shown to and typed by the operator: indicators then subfields,
// the subfield delimiter written "$", a literal "$" written "{dollar}", a blank indicator "#".
// For example "10$aTitle /$cAuthor".

#include <optional>
#include <string>
#include <string_view>

#include "records/iso_record.h"
#include "charsets/charset.h"

namespace luma {

// The field's text in UTF-8.
std::string FieldToText(const Field& field, std::size_t indicatorCount, TextCodec& codec);
std::string FieldToText(std::string_view tag, std::string_view data, std::size_t indicatorCount, TextCodec& codec);

struct FieldDataResult {
    std::string data;
    std::optional<std::string> error;
};

// The field data for a text in the notation above, encoded with `codec`. Refuses tags that are
// not three printable ASCII characters, text the character set cannot hold, and terminators.
FieldDataResult FieldFromText(std::string_view tag, std::string_view text,
                              std::size_t indicatorCount, TextCodec& codec);

}  // namespace luma
