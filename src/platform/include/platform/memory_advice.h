#pragma once
// Hints to the operating system about large buffers.

#include <cstddef>

namespace luma {

// The huge page of x86-64 Linux.
inline constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

// Asks for huge pages behind a large buffer not yet touched: filling a whole file's worth of
// memory then costs a few hundred page faults instead of tens of thousands. A hint only.
void AdviseHugePages(char* data, std::size_t size);

}  // namespace luma
