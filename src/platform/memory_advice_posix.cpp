#include "platform/memory_advice.h"

#include <sys/mman.h>

#include <cstdint>

namespace luma {
namespace {

// The part of [begin, begin + size) that whole units of `unit` bytes cover.
struct Range {
    std::uintptr_t from = 0;
    std::uintptr_t to = 0;
};

Range WholeUnits(std::uintptr_t begin, std::size_t size, std::uintptr_t unit)
{
    return {(begin + unit - 1) & ~(unit - 1), (begin + size) & ~(unit - 1)};
}

[[maybe_unused]] void Advise(Range range, int advice)
{
    if (range.to > range.from) {
        // Refusal changes nothing but the speed.
        (void)::madvise(reinterpret_cast<void*>(range.from), range.to - range.from, advice);
    }
}

}  // namespace

void AdviseHugePages(char* data, std::size_t size)
{
    [[maybe_unused]] const auto begin = reinterpret_cast<std::uintptr_t>(data);
#ifdef MADV_HUGEPAGE
    Advise(WholeUnits(begin, size, kHugePageSize), MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    // The pages, huge or not, are put in place by one call rather than by one trap each: on a
    // virtual machine a trap can cost more than filling the page. Older systems refuse it.
    Advise(WholeUnits(begin, size, 4096), MADV_POPULATE_WRITE);
#endif
    (void)size;
}

}  // namespace luma
