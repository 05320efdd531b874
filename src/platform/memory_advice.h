#pragma once
// Hints to the operating system about large buffers.

#include <cstddef>

namespace luma {

// Asks for huge pages behind a large buffer not yet touched: filling a whole file's worth of
// memory then costs a few hundred page faults instead of tens of thousands. A hint only.
void AdviseHugePages(char* data, std::size_t size);

}  // namespace luma
