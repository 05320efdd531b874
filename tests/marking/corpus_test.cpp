// Real files from other MARC projects' test suites: none may crash or hang the store, and
// well-formed ones must come back byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "records/record_store.h"
#include "records/iso_record.h"
#include "records/laid_out_record.h"
#include "test_files.h"

namespace luma {
namespace {

TEST(Corpus, EveryFileOpensAndEveryFieldOfEveryRecordReads)
{
    LUMA_REQUIRE_CORPUS();
    for (const std::string& path : test::CorpusFiles()) {
        RecordStore store;
        ASSERT_EQ(store.Open(path), 0) << path << ": " << store.LastError()->Describe();
        std::uint64_t covered = 0;
        for (int r = 0; r < store.GetRecordCount(); ++r) {
            store.SetRecord(r);
            for (int i = 0; i < store.GetFieldCount(); ++i) {
                EXPECT_EQ(store.GetFieldName(i).size(), 3u) << path;
                store.GetFieldText(i);
            }
            covered += store.GetRecordSpan(r).length;
            EXPECT_EQ(store.GetIsoBuffer().size(), store.GetRecordSpan(r).length);
        }
        EXPECT_LE(covered, test::ReadBytes(path).size()) << path;
    }
}

TEST(Corpus, CleanFilesAreTheConcatenationOfTheirBuffers)
{
    LUMA_REQUIRE_CORPUS();
    int clean = 0;
    for (const std::string& path : test::CorpusFiles()) {
        RecordStore store;
        ASSERT_EQ(store.Open(path), 0) << path;
        if (!store.FileProblems().empty()) continue;
        std::string concatenated;
        for (int r = 0; r < store.GetRecordCount(); ++r) {
            store.SetRecord(r);
            concatenated += store.GetIsoBuffer();
        }
        EXPECT_EQ(concatenated, test::ReadBytes(path)) << path;
        ++clean;
    }
    EXPECT_GT(clean, 30);
}

TEST(Corpus, Windows1251FileShowsRussianText)
{
    LUMA_REQUIRE_CORPUS();
    RecordStore store;
    ASSERT_EQ(store.Open(test::CorpusFile("pymarc/1251.dat")), 0);
    EXPECT_EQ(store.GetRecordCount(), 6);
    EXPECT_EQ(store.GetCharset(), Charset::Windows1251);
    EXPECT_EQ(store.GetFieldText(std::string("100")), "1#$aИльина, Татьяна Николаевна");
    EXPECT_TRUE(store.GetFieldText(std::string("245")).starts_with("10$aОсновы гидравлического расчета"));
}

TEST(Corpus, DamagedFilesKeepEveryRecordAndSayWhere)
{
    LUMA_REQUIRE_CORPUS();
    RecordStore store;
    ASSERT_EQ(store.Open(test::CorpusFile("marc4j/008008027.mrc")), 0);
    EXPECT_EQ(store.GetRecordCount(), 19) << "18 whole records and the one cut short";
    ASSERT_FALSE(store.FileProblems().empty());
    EXPECT_EQ(store.FileProblems().back().record, 18);

    ASSERT_EQ(store.Open(test::CorpusFile("pymarc/bad_records.mrc")), 0);
    EXPECT_EQ(store.GetRecordCount(), 8);
    int withProblems = 0;
    for (int r = 0; r < store.GetRecordCount(); ++r) {
        store.SetRecord(r);
        withProblems += store.RecordProblems().empty() ? 0 : 1;
        // Record 7 is a bare leader with an empty directory; every other one keeps its title.
        EXPECT_EQ(store.GetFieldCount(), r == 6 ? 0 : 1) << "record " << r + 1;
    }
    EXPECT_EQ(withProblems, 5);
}

// What a mark does the long way: parse, insert after the last field whose tag is not greater,
// build.
std::optional<std::string> InsertedByBuilding(std::string_view bytes, const Field& added)
{
    IsoRecord record = ParseRecord(bytes, 0, 0);
    const auto after = std::find_if(record.fields.rbegin(), record.fields.rend(),
                                    [&](const Field& field) { return field.tag <= added.tag; });
    record.fields.insert(after.base(), added);
    BuildResult built = BuildRecord(record);
    return built.error ? std::nullopt : std::optional<std::string>(std::move(built.bytes));
}

// Marks take clean records straight from their bytes: on every record of the corpus and of
// the damaged fuzzer findings, that gives the bytes of the long way, or declines.
TEST(Corpus, AFieldInsertedStraightIntoTheBytesIsWhatBuildingGives)
{
    LUMA_REQUIRE_CORPUS();
    std::vector<std::string> files = test::CorpusFiles();
    for (const char* folder : {"/reader", "/round_trip"}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(LUMA_FUZZ_CORPUS_DIR) + folder)) {
            files.push_back(entry.path().string());
        }
    }
    int straight = 0;
    int declined = 0;
    for (const std::string& path : files) {
        RecordStore store;
        if (store.Open(path) != 0) continue;
        for (int r = 0; r < store.GetRecordCount(); ++r) {
            const std::string record = std::string(store.Records()[static_cast<std::size_t>(r)]);
            // Also with leader bytes that building rewrites: a terminator, an unusable entry map.
            std::vector<std::string> variants{record};
            for (const auto& [at, byte] : {std::pair{6, '\x1E'}, {18, '\x1D'}, {20, '0'}, {21, 'x'}, {22, ' '}}) {
                if (record.size() > 24) variants.push_back(std::string(record).replace(static_cast<std::size_t>(at), 1, 1, byte));
            }
            for (const std::string& bytes : variants)
            for (const Field& added : {Field{"000", "a"}, Field{"200", "1 \x1F" "aTitle"}, Field{"999", ""}}) {
                const std::optional<std::string> inserted = InsertField(bytes, added.tag, added.data);
                if (!inserted) {
                    ++declined;
                    continue;
                }
                ++straight;
                EXPECT_EQ(inserted, InsertedByBuilding(bytes, added)) << path << ", record " << r + 1;
            }
        }
    }
    EXPECT_GT(straight, 1000);
    EXPECT_GT(declined, 0) << "damaged records take the long way";
}

// The label count reads clean records from their directory and looks through a large file on
// two threads; it must count what walking the parsed fields counts, on clean and damaged records.
TEST(Corpus, LabelCountsAgreeWithTheParsedFields)
{
    LUMA_REQUIRE_CORPUS();
    std::vector<std::string> files = test::CorpusFiles();
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LUMA_FUZZ_CORPUS_DIR) + "/reader")) {
        files.push_back(entry.path().string());
    }
    std::vector<std::string> records;  // of every file, joined below into one large store
    for (const std::string& path : files) {
        RecordStore store;
        if (store.Open(path) != 0) continue;
        for (int r = 0; r < store.GetRecordCount(); ++r) {
            records.emplace_back(store.Records()[static_cast<std::size_t>(r)]);
            store.SetRecord(r);
            const int fields = store.GetFieldCount();
            for (const int f : {0, fields / 2, fields - 1}) {
                if (f < 0) continue;
                const std::string tag = store.GetFieldName(f);
                const std::string text = store.GetFieldText(f);
                int parsed = 0;
                for (int g = 0; g < fields; ++g) {
                    parsed += store.GetFieldName(g) == tag && store.GetFieldText(g) == text;
                }
                ASSERT_EQ(store.CountFieldsEqual(tag, text), parsed) << path << ", record " << r + 1 << ", field " << tag;
            }
        }
    }
    RecordStore large;
    while (records.size() < 50000) {
        records.insert(records.end(), records.begin(), records.end());
    }
    ASSERT_EQ(large.OpenRecords(records, "large", Charset::Windows1251), 0);
    for (const char* tag : {"001", "245", "200", "999"}) {
        std::vector<int> expected;
        for (int r = 0; r < large.GetRecordCount(); ++r) {
            large.SetRecord(r);
            if (large.HasFieldWithTag(tag)) expected.push_back(r);
        }
        EXPECT_EQ(large.RecordsWithTag(tag), expected) << tag;
    }
}

}  // namespace
}  // namespace luma
