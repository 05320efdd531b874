#include "marking/iso_record.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace luma {
namespace {

using test::DataField;
using test::Record;

const test::RawFields kFields = {
    {"001", "ru-000001"}, {"200", DataField("1 $aTitle$fAuthor")}, {"700", DataField(" 1$aAuthor")}};

bool HasProblem(const IsoRecord& record, const std::string& words, std::uint64_t offset)
{
    for (const Problem& problem : record.problems) {
        if (problem.message.find(words) != std::string::npos && problem.offset == offset) {
            return true;
        }
    }
    return false;
}

// Replaces `count` bytes at `pos` of a record; positions are those of the built record.
std::string Patched(std::string bytes, std::size_t pos, const std::string& with)
{
    return bytes.replace(pos, with.size(), with);
}

TEST(IsoRecord, CanonicalRecordParsesAndBuildsBackByteForByte)
{
    const std::string bytes = Record(kFields);
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    ASSERT_EQ(record.fields.size(), 3u);
    EXPECT_EQ(record.fields[1].tag, "200");
    EXPECT_EQ(record.fields[1].data, DataField("1 $aTitle$fAuthor"));
    EXPECT_TRUE(record.problems.empty());
    EXPECT_EQ(BuildRecord(record).bytes, bytes);
}

TEST(IsoRecord, BuildRecomputesLengthAndBaseAndKeepsEveryOtherLeaderByte)
{
    IsoRecord record;
    record.leader = "99999cam a2299999 i 4500";
    record.fields = {{"001", "x"}};
    const std::string bytes = BuildRecord(record).bytes;
    // leader 24 + one entry 12 + terminator = base 37; data "x" + FT; RT.
    EXPECT_EQ(bytes.substr(0, 24), "00040cam a2200037 i 4500");
    EXPECT_EQ(bytes.substr(24, 12), "001000200000");
    EXPECT_EQ(bytes.size(), 40u);
}

TEST(IsoRecord, WrongBaseAddressIsCorrectedAndReported)
{
    const std::string bytes = Patched(Record(kFields), 12, "00099");
    const IsoRecord record = ParseRecord(bytes, 4, 1000);
    ASSERT_EQ(record.fields.size(), 3u);
    EXPECT_EQ(record.fields[2].data, DataField(" 1$aAuthor"));
    EXPECT_TRUE(HasProblem(record, "base address 99 corrected", 1012));
    EXPECT_EQ(record.problems.front().record, 4);
}

TEST(IsoRecord, EntriesThatLieAreReadUpToTheFieldTerminator)
{
    const std::string good = Record(kFields);
    // Entry 2 (offset 36) with a wrong length; entry 3 (offset 48) pointing far outside.
    const std::string bytes = Patched(Patched(good, 36 + 3, "0005"), 48 + 7, "90000");
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    ASSERT_EQ(record.fields.size(), 3u);
    EXPECT_EQ(record.fields[1].data, DataField("1 $aTitle$fAuthor"));
    EXPECT_EQ(record.fields[2].data, DataField(" 1$aAuthor"));
    EXPECT_TRUE(HasProblem(record, "does not end on a field terminator", 36));
    EXPECT_TRUE(HasProblem(record, "points outside the record", 48));
}

TEST(IsoRecord, NonNumericEntryStartsWhereThePreviousFieldEnded)
{
    const std::string bytes = Patched(Record(kFields), 36 + 3, "xx12yyyy");
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    ASSERT_EQ(record.fields.size(), 3u);
    EXPECT_EQ(record.fields[1].data, DataField("1 $aTitle$fAuthor"));
    EXPECT_TRUE(HasProblem(record, "not numeric", 36));
}

TEST(IsoRecord, MissingDirectoryTerminatorGivesNoFieldsButKeepsTheLeader)
{
    const std::string bytes = "00040nam  2200037   4500001000200000x\x1D";
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    EXPECT_TRUE(record.fields.empty());
    EXPECT_EQ(record.leader, bytes.substr(0, 24));
    EXPECT_TRUE(HasProblem(record, "directory has no terminator", 24));
}

TEST(IsoRecord, ShortRecordIsReportedNotRead)
{
    const IsoRecord record = ParseRecord("01234nam", 0, 7);
    EXPECT_TRUE(record.fields.empty());
    EXPECT_TRUE(HasProblem(record, "shorter than its 24-byte leader", 7));
}

TEST(IsoRecord, OversizedFieldInAFileIsRecoveredButNeverWritten)
{
    const std::string big(12000, 'x');
    // Written by hand: the 4-digit length wraps, as careless writers do.
    std::string bytes = "00000nam  2200049   4500" + std::string("245") + "2001" + "00000" +
                        std::string("001") + "0002" + "12003" + "\x1E" + "10" + big + "\x1E" +
                        "y\x1E\x1D";
    bytes.replace(0, 5, std::to_string(bytes.size()));
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    ASSERT_EQ(record.fields.size(), 2u);
    EXPECT_EQ(record.fields[0].data.size(), big.size() + 2);
    EXPECT_EQ(record.fields[1].data, "y");

    const BuildResult built = BuildRecord(record);
    ASSERT_TRUE(built.error.has_value());
    EXPECT_NE(built.error->find("at most 9999"), std::string::npos);
}

TEST(IsoRecord, RecordOverTheLengthLimitIsRefused)
{
    IsoRecord record;
    record.leader = "00000nam  2200000   4500";
    for (int i = 0; i < 12; ++i) {
        record.fields.push_back({"500", std::string(9000, 'z')});
    }
    const BuildResult built = BuildRecord(record);
    ASSERT_TRUE(built.error.has_value());
    EXPECT_NE(built.error->find("at most 99999"), std::string::npos);
    EXPECT_TRUE(built.bytes.empty());
}

}  // namespace
}  // namespace luma
