// Finding records: the order of the search, what a field must hold to match, and the fast search
// in the file's bytes giving the record view's answers on every record of real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "records/record_store.h"
#include "records/record_find.h"
#include "test_files.h"

namespace luma {
namespace {

using test::DataField;
using test::Record;

struct FileCase {
    const char* iconvName;  // nullptr: UTF-8, or MARC-8 through its own writer
    Charset charset;
};

const FileCase kFileCases[] = {{nullptr, Charset::Utf8},
                               {"CP1251", Charset::Windows1251},
                               {"KOI8-R", Charset::Koi8r},
                               {"CP866", Charset::Cp866},
                               {nullptr, Charset::Marc8}};

std::string InSet(const FileCase& file, const std::string& utf8)
{
    if (file.charset == Charset::Marc8) {
        return TextCodec(Charset::Marc8).Encode(utf8).value();
    }
    return file.iconvName ? test::Encode(utf8, file.iconvName) : utf8;
}

// Five records; the UTF-8 text is written in the file's set.
RecordStore OpenCatalogue(const FileCase& file)
{
    const auto data = [&](const std::string& notation) { return InSet(file, DataField(notation)); };
    const std::vector<std::string> records = {
        Record({{"001", "r0"}, {"245", data("10$aВойна и мир")}}),
        Record({{"001", "r1"}, {"245", data("10$aЁЛКА")}, {"300", data("  $a120 с. ; $b 10") + "$"}}),
        Record({{"001", "r2"}, {"245", data("10$aелка")}, {"700", data("1 $aТолстой, Лев")}}),
        Record({{"001", "r3"}, {"245", data("00$aWar and Peace")}}),
        // Ѣ only where the set has it.
        Record({{"001", "r4"}, {"245", data(file.charset == Charset::Utf8 ? "10$aѢдокъ" : "10$aЕдокъ")}}),
    };
    RecordStore store;
    EXPECT_EQ(store.OpenRecords(records, "catalogue.iso", file.charset), 0);
    return store;
}

// The records a query finds, both ways, which must agree.
std::vector<int> Found(RecordStore& store, const FindQuery& query, const FieldFilter& isShown = {})
{
    std::vector<int> fast;
    std::vector<int> plain;
    for (const auto way : {RecordMatcher::Way::Fast, RecordMatcher::Way::Plain}) {
        RecordMatcher matcher(store, query, isShown, way);
        EXPECT_EQ(matcher.SearchesBytes(), way == RecordMatcher::Way::Fast);
        for (int r = 0; r < store.GetRecordCount(); ++r) {
            if (matcher.Matches(r)) {
                (way == RecordMatcher::Way::Fast ? fast : plain).push_back(r);
            }
        }
    }
    EXPECT_EQ(fast, plain) << query.text;
    return plain;
}

TEST(RecordFind, SearchesAroundTheFileInBothDirections)
{
    RecordStore store = OpenCatalogue(kFileCases[1]);
    store.SetRecord(3);
    const FindQuery tolstoy{"толстой", "", false};
    const auto find = [&](int from, FindDirection direction) {
        const FindResult result = FindRecord(store, tolstoy, from, direction, {}, {});
        EXPECT_FALSE(result.cancelled);
        return std::make_pair(result.record.value_or(-1), result.wrapped);
    };
    EXPECT_EQ(find(0, FindDirection::Forward), std::make_pair(2, false));
    EXPECT_EQ(find(3, FindDirection::Forward), std::make_pair(2, true));
    EXPECT_EQ(find(2, FindDirection::Forward), std::make_pair(2, true));  // the only one: itself
    EXPECT_EQ(find(4, FindDirection::Backward), std::make_pair(2, false));
    EXPECT_EQ(find(1, FindDirection::Backward), std::make_pair(2, true));
    EXPECT_EQ(find(-1, FindDirection::Forward), std::make_pair(2, false));
    EXPECT_EQ(find(5, FindDirection::Backward), std::make_pair(2, false));
    EXPECT_EQ(store.GetCurRecord(), 3) << "the store stays on the record shown";
    EXPECT_FALSE(FindRecord(store, {"Лермонтов", "", false}, 0, FindDirection::Forward, {}, {}).record);
    EXPECT_FALSE(FindRecord(store, {"", "", false}, 0, FindDirection::Forward, {}, {}).record);
}

TEST(RecordFind, MatchesTheRecordViewTextInEveryCharacterSet)
{
    for (const FileCase& file : kFileCases) {
        SCOPED_TRACE(CharsetName(file.charset));
        RecordStore store = OpenCatalogue(file);
        EXPECT_EQ(Found(store, {"ёлка", "", false}), std::vector<int>{1});  // not the елка of record 2
        EXPECT_EQ(Found(store, {"Ёлка", "", true}), std::vector<int>{});
        EXPECT_EQ(Found(store, {"ЁЛКА", "", true}), std::vector<int>{1});
        EXPECT_EQ(Found(store, {"ЕЛКА", "", false}), std::vector<int>{2});
        EXPECT_EQ(Found(store, {"ѣдокъ", "", false}),
                  file.charset == Charset::Utf8 ? std::vector<int>{4} : std::vector<int>{});
        EXPECT_EQ(Found(store, {"war AND", "", false}), std::vector<int>{3});
        EXPECT_EQ(Found(store, {"war AND", "", true}), std::vector<int>{});
        // The notation: blank indicators '#', delimiters '$', a '$' of the data "{dollar}".
        EXPECT_EQ(Found(store, {"1#$aтолстой", "", false}), std::vector<int>{2});
        EXPECT_EQ(Found(store, {"##$a120", "", false}), std::vector<int>{1});
        EXPECT_EQ(Found(store, {"10{dollar}", "", false}), std::vector<int>{1});
        EXPECT_EQ(Found(store, {"llar}", "", false}), std::vector<int>{1});
        EXPECT_EQ(Found(store, {"10$", "", false}), (std::vector<int>{0, 1, 2, 4}));
        // A match never runs from one field into the next.
        EXPECT_EQ(Found(store, {"r1\x1F", "", false}), std::vector<int>{});
        EXPECT_EQ(Found(store, {"r0$", "", false}), std::vector<int>{});
        // Only the tag asked for, and only the fields the view shows.
        EXPECT_EQ(Found(store, {"лев", "700", false}), std::vector<int>{2});
        EXPECT_EQ(Found(store, {"a", "700", false}), std::vector<int>{2});
        EXPECT_EQ(Found(store, {"лев", "70", false}), std::vector<int>{});
        const FieldFilter hide700 = [](const std::string& tag) { return tag != "700"; };
        EXPECT_EQ(Found(store, {"толстой", "", false}, hide700), std::vector<int>{});
        EXPECT_EQ(Found(store, {"мир", "", false}, hide700), std::vector<int>{0});
    }
}

// Letters with diacritics as each set writes them: MARC-8 puts the mark before its letter,
// Windows-1252 has the letter whole, UTF-8 may have either form.
TEST(RecordFind, IgnoresDiacriticsOnlyWhenAsked)
{
    const std::string title = "10$aDe la solitude \u00E0 la communaut\u00E9, K\u00E4stner";
    const std::vector<std::pair<Charset, std::string>> files = {
        {Charset::Marc8, TextCodec(Charset::Marc8).Encode(DataField(title)).value()},
        {Charset::Windows1252, test::Encode(DataField(title), "CP1252")},
        {Charset::Utf8, DataField("10$aDe la solitude a\u0300 la communaute\u0301, Ka\u0308stner")},
    };
    for (const auto& [charset, data] : files) {
        SCOPED_TRACE(CharsetName(charset));
        RecordStore store;
        ASSERT_EQ(store.OpenRecords({Record({{"001", "r0"}, {"245", data}}), Record({{"001", "r1"}, {"245", DataField("10$aCommunaute")}})},
                                    "diacritics.iso", charset),
                  0);
        EXPECT_EQ(Found(store, {"communauté", "", false}), charset == Charset::Utf8 ? std::vector<int>{} : std::vector<int>{0})
            << "the record view composes MARC-8 and shows 1252 whole; decomposed UTF-8 stays as written";
        EXPECT_EQ(Found(store, {"communaute", "", false}), (charset == Charset::Utf8 ? std::vector<int>{0, 1} : std::vector<int>{1}))
            << "only decomposed UTF-8 holds the bare letter";
        EXPECT_EQ(Found(store, {"communaute", "", false, true}), (std::vector<int>{0, 1}));
        EXPECT_EQ(Found(store, {"KASTNER", "", false, true}), std::vector<int>{0});
        EXPECT_EQ(Found(store, {"Kästner", "", true, true}), std::vector<int>{0});
        EXPECT_EQ(Found(store, {"à la", "", false, true}), std::vector<int>{0});
    }
}

TEST(RecordFind, SeesAChangeNotYetCommitted)
{
    RecordStore store = OpenCatalogue(kFileCases[2]);
    store.SetRecord(0);
    ASSERT_EQ(store.AddField("901", "##$aОтобрано"), 0);
    ASSERT_TRUE(store.HasPendingChange(0));
    const FindResult result = FindRecord(store, {"отобрано", "", false}, 0, FindDirection::Forward, {}, {});
    EXPECT_EQ(result.record, 0);
    EXPECT_TRUE(result.wrapped);
}

TEST(RecordFind, ProgressCanCancel)
{
    std::vector<std::string> records(2000, Record({{"245", DataField("10$aЗаглавие")}}));
    records.back() = Record({{"245", DataField("10$aИскомое")}});
    RecordStore store;
    ASSERT_EQ(store.OpenRecords(records, "many.iso", Charset::Utf8), 0);
    std::vector<int> calls;
    const auto record = [&](int stopAfter) {
        calls.clear();
        const FindResult result = FindRecord(store, {"искомое", "", false}, -1, FindDirection::Forward, {},
                                             [&](int done, int total) {
                                                 EXPECT_EQ(total, 2000);
                                                 calls.push_back(done);
                                                 return static_cast<int>(calls.size()) < stopAfter;
                                             });
        EXPECT_EQ(result.cancelled, !result.record);
        return result.record;
    };
    EXPECT_EQ(record(1000), 1999);
    EXPECT_GE(calls.size(), 2u);
    EXPECT_LT(calls.size(), 100u) << "progress is told now and then, not per record";
    EXPECT_TRUE(std::is_sorted(calls.begin(), calls.end()));
    EXPECT_FALSE(record(1));
    EXPECT_EQ(calls.size(), 1u);
}

// Signs of the notation, U+FFFD (what undecodable bytes show) and letters with a case partner.
const std::vector<std::string> kNotationQueries = {"#$", "{dollar}", "lar}", "\xEF\xBF\xBD", "Ё", "E"};

// Pieces of the text of a few of a record's fields, whole characters of varying length.
std::vector<std::string> PiecesOfFields(RecordStore& store, int record)
{
    std::vector<std::string> pieces;
    store.SetRecord(record);
    const int fields = store.GetFieldCount();
    for (int i = 0; i < fields; i += std::max(1, fields / 4)) {
        const std::string text = store.GetFieldText(i);
        const auto isContinuation = [&](std::size_t at) {
            return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
        };
        std::size_t begin = text.size() / 3;
        std::size_t end = std::min(text.size(), begin + 1 + static_cast<std::size_t>(record + i) % 9);
        while (begin > 0 && isContinuation(begin)) --begin;
        while (isContinuation(end)) ++end;
        if (end > begin) {
            pieces.push_back(text.substr(begin, end - begin));
        }
    }
    return pieces;
}

// Both ways ask the record view's text of a record for every query in turn: it is parsed once.
int AgreeOnEveryRecord(RecordStore& store, const std::vector<FindQuery>& queries)
{
    std::vector<std::unique_ptr<RecordMatcher>> fast;
    std::vector<std::unique_ptr<RecordMatcher>> plain;
    for (const FindQuery& query : queries) {
        fast.push_back(std::make_unique<RecordMatcher>(store, query, FieldFilter{}, RecordMatcher::Way::Fast));
        plain.push_back(std::make_unique<RecordMatcher>(store, query, FieldFilter{}, RecordMatcher::Way::Plain));
    }
    int compared = 0;
    for (int r = 0; r < store.GetRecordCount(); ++r) {
        for (std::size_t q = 0; q < queries.size(); ++q) {
            EXPECT_EQ(fast[q]->Matches(r), plain[q]->Matches(r)) << "record " << r << ", query " << queries[q].text
                                                                   << (queries[q].matchCase ? ", case" : "");
            ++compared;
        }
    }
    return compared;
}

TEST(Corpus, FastFindAgreesWithTheRecordViewOnEveryRecord)
{
    LUMA_REQUIRE_CORPUS();
    int compared = 0;
    for (const std::string& path : test::CorpusFiles()) {
        SCOPED_TRACE(path);
        RecordStore store;
        ASSERT_EQ(store.Open(path), 0);
        const int count = store.GetRecordCount();
        std::vector<FindQuery> asked;
        for (const std::string& text : kNotationQueries) {
            asked.push_back({text, "", false});
            asked.push_back({text, "", true});
        }
        // One record's pieces per file: the sanitizer build on a busy machine has a minute.
        for (int r = count / 2; r == count / 2; ++r) {
            for (const std::string& piece : PiecesOfFields(store, r)) {
                asked.push_back({piece, "", false});
                // The piece's own record is among those found, folded or not.
                const std::vector<int> exact = FindAllRecords(store, {piece, "", true}, {});
                const std::vector<int> folded = FindAllRecords(store, {FoldCase(piece), "", false}, {});
                EXPECT_TRUE(std::count(exact.begin(), exact.end(), r) == 1) << piece;
                EXPECT_TRUE(std::count(folded.begin(), folded.end(), r) == 1) << piece;
            }
        }
        asked.push_back({"a", "245", false});
        compared += AgreeOnEveryRecord(store, asked);
        Found(store, {"a", "", false}, [](const std::string& tag) { return tag < "500"; });
    }
    EXPECT_GT(compared, 15000);
}

// A large file is searched in two halves at once: what it finds must be what a search of one
// record after another finds, in file order, on both sides of the seam.
TEST(Corpus, ALargeFileSearchedInTwoHalvesFindsWhatOneRecordAfterAnotherFinds)
{
    LUMA_REQUIRE_CORPUS();
    std::vector<std::string> corpus;
    for (const std::string& path : test::CorpusFiles()) {
        RecordStore store;
        if (store.Open(path) != 0) continue;
        for (std::size_t r = 0; r < store.Records().size(); ++r) {
            corpus.emplace_back(store.Records()[r]);
        }
    }
    ASSERT_FALSE(corpus.empty());
    std::vector<std::string> records;
    while (records.size() <= 20000) {  // enough for two halves
        records.insert(records.end(), corpus.begin(), corpus.end());
    }
    RecordStore large;
    ASSERT_EQ(large.OpenRecords(records, "large", Charset::Utf8), 0);
    for (const FindQuery& query : {FindQuery{"a", "", false}, FindQuery{"$a", "245", true}}) {
        RecordMatcher matcher(large, query, {});
        ASSERT_TRUE(matcher.SearchesBytes());
        std::vector<int> oneByOne;
        for (int r = 0; r < large.GetRecordCount(); ++r) {
            if (matcher.Matches(r)) oneByOne.push_back(r);
        }
        EXPECT_GT(oneByOne.size(), 100u) << query.text;
        EXPECT_EQ(FindAllRecords(large, query, {}), oneByOne) << query.text;
    }
}

}  // namespace
}  // namespace luma
