// Failures of the disk under a session, made with real files: a temporary folder that is
// missing or is a plain file, and writes cut short by a file size limit as on a full disk.

#include <gtest/gtest.h>

#include <filesystem>

#include "marking/marking_texts.h"
#include "session_support.h"

namespace luma::test {
namespace {

namespace fs = std::filesystem;

class FailureTest : public SessionTest {
protected:
    void SetUp() override { m_source = Write("sample.iso", SampleFile()); }

    bool LastShownStartsWith(std::string_view message) const { return m_host.shown.back().rfind(message, 0) == 0; }

    // Runs `command` while a plain file stands where the temporary folder was.
    template <typename Command>
    void WithTempFolderBlocked(Command command)
    {
        fs::rename(TempFolder(), TempFolder() + ".away");
        Write("tmp", "a file where the folder was");
        command();
        fs::remove(TempFolder());
        fs::rename(TempFolder() + ".away", TempFolder());
    }

    std::string m_source;
};

TEST_F(FailureTest, NoTemporaryFolderAtOpenLeavesNothingOpen)
{
    for (const std::string& folder : {(m_dir.path() / "missing").string(), m_source + "/under-a-file"}) {
        TempFolderGuard tmp(folder);
        m_host.openPaths = {m_source};
        EXPECT_FALSE(m_session.OnOpen()) << folder;
        EXPECT_TRUE(LastShownStartsWith(kWorkingCopyCreateFailed)) << m_host.shown.back();
        EXPECT_EQ(m_session.RecordCount(), 0);
        EXPECT_TRUE(m_session.WorkPath().empty());
        EXPECT_FALSE(m_host.buttonsEnabled);
    }
}

TEST_F(FailureTest, FailedOpenKeepsTheEarlierFileWithItsUnsavedMarks)
{
    Open(m_source);
    m_session.OnMark();
    const SessionState before = State();
    m_host.yesNoCancel = {Reply::No, Reply::No};
    m_host.openPaths = {Write("other.iso", SampleFile()), (m_dir.path() / "gone.iso").string()};
    {
        TempFolderGuard tmp((m_dir.path() / "missing").string());
        EXPECT_FALSE(m_session.OnOpen());
    }
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(m_session.OnOpen());
    EXPECT_TRUE(LastShownStartsWith(kReadFailed)) << "an unreadable file is reported";
    EXPECT_EQ(State(), before);
    EXPECT_EQ(WorkingCopies(), Strings{m_session.WorkPath()});
}

TEST_F(FailureTest, WorkingCopyThatCannotBeRewrittenLeavesEverythingAsItWas)
{
    Open(m_source);
    for (int record : {0, 1}) {  // a mark, then an unmark of the marked record
        m_session.GoToRecord(record);
        const SessionState before = State();
        WithTempFolderBlocked([&] { record == 0 ? m_session.OnMark() : m_session.OnUnmark(); });
        EXPECT_TRUE(LastShownStartsWith(kWorkingCopyWriteFailed)) << m_host.shown.back();
        EXPECT_EQ(State(), before) << "record " << record;
    }
    m_session.OnFirstRecord();
    m_session.OnMark();
    EXPECT_EQ(m_session.MarkedCount(), 2) << "with the folder back the same mark succeeds";
    ExpectConsistent(m_session);
    // Every write showed the busy cursor, and no message came up beneath it.
    EXPECT_GE(m_host.busySpells, 4);  // the first working copy, two failed writes, one good one
    EXPECT_EQ(m_host.busyDepth, 0);
    EXPECT_FALSE(m_host.messageWhileBusy);
}

TEST_F(FailureTest, RewriteCutShortKeepsTheLastGoodWorkingCopy)
{
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is simulated with a POSIX file size limit";
#else
    Open(m_source);
    m_session.OnMark();
    m_session.GoToRecord(2);
    const SessionState before = State();
    {
        FileSizeLimit fullDisk(ReadBytes(m_session.WorkPath()).size());
        m_session.OnMark();
    }
    EXPECT_TRUE(LastShownStartsWith(kWorkingCopyWriteFailed));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(WorkingCopies(), Strings{m_session.WorkPath()}) << "no partial file is left";
#endif
}

}  // namespace
}  // namespace luma::test
