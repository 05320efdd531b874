// A session's source read through a mapping and copied beside the journal in the background:
// work comes back after the source has gone once the copy is complete, needs the source as it
// was until then, and survives another program cutting the source short.

#include <chrono>
#include <filesystem>
#include <thread>

#include "marking/change_journal.h"
#include "marking/marking_texts.h"
#include "marking/recovery.h"
#include "platform/file_io.h"
#include "records/record_files.h"
#include "session_support.h"

namespace luma::test {
namespace {

namespace fs = std::filesystem;

const std::string kLabelData = DataField("  $a") + Encode("Отобрано", "CP1251");

Strings Catalogue(const std::vector<std::string>& marked)
{
    Strings records;
    for (const std::string id : {"a", "b", "c", "d", "e"}) {
        RawFields fields{{"001", id}, {"200", DataField("1 $a") + Encode("Заглавие " + id, "CP1251")}};
        if (std::find(marked.begin(), marked.end(), id) != marked.end()) {
            fields.push_back({"900", kLabelData});
        }
        records.push_back(Record(fields));
    }
    return records;
}

class SourceCopyTest : public SessionTest {
protected:
    // A session that marks records b and d, its source copied in the background, and is then
    // killed: destroyed without the exit procedure. Gives its working copy.
    std::string LeaveMarkedWork(const std::string& source, bool cutSourceShortAfterCopy)
    {
        ScriptedHost host;
        MarkingSession session(host, host);
        session.SetLabel(kLabelTag, kLabelText);
        session.SetFolders(m_dir.path().string(), ResultsFolder());
        session.SetBackgroundCopyFrom(0);
        host.openPaths.push_back(source);
        EXPECT_TRUE(session.OnOpen());
        session.GoToRecord(1);
        session.OnMark();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!session.IsSourceCopied() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_TRUE(session.IsSourceCopied());
        session.RenderRecord();  // the session reads the copy from now on
        if (cutSourceShortAfterCopy) {
            std::error_code ec;
            fs::resize_file(source, 10, ec);
            EXPECT_FALSE(ec) << "the session holds no view of the source once it reads the copy";
        }
        session.GoToRecord(3);
        session.OnMark();
        EXPECT_EQ(session.MarkedCount(), 2);
        EXPECT_EQ(session.Records().ToStrings(), Catalogue({"b", "d"}));
        EXPECT_TRUE(host.shown.size() == 1) << "only the open was asked: " << host.shown.back();
        return session.WorkPath();
    }

    void SetNoteCopied(const std::string& workPath, bool copied)
    {
        std::optional<WorkingCopyNote> note = ParseNote(ReadBytes(NotePath(workPath)));
        ASSERT_TRUE(note);
        note->sourceCopied = copied;
        ReplaceFileAtomically(NotePath(workPath), FormatNote(*note));
    }
};

TEST_F(SourceCopyTest, WorkComesBackFromTheCopyAfterTheSourceWasCutShortAndRemoved)
{
    const std::string source = Write("national.iso", JoinRecords(Catalogue({})));
    const std::string work = LeaveMarkedWork(source, true);
    fs::remove(source);

    m_host.yesNo.push_back(true);
    ASSERT_TRUE(m_session.OfferRecovery());
    EXPECT_EQ(m_session.MarkedCount(), 2);
    EXPECT_EQ(m_session.Records().ToStrings(), Catalogue({"b", "d"}));
    EXPECT_EQ(m_session.CurrentRecord(), 4) << "where the killed session was";
    EXPECT_TRUE(m_session.IsSourceCopied()) << "the copy goes on serving the restored work";
    ExpectConsistent(m_session);

    m_host.resultsPaths.push_back(ResultsFolder() + "/national.iso");
    ASSERT_TRUE(m_session.OnSave());
    EXPECT_EQ(ReadBytes(ResultsFolder() + "/national.iso"), JoinRecords(Catalogue({"b", "d"})));
    EXPECT_FALSE(fs::exists(work));
}

TEST_F(SourceCopyTest, UntilTheCopyIsCompleteTheWorkNeedsTheSourceAsItWas)
{
    const std::string source = Write("national.iso", JoinRecords(Catalogue({})));
    const std::string work = LeaveMarkedWork(source, false);
    SetNoteCopied(work, false);  // killed before the copy was complete
    const std::string moved = (m_dir.path() / "moved.iso").string();
    fs::rename(source, moved);

    m_host.yesNo.push_back(true);
    EXPECT_FALSE(m_session.OfferRecovery());
    ASSERT_FALSE(m_host.shown.empty());
    EXPECT_EQ(m_host.shown.back(), WithDetail(kRecoverySourceNeeded, source));
    EXPECT_TRUE(fs::exists(work) && fs::exists(NotePath(work))) << "the work stays for the next start";

    // Rewritten in place, the source is no longer the file the marks were made on.
    const std::string bytes = ReadBytes(moved);
    Write("national.iso", bytes.substr(0, bytes.size() - 1) + "\x1e");
    m_host.yesNo.push_back(true);
    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_EQ(m_host.shown.back(), WithDetail(kRecoverySourceNeeded, source));

    // Back as it was: the work comes back. A last entry cut short by the kill never counted.
    fs::rename(moved, source);
    const std::string journal = ReadBytes(work);
    ReplaceFileAtomically(work, journal.substr(0, journal.size() - 2));
    m_host.yesNo.push_back(true);
    ASSERT_TRUE(m_session.OfferRecovery());
    EXPECT_EQ(m_session.Records().ToStrings(), Catalogue({"b"}));
    EXPECT_EQ(m_session.MarkedCount(), 1);
    ExpectConsistent(m_session);
}

}  // namespace
}  // namespace luma::test
