#pragma once
// One ISO 2709 record split into its leader and fields, and built back into bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/problem.h"

namespace luma {

struct Field {
    std::string tag;   // three bytes as the directory gives them
    std::string data;  // the field's bytes without its field terminator
};

struct IsoRecord {
    std::string leader;  // 24 bytes, or fewer in a record cut short
    std::vector<Field> fields;
    std::vector<Problem> problems;
};

// Parses one record. Damaged directories are recovered from the field terminators as far as
// possible; each problem is recorded with `recordIndex` and its absolute file offset.
IsoRecord ParseRecord(std::string_view bytes, int recordIndex, std::uint64_t fileOffset);

// Whether ParseRecord would give the record a field with that tag, found from the directory
// alone without copying any field.
bool HasFieldWithTag(std::string_view bytes, std::string_view tag);

struct BuildResult {
    std::string bytes;
    std::optional<std::string> error;  // set when the record would break the format's limits
};

// Builds the record in canonical layout: directory in field order, fields contiguous, length
// and base address recomputed, every other leader byte kept.
BuildResult BuildRecord(const IsoRecord& record);

// The record with a field inserted after its last field whose tag is not greater, built as
// BuildRecord builds it, straight from the bytes; nothing when the record is not laid out as
// BuildRecord would lay it out, or the field breaks a limit of the format: parse and build then.
// A mark of a clean record takes no parse.
std::optional<std::string> InsertField(std::string_view bytes, std::string_view tag, std::string_view data);

// The data of the fields with that tag, as ParseRecord gives them, found from the directory of a
// record laid out as BuildRecord lays it out; nothing for any other record.
std::optional<std::vector<std::string_view>> FieldDataWithTag(std::string_view bytes, std::string_view tag);

// A field seen in the record's own bytes.
struct FieldView {
    std::string_view tag;
    std::string_view data;  // without its field terminator
};

// The fields of a record laid out as BuildRecord lays it out, as ParseRecord gives them, without
// a copy; nothing for any other record.
std::optional<std::vector<FieldView>> LaidOutFields(std::string_view bytes);

}  // namespace luma
