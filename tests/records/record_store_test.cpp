#include "records/record_store.h"

#include <gtest/gtest.h>

#include "records/iso_record.h"
#include "test_files.h"

namespace luma {
namespace {

using test::DataField;
using test::Encode;
using test::Record;

std::string CyrillicRecord(const std::string& id, const std::string& title)
{
    return Record({{"001", id},
                   {"200", DataField("1 $a") + Encode(title, "CP1251")},
                   {"700", DataField(" 1$a") + Encode("Ильина, Т. Н.", "CP1251")},
                   {"801", DataField(" 0$aRU$bRKP")}});
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_file = CyrillicRecord("r1", "Основы расчета") + CyrillicRecord("r2", "Сети и системы") +
                 CyrillicRecord("r3", "Гидравлика");
        m_path = m_dir.Write("source.iso", m_file);
        ASSERT_EQ(m_store.Open(m_path), 0);
    }

    test::TempDir m_dir;
    std::string m_file;
    std::string m_path;
    RecordStore m_store;
};

TEST_F(StoreTest, ReadsRecordsAndFieldsOfTheCurrentRecord)
{
    EXPECT_EQ(m_store.GetRecordCount(), 3);
    EXPECT_EQ(m_store.GetCharset(), Charset::Windows1251);
    m_store.SetRecord(1);
    ASSERT_EQ(m_store.GetFieldCount(), 4);
    EXPECT_EQ(m_store.GetFieldName(1), "200");
    EXPECT_EQ(m_store.GetFieldText(1), "1#$aСети и системы");
    EXPECT_EQ(m_store.GetFieldText(std::string("700")), "#1$aИльина, Т. Н.");
    EXPECT_EQ(m_store.GetFieldText(std::string("999")), "");
    EXPECT_EQ(m_store.GetFieldName(4), "");
    EXPECT_EQ(m_store.GetFieldText(-1), "");
}

TEST_F(StoreTest, SetRecordClampsToTheRecordsPresent)
{
    m_store.SetRecord(-1);
    EXPECT_EQ(m_store.GetCurRecord(), 0);
    m_store.SetRecord(3);
    EXPECT_EQ(m_store.GetCurRecord(), 2);
    m_store.SetRecord(1);
    EXPECT_EQ(m_store.GetCurRecord(), 1);
}

TEST_F(StoreTest, AddFieldGoesInTagOrderAndIntoTheBuffer)
{
    m_store.SetRecord(0);
    ASSERT_EQ(m_store.AddField("750", "##$aЛишний"), 0);
    ASSERT_EQ(m_store.AddField("901", "##$aОтобрано"), 0);
    ASSERT_EQ(m_store.AddField("700", "#1$aВторой"), 0);
    std::vector<std::string> tags;
    for (int i = 0; i < m_store.GetFieldCount(); ++i) tags.push_back(m_store.GetFieldName(i));
    EXPECT_EQ(tags, (std::vector<std::string>{"001", "200", "700", "700", "750", "801", "901"}));
    EXPECT_EQ(m_store.GetFieldText(3), "#1$aВторой");

    const IsoRecord reparsed = ParseRecord(m_store.GetIsoBuffer(), 0, 0);
    EXPECT_TRUE(reparsed.problems.empty());
    ASSERT_EQ(reparsed.fields.size(), 7u);
    EXPECT_EQ(reparsed.fields[6].data, DataField("  $a") + Encode("Отобрано", "CP1251"));
}

// What the store shows after taking a change in place must be what reading the rewritten file
// gives: records, spans, buffers, fields and the tag lookup.
TEST_F(StoreTest, CommittedChangeReadsAsTheRewrittenFile)
{
    m_store.SetRecord(1);
    ASSERT_EQ(m_store.AddField("901", "##$aОтобрано"), 0);
    m_store.SetRecord(2);
    ASSERT_EQ(m_store.AddField("902", "##$aДругое"), 0);  // uncommitted: dropped by the commit
    m_store.SetRecord(1);
    ASSERT_EQ(m_store.CommitChange("work.iso"), 0);
    EXPECT_EQ(m_store.GetPath(), "work.iso");
    EXPECT_EQ(m_store.GetCurRecord(), 1);

    std::string rewritten;
    for (int r = 0; r < m_store.GetRecordCount(); ++r) {
        m_store.SetRecord(r);
        rewritten += m_store.GetIsoBuffer();
    }
    RecordStore reread;
    ASSERT_EQ(reread.OpenBytes(rewritten, "work.iso", m_store.GetCharset()), 0);
    ASSERT_EQ(reread.GetRecordCount(), m_store.GetRecordCount());
    for (int r = 0; r < reread.GetRecordCount(); ++r) {
        m_store.SetRecord(r);
        reread.SetRecord(r);
        EXPECT_EQ(m_store.GetRecordSpan(r).offset, reread.GetRecordSpan(r).offset);
        EXPECT_EQ(m_store.GetRecordSpan(r).length, reread.GetRecordSpan(r).length);
        EXPECT_EQ(m_store.GetIsoBuffer(), reread.GetIsoBuffer());
        ASSERT_EQ(m_store.GetFieldCount(), reread.GetFieldCount());
        for (int f = 0; f < reread.GetFieldCount(); ++f) {
            EXPECT_EQ(m_store.GetFieldName(f), reread.GetFieldName(f));
            EXPECT_EQ(m_store.GetFieldText(f), reread.GetFieldText(f));
        }
        EXPECT_EQ(m_store.HasFieldWithTag("901"), r == 1);
        EXPECT_FALSE(m_store.HasFieldWithTag("902"));
    }
}

TEST(Store, CommitIsRefusedWhenTheFileHasFramingProblems)
{
    const std::string record = CyrillicRecord("r1", "Основы");
    RecordStore store;
    ASSERT_EQ(store.OpenBytes("\r\n" + record, "framed.iso"), 0);
    ASSERT_FALSE(store.FileProblems().empty());
    ASSERT_EQ(store.AddField("901", "##$aОтобрано"), 0);
    EXPECT_EQ(store.CommitChange("work.iso"), -1);
    EXPECT_TRUE(store.HasFieldWithTag("901")) << "a refused commit changes nothing";
}

TEST_F(StoreTest, ChangedAndChangedBackIsByteIdentical)
{
    m_store.SetRecord(2);
    const std::string original = m_store.GetIsoBuffer();
    ASSERT_EQ(m_store.AddField("901", "##$aОтобрано"), 0);
    EXPECT_NE(m_store.GetIsoBuffer(), original);
    ASSERT_EQ(m_store.DelField(4), 0);
    EXPECT_EQ(m_store.GetIsoBuffer(), original);
}

TEST_F(StoreTest, RefusedChangesLeaveTheRecordAsItWas)
{
    m_store.SetRecord(0);
    const std::string before = m_store.GetIsoBuffer();
    EXPECT_EQ(m_store.AddField("901", "##$a中文"), -1);
    ASSERT_TRUE(m_store.LastError());
    EXPECT_NE(m_store.LastError()->message.find("Windows-1251"), std::string::npos);
    EXPECT_EQ(m_store.LastError()->record, 0);
    EXPECT_EQ(m_store.AddField("901", "##$a" + std::string(100000, 'x')), -1);
    EXPECT_NE(m_store.LastError()->message.find("at most"), std::string::npos);
    EXPECT_EQ(m_store.DelField(9), -1);
    EXPECT_EQ(m_store.GetIsoBuffer(), before);
    EXPECT_EQ(m_store.GetFieldCount(), 4);
}

TEST_F(StoreTest, ChangesStayInMemoryAndTheBuffersReadBackAsTheSameRecords)
{
    m_store.SetRecord(1);
    ASSERT_EQ(m_store.AddField("901", "##$aОтобрано"), 0);
    std::string concatenated;
    for (int r = 0; r < m_store.GetRecordCount(); ++r) {
        m_store.SetRecord(r);
        concatenated += m_store.GetIsoBuffer();
    }
    EXPECT_EQ(test::ReadBytes(m_path), m_file) << "the store never writes its file";

    RecordStore copy;
    ASSERT_EQ(copy.Open(m_dir.Write("copy.iso", concatenated), m_store.GetCharset()), 0);
    ASSERT_EQ(copy.GetRecordCount(), 3);
    for (int r = 0; r < 3; ++r) {
        m_store.SetRecord(r);
        copy.SetRecord(r);
        ASSERT_EQ(copy.GetFieldCount(), m_store.GetFieldCount());
        for (int i = 0; i < copy.GetFieldCount(); ++i) {
            EXPECT_EQ(copy.GetFieldName(i), m_store.GetFieldName(i));
            EXPECT_EQ(copy.GetFieldText(i), m_store.GetFieldText(i));
        }
        EXPECT_TRUE(copy.RecordProblems().empty());
    }
}

TEST_F(StoreTest, OpeningAnotherFileDropsTheFirstAndItsChanges)
{
    m_store.SetRecord(2);
    ASSERT_EQ(m_store.AddField("901", "##$aОтобрано"), 0);
    ASSERT_EQ(m_store.Open(m_dir.Write("one.iso", Record({{"001", "only"}}))), 0);
    EXPECT_EQ(m_store.GetRecordCount(), 1);
    EXPECT_EQ(m_store.GetCurRecord(), 0);
    EXPECT_EQ(m_store.GetFieldText(0), "only");
}

TEST(Store, FilesThatCannotBeOpenedLeaveAnEmptyStoreAndSayWhy)
{
    test::TempDir dir;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {(dir.path() / "missing.iso").string(), "no such file"},
        {dir.path().string(), "folder"},
        {dir.Write("empty.iso", ""), "empty"},
        {dir.Write("text.iso", "This is a letter, not a record file.\n"), "no ISO 2709 record"},
    };
    for (const auto& [path, reason] : cases) {
        RecordStore store;
        EXPECT_EQ(store.Open(path), -1) << path;
        ASSERT_TRUE(store.LastError()) << path;
        EXPECT_NE(store.LastError()->message.find(reason), std::string::npos) << store.LastError()->message;
        EXPECT_EQ(store.GetRecordCount(), 0);
        EXPECT_EQ(store.GetFieldCount(), 0);
        EXPECT_EQ(store.GetIsoBuffer(), "");
        store.SetRecord(5);
        EXPECT_EQ(store.GetCurRecord(), 0);
        EXPECT_EQ(store.AddField("901", "##$ax"), -1);
    }
}

TEST(Store, AsciiFilesTakeCyrillicLabelsIn1251OrInUtf8WhenFlagged)
{
    test::TempDir dir;
    const std::string plain = Record({{"001", "a"}});
    const std::string flagged = Record({{"001", "b"}}, "00000nam a2200000   4500");
    RecordStore store;
    ASSERT_EQ(store.Open(dir.Write("ascii.iso", plain + flagged)), 0);
    EXPECT_EQ(store.GetCharset(), Charset::Ascii);

    ASSERT_EQ(store.AddField("901", "##$aОтобрано"), 0);
    EXPECT_NE(store.GetIsoBuffer().find(Encode("Отобрано", "CP1251")), std::string::npos);
    EXPECT_EQ(store.GetFieldText(1), "##$aОтобрано");

    store.SetRecord(1);
    ASSERT_EQ(store.AddField("901", "##$aОтобрано"), 0);
    EXPECT_NE(store.GetIsoBuffer().find("Отобрано"), std::string::npos);
    EXPECT_EQ(store.GetFieldText(1), "##$aОтобрано");
}

TEST(Store, CyrillicReadsCorrectlyInEverySingleByteSetWithoutADeclaration)
{
    test::TempDir dir;
    for (const auto& [iconvName, charset] : {std::pair{"CP1251", Charset::Windows1251},
                                              std::pair{"KOI8-R", Charset::Koi8r},
                                              std::pair{"CP866", Charset::Cp866}}) {
        std::string file;
        for (const char* title : {"Евгений Онегин", "Мёртвые души", "Горе от ума"}) {
            file += Record({{"200", DataField("1 $a") + Encode(title, iconvName)}});
        }
        RecordStore store;
        ASSERT_EQ(store.Open(dir.Write(std::string(iconvName) + ".iso", file)), 0);
        EXPECT_EQ(store.GetCharset(), charset) << iconvName;
        store.SetRecord(1);
        EXPECT_EQ(store.GetFieldText(0), "1#$aМёртвые души") << iconvName;
    }
}

TEST(Store, KnownCharsetSkipsDetection)
{
    test::TempDir dir;
    // Capitals only: by its bytes alone this 1251 text would pass for KOI8-R.
    const std::string path = dir.Write("caps.iso", Record({{"901", DataField("  $a") + Encode("ОТОБРАНО", "CP1251")}}));
    RecordStore store;
    ASSERT_EQ(store.Open(path, Charset::Windows1251), 0);
    EXPECT_EQ(store.GetFieldText(0), "##$aОТОБРАНО");
}

}  // namespace
}  // namespace luma
