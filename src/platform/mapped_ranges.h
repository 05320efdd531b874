#pragma once
// The address ranges of the live file mappings, for the fault handler that stands zeros in for
// pages a mapped file lost. The handler runs inside a signal handler on POSIX, so the table is
// lock-free and fixed in size: atomics only, no allocation.

#include <cstddef>
#include <cstdint>

namespace luma::mapped_ranges {

// What the guard has done to a range.
enum class State : unsigned char {
    Intact,     // the file's own pages
    Replacing,  // a handler is putting zeros in place (Windows: other threads wait for it)
    Replaced,   // zeros stand in for some of its pages
};

struct Range {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
};

// The slot now watching [begin, begin + size); -1 when every slot is taken.
int Register(const void* begin, std::size_t size) noexcept;
// The range is no longer watched; call before unmapping it.
void Unregister(int slot) noexcept;

// Async-signal-safe: the slot whose range holds `address`, or -1.
int Holding(std::uintptr_t address) noexcept;
Range RangeOf(int slot) noexcept;
State StateOf(int slot) noexcept;
void SetState(int slot, State state) noexcept;
// Moves the slot from `expected` to `desired`; false (and leaves it) when it was not `expected`.
bool ChangeState(int slot, State expected, State desired) noexcept;

}  // namespace luma::mapped_ranges
