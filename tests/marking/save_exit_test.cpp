#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "marking/marking_texts.h"
#include "platform/file_ops.h"
#include "records/record_files.h"
#include "session_support.h"

namespace luma::test {
namespace {

namespace fs = std::filesystem;

class SaveExitTest : public SessionTest {
protected:
    void SetUp() override
    {
        m_source = Write("sample.iso", SampleFile());
        Open(m_source);
        m_session.OnMark();
        m_host.shown.clear();
    }

    std::string Results(const std::string& name) const { return (fs::path(ResultsFolder()) / name).string(); }

    std::string m_source;
};

TEST_F(SaveExitTest, SaveCopiesTheWorkingCopyOverEarlierResultsAndClearsTheFlag)
{
    const SessionState marked = State();
    m_host.resultsPaths = {std::nullopt};
    EXPECT_FALSE(m_session.OnSave());
    EXPECT_EQ(State(), marked) << "a cancelled dialog changes nothing";

    const std::string target = Write("results/sample.iso", "earlier results");
    m_session.GoToRecord(2);
    const std::string view = m_host.view;
    m_host.resultsPaths = {target};
    EXPECT_TRUE(m_session.OnSave());
    EXPECT_EQ(m_host.shown.back(), "results: " + Results("sample.iso"));
    EXPECT_EQ(m_session.ResultDir(), ResultsFolder() + kFolderSeparator) << "the separator stays in the folder";
    EXPECT_EQ(ReadBytes(target), marked.workBytes);
    EXPECT_EQ(m_host.modified, ModifiedImage::NothingUnsaved);
    EXPECT_EQ(m_host.view, view) << "no render follows a save";

    m_session.OnMark();
    EXPECT_EQ(m_session.MarkedCount(), 3) << "the record shown before the save is marked";
    EXPECT_EQ(ReadBytes(m_source), SampleFile());
}

// With the results folder where the source lies (an empty one is the current folder, often the
// source's), the proposed results file is the source itself: it is neither offered as earlier
// work nor overwritten. A resumed session still saves back onto its results file.
TEST_F(SessionTest, TheChosenSourceIsNeitherEarlierWorkNorOverwritten)
{
    const std::string source = Write("sample.iso", SampleFile());
    m_session.SetFolders("", m_dir.path().string());
    Open(source);
    EXPECT_EQ(m_host.shown, Strings{"open: .iso"}) << "no question whether to go on with the source";
    m_session.OnMark();
    const SessionState marked = State();
    m_host.resultsPaths = {source};
    EXPECT_FALSE(m_session.OnSave());
    EXPECT_EQ(m_host.shown.back(), kSourceNotOverwritten);
    EXPECT_EQ(ReadBytes(source), SampleFile());
    EXPECT_EQ(State(), marked) << "the marks stay, unsaved";

    const std::string results = (std::filesystem::path(ResultsFolder()) / "sample.iso").string();
    m_host.resultsPaths = {results};
    ASSERT_TRUE(m_session.OnSave());
    m_session.SetFolders("", ResultsFolder());
    m_host.yesNo = {true};
    Open(source);
    EXPECT_EQ(m_host.shown.back(), kResumeQuestion);
    m_session.OnMark();
    m_host.resultsPaths = {results};
    EXPECT_TRUE(m_session.OnSave()) << "the results file read is not the source";
    EXPECT_EQ(ReadBytes(source), SampleFile());
}

TEST_F(SaveExitTest, ExitWithNothingUnsavedEndsAtOnceAndRemovesTheWorkingCopy)
{
    m_host.resultsPaths = {Results("sample.iso")};
    ASSERT_TRUE(m_session.OnSave());
    m_host.shown.clear();
    EXPECT_TRUE(m_session.Quit());
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_TRUE(m_host.ended);
    EXPECT_EQ(m_host.placementsStored, 1);
    EXPECT_TRUE(WorkingCopies().empty());
    EXPECT_TRUE(fs::exists(Results("sample.iso")));
}

// Enter, Esc, the close box and the Exit button all run this one procedure.
TEST_F(SaveExitTest, ExitAsksAndOnlyASaveOrNoEndsTheProgram)
{
    const SessionState marked = State();
    m_host.yesNoCancel = {Reply::Cancel, Reply::Yes, Reply::Yes};
    m_host.resultsPaths = {std::nullopt, Results("missing/sample.iso")};
    for (int attempt = 1; attempt <= 3; ++attempt) {
        EXPECT_FALSE(m_session.Quit());
        EXPECT_EQ(m_host.placementsStored, attempt) << "the placement is stored first, every time";
        EXPECT_FALSE(m_host.ended);
        EXPECT_EQ(State(), marked) << "attempt " << attempt;
    }
    EXPECT_EQ(m_host.shown.back().rfind(kSaveFailed, 0), 0u) << "a failed save at exit is reported";

    m_host.yesNoCancel = {Reply::No};
    EXPECT_TRUE(m_session.Quit());
    EXPECT_EQ(std::count(m_host.shown.begin(), m_host.shown.end(), kSaveQuestion), 4);
    EXPECT_TRUE(m_host.ended);
    EXPECT_TRUE(WorkingCopies().empty());
}

TEST_F(SaveExitTest, ExitWithYesSavesThenEnds)
{
    const std::string marks = JoinRecords(RecordsOfWorkingCopy(m_session));
    m_host.yesNoCancel = {Reply::Yes};
    m_host.resultsPaths = {Results("sample.iso")};
    EXPECT_TRUE(m_session.Quit());
    EXPECT_TRUE(m_host.ended);
    EXPECT_EQ(ReadBytes(Results("sample.iso")), marks);
    EXPECT_TRUE(WorkingCopies().empty());
    EXPECT_EQ(ReadBytes(m_source), SampleFile());
}

TEST_F(SaveExitTest, FailedSavesKeepTheFlagAndEarlierResults)
{
    const std::string existing = Write("results/sample.iso", "earlier results");
    for (const std::string& target : {Results("missing/sample.iso"), ResultsFolder(), existing + "/x.iso"}) {
        m_host.resultsPaths = {target};
        EXPECT_FALSE(m_session.OnSave()) << target;
        EXPECT_EQ(m_host.shown.back().rfind(kSaveFailed, 0), 0u) << "with the reason after it";
        EXPECT_EQ(m_host.modified, ModifiedImage::Unsaved);
    }
#ifndef _WIN32
    {
        FileSizeLimit fullDisk(4);
        m_host.resultsPaths = {existing};
        EXPECT_FALSE(m_session.OnSave());
    }
#endif
    EXPECT_EQ(ReadBytes(existing), "earlier results") << "a copy cut short replaces nothing";
    EXPECT_EQ(std::distance(fs::directory_iterator(ResultsFolder()), fs::directory_iterator()), 1);

    m_host.yesNoCancel = {Reply::Cancel};
    EXPECT_FALSE(m_session.Quit());
    EXPECT_EQ(m_host.shown.back(), kSaveQuestion) << "after a failed save, exit still asks";
}

}  // namespace
}  // namespace luma::test
