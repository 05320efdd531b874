#include "records/offset_shifts.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace luma {
namespace {

// What OffsetShifts stands for, the slow way: every record's growth, summed over the records
// before the one asked about.
class NaiveShifts {
public:
    explicit NaiveShifts(std::size_t records) : m_growth(records, 0) {}
    void Grow(std::size_t index, std::int64_t delta) { m_growth.at(index) += delta; }
    std::int64_t ShiftOf(std::size_t index) const
    {
        std::int64_t shift = 0;
        for (std::size_t i = 0; i < index; ++i) {
            shift += m_growth[i];
        }
        return shift;
    }

private:
    std::vector<std::int64_t> m_growth;
};

void ExpectEveryShiftAsNaive(const OffsetShifts& shifts, const NaiveShifts& naive, std::size_t records)
{
    for (std::size_t i = 0; i < records; ++i) {
        ASSERT_EQ(shifts.ShiftOf(i), naive.ShiftOf(i)) << "record " << i << " of " << records;
    }
}

// Random growing and shrinking, with the first and last records and zero-length changes among
// them, on sizes where the tree's powers of two begin and end: each record's shift must be the
// sum of the changes before it, and never include its own.
TEST(OffsetShifts, EveryShiftIsTheSumOfTheChangesBeforeTheRecord)
{
    std::mt19937_64 random(20240611);
    for (const std::size_t records : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                      std::size_t{8}, std::size_t{9}, std::size_t{63}, std::size_t{64},
                                      std::size_t{65}, std::size_t{200}}) {
        OffsetShifts shifts;
        shifts.Reset(records);
        NaiveShifts naive(records);
        std::uniform_int_distribution<std::size_t> anyRecord(0, records - 1);
        std::uniform_int_distribution<std::int64_t> anyDelta(-5000, 5000);
        for (int step = 0; step < 600; ++step) {
            std::size_t index = anyRecord(random);
            if (step % 7 == 0) {
                index = 0;
            } else if (step % 7 == 1) {
                index = records - 1;
            }
            const std::int64_t delta = step % 11 == 0 ? 0 : anyDelta(random);
            shifts.Grow(index, delta);
            naive.Grow(index, delta);
            if (step % 50 == 0) {
                ExpectEveryShiftAsNaive(shifts, naive, records);
            }
        }
        ExpectEveryShiftAsNaive(shifts, naive, records);
        // A change that is taken back leaves every record where it was.
        const std::int64_t before = shifts.ShiftOf(records - 1);
        shifts.Grow(0, 12345);
        shifts.Grow(0, -12345);
        EXPECT_EQ(shifts.ShiftOf(records - 1), before) << records << " records";
    }
}

// Reset starts again from nothing, also after changes and for another number of records; the
// last record's change moves nothing; shifts beyond 4 GiB and a million records keep their sums.
TEST(OffsetShifts, ResetForgetsAndLargeFilesKeepTheirSums)
{
    OffsetShifts shifts;
    shifts.Reset(10);
    shifts.Grow(3, 100);
    shifts.Grow(9, 7);  // the last record: nothing comes after it
    EXPECT_EQ(shifts.ShiftOf(3), 0);
    EXPECT_EQ(shifts.ShiftOf(4), 100);
    EXPECT_EQ(shifts.ShiftOf(9), 100);

    shifts.Reset(10);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(shifts.ShiftOf(i), 0) << "record " << i << " after Reset";
    }

    constexpr std::size_t kRecords = 1'000'000;
    constexpr std::int64_t kFiveGiB = std::int64_t{5} << 30;
    shifts.Reset(kRecords);
    shifts.Grow(0, kFiveGiB);
    shifts.Grow(kRecords / 2, -kFiveGiB - 1);
    shifts.Grow(kRecords - 2, kFiveGiB);
    EXPECT_EQ(shifts.ShiftOf(0), 0);
    EXPECT_EQ(shifts.ShiftOf(1), kFiveGiB);
    EXPECT_EQ(shifts.ShiftOf(kRecords / 2), kFiveGiB);
    EXPECT_EQ(shifts.ShiftOf(kRecords / 2 + 1), -1);
    EXPECT_EQ(shifts.ShiftOf(kRecords - 2), -1);
    EXPECT_EQ(shifts.ShiftOf(kRecords - 1), kFiveGiB - 1);
}

}  // namespace
}  // namespace luma
