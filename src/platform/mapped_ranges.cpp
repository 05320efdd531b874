#include "mapped_ranges.h"

#include <atomic>

namespace luma::mapped_ranges {
namespace {

// The program keeps a few files open at once; past this many the file is read, not mapped.
constexpr int kSlots = 128;

// A slot's begin is 0 when free and kClaimed while Register fills it in; the handler trusts a
// range only when it read the same begin before and after its end.
constexpr std::uintptr_t kClaimed = 1;

struct Slot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<State> state{State::Intact};
};

static_assert(std::atomic<std::uintptr_t>::is_always_lock_free && std::atomic<State>::is_always_lock_free,
              "the fault handler may use lock-free atomics only");

// Process-wide because the fault handler, which the system calls with no context of ours, has
// to find every mapping: there is no other way to reach them.
Slot g_slots[kSlots];

}  // namespace

int Register(const void* begin, std::size_t size) noexcept
{
    const auto from = reinterpret_cast<std::uintptr_t>(begin);
    for (int i = 0; i < kSlots; ++i) {
        std::uintptr_t expected = 0;
        if (g_slots[i].begin.compare_exchange_strong(expected, kClaimed, std::memory_order_acq_rel)) {
            g_slots[i].end.store(from + size, std::memory_order_relaxed);
            g_slots[i].state.store(State::Intact, std::memory_order_relaxed);
            g_slots[i].begin.store(from, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

void Unregister(int slot) noexcept
{
    g_slots[slot].begin.store(0, std::memory_order_release);
}

int Holding(std::uintptr_t address) noexcept
{
    for (int i = 0; i < kSlots; ++i) {
        const std::uintptr_t begin = g_slots[i].begin.load(std::memory_order_acquire);
        if (begin <= kClaimed || address < begin) {
            continue;
        }
        const std::uintptr_t end = g_slots[i].end.load(std::memory_order_acquire);
        if (address < end && g_slots[i].begin.load(std::memory_order_acquire) == begin) {
            return i;
        }
    }
    return -1;
}

Range RangeOf(int slot) noexcept
{
    return {g_slots[slot].begin.load(std::memory_order_acquire), g_slots[slot].end.load(std::memory_order_acquire)};
}

State StateOf(int slot) noexcept
{
    return g_slots[slot].state.load(std::memory_order_acquire);
}

void SetState(int slot, State state) noexcept
{
    g_slots[slot].state.store(state, std::memory_order_release);
}

bool ChangeState(int slot, State expected, State desired) noexcept
{
    return g_slots[slot].state.compare_exchange_strong(expected, desired, std::memory_order_acq_rel);
}

}  // namespace luma::mapped_ranges
