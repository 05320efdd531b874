#pragma once
// A problem found in a record file, or an error of a store operation: something a caller can
// show to the user as it stands.

#include <cstdint>
#include <string>

namespace luma {

struct Problem {
    std::string message;
    int record = -1;           // 0-based record index; -1 when no record is concerned
    std::uint64_t offset = 0;  // byte offset in the file; meaningful when record >= 0

    // "record N, offset O: message" (N 1-based), or the bare message without a record.
    std::string Describe() const;
};

}  // namespace luma
