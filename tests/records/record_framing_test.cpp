#include "records/record_framing.h"

#include <gtest/gtest.h>

#include "records/record_store.h"
#include "records/iso_record.h"
#include "test_files.h"

namespace luma {
namespace {

using test::DataField;
using test::Record;

std::vector<Field> FieldsOf(const std::string& record)
{
    return ParseRecord(record, 0, 0).fields;
}

std::size_t Rebuild(std::vector<std::string>& records)
{
    RecordBufferList list = RecordBufferList::FromRecords(records);
    const std::size_t rebuilt = RebuildMisframedRecords(list);
    records = list.ToStrings();
    return rebuilt;
}

TEST(RecordFraming, CleanRecordsAreLeftByteForByte)
{
    std::vector<std::string> records = {Record({{"001", "a"}}), Record({{"001", "b"}, {"200", DataField("1 $aX")}})};
    const std::vector<std::string> before = records;
    EXPECT_TRUE(ReadsBackAsWritten(records));
    EXPECT_EQ(Rebuild(records), 0u);
    EXPECT_EQ(records, before);
}

TEST(RecordFraming, ARecordThatDoesNotFrameItselfIsRebuiltWithItsFields)
{
    const std::string good = Record({{"001", "a"}, {"200", DataField("1 $aTitle")}});
    // No record terminator, and a length that reaches into the record after it.
    std::string cut = Record({{"001", "b"}, {"200", DataField("1 $aOther")}});
    cut.pop_back();
    cut.replace(0, 5, "00090");
    std::vector<std::string> records = {good, cut, good};

    EXPECT_EQ(Rebuild(records), 1u);
    EXPECT_TRUE(ReadsBackAsWritten(records));
    EXPECT_EQ(records[0], good);
    EXPECT_EQ(records[2], good);
    ASSERT_EQ(FieldsOf(records[1]).size(), 2u);
    EXPECT_EQ(FieldsOf(records[1])[1].data, FieldsOf(cut)[1].data);
}

class FuzzerFinding : public ::testing::TestWithParam<std::string> {};

// Damaged records that read back as themselves in the file, until a neighbour changed: a
// length reaching into the next record, a fragment shorter than a leader.
TEST_P(FuzzerFinding, RecordsAreRebuiltAtOpenSoThatAnyMarkReadsBackAsWritten)
{
    const std::string bytes = test::ReadBytes(std::string(LUMA_FUZZ_CORPUS_DIR) + "/round_trip/" + GetParam());
    RecordStore store;
    ASSERT_EQ(store.OpenBytes(bytes, "fuzz"), 0);
    ASSERT_FALSE(store.FileProblems().empty());
    std::vector<std::string> records;
    for (int r = 0; r < store.GetRecordCount(); ++r) {
        store.SetRecord(r);
        records.push_back(store.GetIsoBuffer());
    }
    Rebuild(records);
    // Whatever is changed after the rebuild, the list reads back as written.
    for (std::size_t changed = 0; changed < records.size(); ++changed) {
        std::vector<std::string> marked = records;
        RecordStore one;
        ASSERT_EQ(one.OpenRecords({records[changed]}, "one", store.GetCharset()), 0);
        one.SetRecord(0);
        if (one.AddField("901", "##$aОтобрано") == 0) {
            marked[changed] = one.GetIsoBuffer();
        }
        EXPECT_TRUE(ReadsBackAsWritten(marked)) << "record " << changed << " marked";
    }
}

INSTANTIATE_TEST_SUITE_P(RoundTrip, FuzzerFinding,
                         ::testing::Values("reframed_after_marks.iso", "fragment_shorter_than_a_leader.iso",
                                           "entry_map_too_small_for_the_record.iso"),
                         [](const auto& found) { return found.param.substr(0, found.param.find('.')); });

}  // namespace
}  // namespace luma
