#pragma once
// Calendar time in the user's time zone, which the standard library of C++20 compilers in use
// cannot give portably yet.

#include <ctime>

namespace luma {

// The local calendar time of a moment given in seconds since the epoch; all zero when the
// system cannot convert it.
std::tm LocalTime(std::time_t moment);

}  // namespace luma
