#include "session_support.h"

#include <filesystem>

#include "marking/change_journal.h"
#include "records/record_files.h"
#include "records/record_framing.h"

namespace luma::test {

std::string SampleFile()
{
    const auto record = [](const std::string& id, const std::string& title, bool marked) {
        RawFields fields{{"001", id}, {"200", DataField("1 $a") + Encode(title, "CP1251")}};
        if (marked) {
            fields.push_back({"900", DataField("  $a") + Encode("Отобрано", "CP1251")});
        }
        return Record(fields);
    };
    return record("r1", "Основы расчёта", false) + record("r2", "Сети и системы", true) +
           record("r3", "Гидравлика", false);
}

SessionTest::SessionTest() : m_tmp(TempFolder())
{
    std::filesystem::create_directories(TempFolder());
    std::filesystem::create_directories(ResultsFolder());
    m_session.SetLabel(kLabelTag, kLabelText);
    m_session.SetFolders(m_dir.path().string(), ResultsFolder());
}

void SessionTest::Open(const std::string& path)
{
    m_host.openPaths.push_back(path);
    ASSERT_TRUE(m_session.OnOpen());
}

SessionState SessionTest::State() const
{
    return {m_session.Records().ToStrings(),      m_session.WorkPath(),    JoinRecords(RecordsOfWorkingCopy(m_session)),
            m_session.CurrentRecord(), m_session.MarkedCount(), m_session.IsModified(),
            m_host.modified,           m_session.ViewText()};
}

Strings SessionTest::WorkingCopies() const
{
    Strings files;
    for (const auto& entry : std::filesystem::directory_iterator(TempFolder())) {
        // The note, and the copy of the source, stand beside the working copy.
        if (entry.path().extension() != ".luma" && entry.path().extension() != ".iso") {
            files.push_back(entry.path().string());
        }
    }
    return files;
}

Strings RecordsOfJournal(const std::string& journalPath, const std::string& sourcePath, Charset charset)
{
    RecordStore store;
    if (store.Open(sourcePath, charset) != 0) {
        return ReadBytes(sourcePath).empty() ? Strings{} : Strings{"the source cannot be read"};
    }
    RecordBufferList records = store.Records();
    if (!store.FileProblems().empty()) {
        RebuildMisframedRecords(records);
    }
    const std::string journal = ReadBytes(journalPath);
    const std::optional<std::vector<JournalEntry>> entries = ReadJournal(journal);
    if (!entries || !ApplyJournal(*entries, records)) {
        return {"not a journal of these records"};
    }
    return records.ToStrings();
}

Strings RecordsOfWorkingCopy(const MarkingSession& session)
{
    const std::string copy = SourceCopyPath(session.WorkPath());
    const bool copied = session.IsSourceCopied() && std::filesystem::exists(copy);
    return RecordsOfJournal(session.WorkPath(), copied ? copy : session.SourcePath(), session.FileCharset());
}

void ExpectConsistent(MarkingSession& session)
{
    const Strings restored = RecordsOfWorkingCopy(session);
    EXPECT_EQ(restored, session.Records().ToStrings());
    RecordStore reread;
    reread.OpenRecords(restored, session.WorkPath(), session.FileCharset());
    ASSERT_EQ(reread.GetRecordCount(), static_cast<int>(session.Records().size()));
    int recount = 0;
    for (int r = 0; r < reread.GetRecordCount(); ++r) {
        reread.SetRecord(r);
        EXPECT_EQ(reread.GetIsoBuffer(), session.Records()[static_cast<std::size_t>(r)]) << "record " << r;
        for (int f = 0; f < reread.GetFieldCount(); ++f) {
            recount += reread.GetFieldName(f) == session.LabelField() &&
                       reread.GetFieldText(f) == session.LabelText();
        }
    }
    EXPECT_EQ(session.MarkedCount(), recount);
}

}  // namespace luma::test
