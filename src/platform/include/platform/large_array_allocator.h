#pragma once
// An allocator for arrays with an entry per record: for a large file they run to megabytes,
// and on some systems every page touched for the first time costs a trap of several
// microseconds. Such an array starts on a huge-page boundary and fills whole huge pages, which
// the system is asked for; a small one is allocated as usual.

#include <cstddef>
#include <memory>
#include <new>

#include "platform/memory_advice.h"

namespace luma {

template <class T>
class LargeArrayAllocator {
public:
    using value_type = T;

    LargeArrayAllocator() = default;
    template <class U>
    LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (!IsLarge(count)) {
            return std::allocator<T>().allocate(count);
        }
        const std::size_t bytes = HugePagesFor(count);
        char* block = static_cast<char*>(::operator new(bytes, std::align_val_t{kHugePageSize}));
        AdviseHugePages(block, bytes);
        return reinterpret_cast<T*>(block);
    }

    void deallocate(T* array, std::size_t count) noexcept
    {
        if (!IsLarge(count)) {
            std::allocator<T>().deallocate(array, count);
            return;
        }
        ::operator delete(static_cast<void*>(array), HugePagesFor(count), std::align_val_t{kHugePageSize});
    }

    template <class U>
    bool operator==(const LargeArrayAllocator<U>&) const noexcept
    {
        return true;
    }

private:
    // From half a huge page up: below it, rounding up to a whole one would waste more than it saves.
    static bool IsLarge(std::size_t count) { return count * sizeof(T) >= kHugePageSize / 2; }
    static std::size_t HugePagesFor(std::size_t count)
    {
        return (count * sizeof(T) + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    }
};

// Bytes from the allocator, uninitialized, given back at the size they were taken: for buffers
// that are filled as they are used rather than zeroed first.
struct LargeBytesDelete {
    std::size_t count = 0;
    void operator()(char* bytes) const { LargeArrayAllocator<char>().deallocate(bytes, count); }
};
using LargeBytes = std::unique_ptr<char[], LargeBytesDelete>;

inline LargeBytes AllocateLargeBytes(std::size_t count)
{
    return LargeBytes(count == 0 ? nullptr : LargeArrayAllocator<char>().allocate(count), LargeBytesDelete{count});
}

}  // namespace luma
