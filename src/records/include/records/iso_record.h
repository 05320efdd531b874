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

}  // namespace luma
