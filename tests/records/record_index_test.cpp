#include "records/record_index.h"

#include <gtest/gtest.h>

#include <random>

#include "test_files.h"

namespace luma {
namespace {

using test::DataField;
using test::Record;

std::string Good(const std::string& title)
{
    return Record({{"001", "id-" + title}, {"245", DataField("10$a" + title)}});
}

std::vector<std::string> Pieces(std::string_view file, const RecordIndex& index)
{
    std::vector<std::string> pieces;
    for (const RecordSpan& span : index.records) {
        pieces.emplace_back(file.substr(span.offset, span.length));
    }
    return pieces;
}

bool AnyProblemAt(const RecordIndex& index, std::uint64_t offset, const std::string& words)
{
    for (const Problem& problem : index.problems) {
        if (problem.offset == offset && problem.message.find(words) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(RecordIndex, WellFormedRecordsAreTakenWholeWithoutProblems)
{
    const std::string a = Good("A"), b = Good("B"), c = Good("C");
    const RecordIndex index = IndexRecords(a + b + c);
    EXPECT_EQ(Pieces(a + b + c, index), (std::vector<std::string>{a, b, c}));
    EXPECT_TRUE(index.problems.empty());
}

TEST(RecordIndex, StrayTerminatorInsideDataIsKeptWhenTheLengthEndsOnATerminator)
{
    const std::string odd = Record({{"245", DataField("10$aA\x1D" "B")}});
    const std::string file = odd + Good("next");
    const RecordIndex index = IndexRecords(file);
    EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{odd, Good("next")}));
    EXPECT_TRUE(index.problems.empty());
}

TEST(RecordIndex, LengthTooLargeNeverSwallowsTheNextRecord)
{
    std::string first = Good("first");
    const std::string second = Good("second");
    // The lying length lands exactly on the second record's terminator.
    first.replace(0, 5, std::to_string(100000 + first.size() + second.size()).substr(1));
    const std::string file = first + second;
    const RecordIndex index = IndexRecords(file);
    EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{first, second}));
    EXPECT_TRUE(AnyProblemAt(index, 0, "leader gives length"));
}

TEST(RecordIndex, LengthsThatLieOrAreNotNumbersFallBackToTheDirectory)
{
    for (const std::string& length : {std::string("00010"), std::string("09999"), std::string("12a45")}) {
        std::string damaged = Good("damaged");
        damaged.replace(0, 5, length);
        const std::string file = Good("before") + damaged + Good("after");
        const RecordIndex index = IndexRecords(file);
        EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{Good("before"), damaged, Good("after")}))
            << length;
        EXPECT_TRUE(AnyProblemAt(index, Good("before").size(), "directory")) << length;
    }
}

TEST(RecordIndex, MissingRecordTerminatorEndsWhereTheNextRecordBegins)
{
    std::string first = Good("first");
    first.pop_back();
    const std::string file = first + Good("second") + Good("third");
    const RecordIndex index = IndexRecords(file);
    EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{first, Good("second"), Good("third")}));
    EXPECT_TRUE(AnyProblemAt(index, 0, "terminator missing"));
}

TEST(RecordIndex, SeparatorsAndJunkBetweenRecordsAreReportedWithTheirOffsets)
{
    const std::string a = Good("A"), b = Good("B"), c = Good("C");
    const std::string junk = "garbage without any leader";
    const std::string file = "\xEF\xBB\xBF" + a + "\r\n" + b + junk + c + "\n";
    const RecordIndex index = IndexRecords(file);
    EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{a, b, c}));
    EXPECT_TRUE(AnyProblemAt(index, 0, "before the first record"));
    EXPECT_TRUE(AnyProblemAt(index, 3 + a.size(), "between records"));
    EXPECT_TRUE(AnyProblemAt(index, 3 + a.size() + 2 + b.size(), "not a record"));
    EXPECT_TRUE(AnyProblemAt(index, file.size() - 1, "after the last record"));
    EXPECT_EQ(index.problems.back().record, 2) << "trailing bytes belong to the last record";
}

TEST(RecordIndex, AFewStrayBytesBeforeARecordAreJunkNotARecord)
{
    for (const std::string& stray : {std::string("J"), std::string("##"), std::string("12345")}) {
        const std::string file = Good("A") + stray + Good("B");
        const RecordIndex index = IndexRecords(file);
        EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{Good("A"), Good("B")})) << stray;
        EXPECT_TRUE(AnyProblemAt(index, Good("A").size(), "not a record")) << stray;
    }
}

TEST(RecordIndex, TruncatedLastRecordIsKept)
{
    const std::string a = Good("A");
    const std::string cut = Good("B").substr(0, 30);
    const RecordIndex index = IndexRecords(a + cut);
    EXPECT_EQ(Pieces(a + cut, index), (std::vector<std::string>{a, cut}));
    EXPECT_TRUE(AnyProblemAt(index, a.size(), "file ends inside the record"));
}

TEST(RecordIndex, RecordWithUnusableDirectoryEndsAtItsTerminator)
{
    std::string broken = "xxxxxnam  22xxxxx   4500" + std::string("no directory here\x1D");
    const std::string file = Good("A") + broken + Good("B");
    const RecordIndex index = IndexRecords(file);
    EXPECT_EQ(Pieces(file, index), (std::vector<std::string>{Good("A"), broken, Good("B")}));
}

TEST(RecordIndex, RandomBytesAreCoveredInOrderAndNeverOverlap)
{
    std::mt19937 random(2709);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string file = Good("A");
        for (int i = 0; i < round * 7; ++i) {
            // Bias towards the structural bytes so that the damaged paths are taken.
            const int value = byte(random);
            file += value < 40 ? "\x1D\x1E\x1F" "0123456789"[value % 13] : static_cast<char>(value);
        }
        file += Good("Z");
        const RecordIndex index = IndexRecords(file);
        std::uint64_t previousEnd = 0;
        for (const RecordSpan& span : index.records) {
            ASSERT_GE(span.offset, previousEnd);
            ASSERT_GT(span.length, 0u);
            previousEnd = span.offset + span.length;
        }
        ASSERT_LE(previousEnd, file.size());
        ASSERT_FALSE(index.records.empty());
        EXPECT_EQ(Pieces(file, index).front(), Good("A")) << "round " << round;
        EXPECT_EQ(Pieces(file, index).back(), Good("Z")) << "round " << round;
    }
}

TEST(RecordIndex, EmptyInputHasNoRecords)
{
    const RecordIndex index = IndexRecords("");
    EXPECT_TRUE(index.records.empty());
    EXPECT_TRUE(index.problems.empty());
}

}  // namespace
}  // namespace luma
