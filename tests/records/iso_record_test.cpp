#include "records/iso_record.h"

#include <gtest/gtest.h>

#include "records/record_store.h"
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

TEST(IsoRecord, TerminatorsInADamagedLeaderAreNotWrittenBack)
{
    IsoRecord record;
    record.leader = std::string("00040cam\x1D" "a2200037 i\x1E" "4500");
    record.fields = {{"001", "x"}};
    const std::string bytes = BuildRecord(record).bytes;
    EXPECT_EQ(bytes.substr(0, 24), "00040cam a2200037 i 4500");
    // Written between other records, the rebuilt record still ends where it says.
    EXPECT_EQ(bytes.find('\x1D'), bytes.size() - 1);
    RecordStore store;
    ASSERT_EQ(store.OpenBytes(bytes + bytes, "two"), 0);
    EXPECT_EQ(store.GetRecordCount(), 2);
    EXPECT_TRUE(store.FileProblems().empty());
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

// Offsets in kFields' record: directory terminator at 60, base 61, the terminator of 200 at 88,
// that of 700 at 99, the record terminator at 100.
constexpr std::size_t kDirectoryTerminator = 60;
constexpr std::size_t kTerminatorOf200 = 88;
constexpr std::size_t kTerminatorOf700 = 99;

test::RawFields TagsAndData(const IsoRecord& record)
{
    test::RawFields fields;
    for (const Field& field : record.fields) {
        fields.emplace_back(field.tag, field.data);
    }
    return fields;
}

TEST(IsoRecord, LostDirectoryTerminatorIsFoundFromTheBaseAddress)
{
    const std::string bytes = Patched(Record(kFields), kDirectoryTerminator, " ");
    const IsoRecord record = ParseRecord(bytes, 0, 1000);
    EXPECT_EQ(TagsAndData(record), kFields);
    EXPECT_TRUE(HasProblem(record, "directory terminator missing", 1000 + kDirectoryTerminator));
    EXPECT_TRUE(HasFieldWithTag(bytes, "700"));

    // Marked, the record is written whole again; unmarked records keep their bytes.
    RecordStore store;
    ASSERT_EQ(store.OpenBytes(bytes, "lost.iso"), 0);
    EXPECT_EQ(store.GetIsoBuffer(), bytes);
    ASSERT_EQ(store.AddField("901", "##$aX"), 0);
    const IsoRecord rebuilt = ParseRecord(store.GetIsoBuffer(), 0, 0);
    EXPECT_TRUE(rebuilt.problems.empty());
    EXPECT_EQ(rebuilt.fields.size(), kFields.size() + 1);
}

TEST(IsoRecord, DirectoryTerminatorWinsOverABaseAddressThatDisagrees)
{
    const std::string good = Record(kFields);
    // A base address short by exactly one entry would cut off the last entry.
    const IsoRecord shortBase = ParseRecord(Patched(good, 12, "00049"), 0, 0);
    EXPECT_EQ(TagsAndData(shortBase), kFields);
    EXPECT_TRUE(HasProblem(shortBase, "base address 49 corrected to 61", 12));

    // Stray bytes before the directory terminator, the base address as it was before them.
    const std::string stray =
        good.substr(0, kDirectoryTerminator) + "00000" + good.substr(kDirectoryTerminator);
    const IsoRecord strayBytes = ParseRecord(stray, 0, 0);
    EXPECT_EQ(TagsAndData(strayBytes), kFields);
    EXPECT_TRUE(HasProblem(strayBytes, "5 bytes that are not a whole entry", kDirectoryTerminator));
    EXPECT_TRUE(HasFieldWithTag(stray, "700"));
}

TEST(IsoRecord, ByteInAFieldTerminatorsPlaceIsDroppedOnlyWhereTheNextFieldConfirmsIt)
{
    const std::string good = Record(kFields);
    const IsoRecord confirmed = ParseRecord(Patched(good, kTerminatorOf200, " "), 0, 0);
    EXPECT_EQ(TagsAndData(confirmed), kFields);
    EXPECT_TRUE(HasProblem(confirmed, "stands where the field terminator belongs", kTerminatorOf200));

    // A byte that is not blank or a control character is data, even where the record's data
    // ends right after it.
    const IsoRecord last = ParseRecord(Patched(good, kTerminatorOf700, "!"), 0, 0);
    ASSERT_EQ(last.fields.size(), 3u);
    EXPECT_EQ(last.fields[2].data, DataField(" 1$aAuthor") + "!");
}

// `width` digits of `value`, as directory entries and the leader write numbers.
std::string Digits(std::size_t value, std::size_t width)
{
    const std::string text = std::to_string(value);
    return std::string(width - std::min(width, text.size()), '0') + text;
}

// A record as a writer that leaves out the field terminators writes it: each entry counts the
// field's data alone.
std::string RecordWithoutFieldTerminators(const test::RawFields& fields)
{
    std::string directory;
    std::string data;
    for (const auto& [tag, content] : fields) {
        directory += tag + Digits(content.size(), 4) + Digits(data.size(), 5);
        data += content;
    }
    const std::size_t base = 24 + directory.size() + 1;
    return Digits(base + data.size() + 1, 5) + "nam  22" + Digits(base, 5) + "   4500" + directory +
           "\x1E" + data + "\x1D";
}

TEST(IsoRecord, FieldWithoutItsTerminatorKeepsEveryByteWhereTheDirectoryAgrees)
{
    // The terminator of 200 cut out, its length, the start of 700 and the record length updated.
    std::string cut = Record(kFields).erase(kTerminatorOf200, 1);
    cut = Patched(Patched(Patched(cut, 36 + 3, "0017"), 48 + 7, "00027"), 0, "00100");
    const IsoRecord record = ParseRecord(cut, 0, 1000);
    EXPECT_EQ(TagsAndData(record), kFields);
    EXPECT_TRUE(HasProblem(record, "field 200: field terminator missing", 1000 + kTerminatorOf200));

    // Marked, the record is written with every byte of 200 and its terminator.
    RecordStore store;
    ASSERT_EQ(store.OpenBytes(cut, "cut.iso"), 0);
    ASSERT_EQ(store.AddField("901", "##$aX"), 0);
    const IsoRecord rebuilt = ParseRecord(store.GetIsoBuffer(), 0, 0);
    EXPECT_TRUE(rebuilt.problems.empty());
    test::RawFields marked = kFields;
    marked.emplace_back("901", DataField("  $aX"));
    EXPECT_EQ(TagsAndData(rebuilt), marked);

    // The directory left as it was: 700 begins a byte before its entry's start, where its
    // length ends on its terminator, and 200 ends there.
    const std::string shifted = Record(kFields).erase(kTerminatorOf200, 1);
    const IsoRecord shiftedRecord = ParseRecord(shifted, 0, 0);
    EXPECT_EQ(TagsAndData(shiftedRecord), kFields);
    EXPECT_TRUE(HasProblem(shiftedRecord, "field 200: field terminator missing; the next field",
                           kTerminatorOf200));

    // A writer that leaves out every terminator: even a blank at a field's end is its data.
    const test::RawFields blankEnd = {{"001", "ru-000001"}, {"008", "261207s2026    ru   "},
                                      {"200", DataField("1 $aTitle")}};
    EXPECT_EQ(TagsAndData(ParseRecord(RecordWithoutFieldTerminators(blankEnd), 0, 0)), blankEnd);
}

TEST(IsoRecord, DirectoryWithoutItsTerminatorIsReadFromTheBaseAddress)
{
    // The directory's terminator cut out, the base address and the length updated to match.
    const std::string cut = Record(kFields).erase(kDirectoryTerminator, 1);
    const std::string updated = Patched(Patched(cut, 12, "00060"), 0, "00100");
    const IsoRecord record = ParseRecord(updated, 0, 1000);
    EXPECT_EQ(TagsAndData(record), kFields);
    EXPECT_TRUE(HasProblem(record, "directory terminator missing; the fields start right after",
                           1000 + kDirectoryTerminator));
    EXPECT_TRUE(HasFieldWithTag(updated, "700"));

    // The base address left as it was: it is corrected to where the entries end.
    const IsoRecord stale = ParseRecord(cut, 0, 0);
    EXPECT_EQ(TagsAndData(stale), kFields);
    EXPECT_TRUE(HasProblem(stale, "base address 61 corrected to 60", 12));
}

TEST(IsoRecord, ByteAddedInsideAFieldShiftsNoFieldAfterIt)
{
    // One byte more in 200, its directory entry and the one of 700 left as they were.
    const std::string good = Record(kFields);
    const std::size_t inTitle = good.find("Title") + 5;
    const std::string bytes = good.substr(0, inTitle) + "!" + good.substr(inTitle);
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    test::RawFields expected = kFields;
    expected[1].second = DataField("1 $aTitle!$fAuthor");
    EXPECT_EQ(TagsAndData(record), expected);
    EXPECT_TRUE(HasProblem(record, "field 200: directory entry gives length 18", 36));
    EXPECT_TRUE(HasProblem(record, "field 700: directory entry gives start 28", 48));
}

TEST(IsoRecord, EntryWithAWrongStartIsReadWhereThePreviousFieldEndsWhenItsLengthFits)
{
    // Entry 3 (offset 48) starting on field 001, as a start wrapped past five digits does.
    const IsoRecord record = ParseRecord(Patched(Record(kFields), 48 + 7, "00000"), 0, 0);
    EXPECT_EQ(TagsAndData(record), kFields);
    EXPECT_TRUE(HasProblem(record, "gives start 0, where the field does not end", 48));

    // With a wrong length as well, the field runs from its start to the next terminator.
    const std::string both = Patched(Patched(Record(kFields), 48 + 7, "00000"), 48 + 3, "0003");
    const IsoRecord garbled = ParseRecord(both, 0, 0);
    ASSERT_EQ(garbled.fields.size(), 3u);
    EXPECT_EQ(garbled.fields[2].data, "ru-000001");
}

TEST(IsoRecord, DamageThatStillReadsIsReportedWhereItLies)
{
    const test::RawFields fields = {{"001", "id"},
                                    {"200", "x%" + DataField("$aTitle")},
                                    {"300", "  plain"},
                                    {"310", DataField("  $aA") + "\x1D" "B"},
                                    {"320", DataField("  $aC") + "\x1E" "D"},
                                    {std::string("3\x01" "0", 3), DataField("  $aE")}};
    const std::string bytes = Record(fields);
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    EXPECT_EQ(TagsAndData(record), fields);
    EXPECT_TRUE(HasProblem(record, "indicators 'x%' are not digits", bytes.find("x%")));
    EXPECT_TRUE(HasProblem(record, "5 bytes between the indicators and the first subfield",
                           bytes.find("  plain") + 2));
    EXPECT_TRUE(HasProblem(record, "field 310: a record terminator", bytes.find('\x1D')));
    EXPECT_TRUE(HasProblem(record, "field 320: a field terminator", bytes.find("C\x1E" "D") + 1));
    EXPECT_TRUE(HasProblem(record, "tag '3\\x010' is not three letters or digits", 24 + 5 * 12));
    EXPECT_EQ(record.problems.size(), 5u);
}

TEST(IsoRecord, LeaderDigitsThatAreNotDigitsAreReportedAndTheStandardValuesRead)
{
    const std::string bytes = Patched(Patched(Patched(Record(kFields), 10, "x"), 11, "y"), 20, "abc");
    const IsoRecord record = ParseRecord(bytes, 0, 0);
    EXPECT_EQ(TagsAndData(record), kFields);
    EXPECT_TRUE(HasProblem(record, "indicator count 'x' is not a digit", 10));
    EXPECT_TRUE(HasProblem(record, "subfield code length 'y' is not a digit", 11));
    EXPECT_TRUE(HasProblem(record, "entry map 'abc' is not usable", 20));
}

}  // namespace
}  // namespace luma
