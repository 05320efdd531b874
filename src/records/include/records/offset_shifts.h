#pragma once
// How far each record has moved since its file was read: a change of one record's length moves
// every record after it. Kept as a Fenwick tree, so that a change and a look-up both cost
// O(log n) and a thousand marks in a big file do not each walk every record after the mark.

#include <cstdint>
#include <vector>

#include "platform/large_array_allocator.h"

namespace luma {

class OffsetShifts {
public:
    void Reset(std::size_t records) { m_tree.assign(records + 1, 0); }
    // Record `index` grew by `delta` bytes (shrank, when negative): the records after it move.
    void Grow(std::size_t index, std::int64_t delta)
    {
        for (std::size_t i = index + 2; i < m_tree.size(); i += i & (~i + 1)) {
            m_tree[i] += delta;
        }
    }
    // How far record `index` has moved.
    std::int64_t ShiftOf(std::size_t index) const
    {
        std::int64_t shift = 0;
        for (std::size_t i = index + 1; i > 0; i -= i & (~i + 1)) {
            shift += m_tree[i];
        }
        return shift;
    }

private:
    std::vector<std::int64_t, LargeArrayAllocator<std::int64_t>> m_tree;  // 1-based; position i + 1 holds what record i's growth adds
};

}  // namespace luma
