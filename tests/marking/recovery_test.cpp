// Recovery of unsaved work at start-up: the note beside each working copy, and a new session
// offered the work of sessions whose process is gone, through the scripted host.

#include <chrono>
#include <ctime>
#include <filesystem>
#include <regex>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "child_process.h"
#include "marking/marking_texts.h"
#include "marking/recovery.h"
#include "records/record_files.h"
#include "platform/file_io.h"
#include "platform/file_ops.h"
#include "platform/process.h"
#include "session_support.h"

namespace luma::test {
namespace {

// Seconds since the epoch of a local calendar time.
std::int64_t LocalMoment(int year, int month, int day, int hour, int minute)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

std::string Question(const std::string& source, const std::string& when)
{
    return "Найдена несохранённая работа с файлом " + source + " (" + when + "). Восстановить?";
}

// Records in Windows-1251; the ones listed in `marked` carry the label.
Strings Records(const std::vector<std::string>& ids, const std::vector<std::string>& marked)
{
    Strings records;
    for (const std::string& id : ids) {
        RawFields fields{{"001", id}, {"200", DataField("1 $a") + Encode("Заглавие " + id, "CP1251")}};
        if (std::find(marked.begin(), marked.end(), id) != marked.end()) {
            fields.push_back({"900", DataField("  $a") + Encode("Отобрано", "CP1251")});
        }
        records.push_back(Record(fields));
    }
    return records;
}

class RecoveryTest : public SessionTest {
protected:
    // A working copy and its note in the temporary folder, as a killed session leaves them.
    std::string LeaveWork(const std::string& name, const std::string& bytes, const WorkingCopyNote& note)
    {
        const std::string workPath = Write("tmp/" + name, bytes);
        Write("tmp/" + name + ".luma", FormatNote(note));
        return workPath;
    }

    WorkingCopyNote NoteOf(const std::string& source, std::int64_t started) const
    {
        return {source, PathToUtf8(PathFromUtf8(source).stem()), started, 4242, Charset::Windows1251};
    }

    bool Exists(const std::string& path) const { return std::filesystem::exists(PathFromUtf8(path)); }
};

TEST(WorkingCopyNoteText, ReadsBackWhatItWritesWhateverThePathHolds)
{
    const WorkingCopyNote note{"/каталог/50%\nдва\r.iso", "50%\nдва\r", 1796638500, 31337, Charset::Koi8r};
    const std::string text = FormatNote(note);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << "one line per value:\n" << text;
    EXPECT_EQ(ParseNote(text), note);
    EXPECT_EQ(ParseNote(FormatNote({"C:\\Фонд\\книги.iso", "", -1, 0, Charset::Utf8, 1234567})),
              (WorkingCopyNote{"C:\\Фонд\\книги.iso", "", -1, 0, Charset::Utf8, 1234567}));
    // A note from before the record was kept opens its work at the first record.
    std::string older = text;
    older.erase(older.find("record: "), older.find("end\n") - older.find("record: "));
    ASSERT_TRUE(ParseNote(older)) << older;
    EXPECT_EQ(ParseNote(older)->recordNumber, 1);
}

TEST(WorkingCopyNoteText, RejectsAnythingButAWholeNote)
{
    const std::string good = FormatNote({"/data/a.iso", "a", 1796638500, 7, Charset::Cp866});
    ASSERT_TRUE(ParseNote(good));
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::pair<const char*, std::string> damaged[] = {
        {"empty", ""},
        {"cut before the end line", good.substr(0, good.find("end\n"))},
        {"cut inside the end line", good.substr(0, good.size() - 2)},
        {"no final line break", good.substr(0, good.size() - 1)},
        {"another version", replaced("note 1", "note 2")},
        {"unknown charset", replaced("CP866", "CP1252")},
        {"started not a number", replaced("1796638500", "17966x8500")},
        {"pid empty", replaced("pid: 7", "pid: ")},
        {"source empty", replaced("/data/a.iso", "")},
        {"source missing", replaced("source: /data/a.iso\n", "")},
        {"key twice", replaced("title: a\n", "title: a\ntitle: b\n")},
        {"bad escape", replaced("/data/a.iso", "/data/%41.iso")},
        {"line without key", replaced("title: a", "title a")},
        {"Windows line ends", replaced("\n", "\r\n")},
    };
    for (const auto& [why, text] : damaged) {
        EXPECT_FALSE(ParseNote(text)) << why;
    }
}

TEST(RecoveryQuestion, NamesTheFileAndTheLocalTimeTheWorkBegan)
{
    std::tm started{};
    started.tm_year = 2026 - 1900;
    started.tm_mon = 11;
    started.tm_mday = 7;
    started.tm_hour = 10;
    started.tm_min = 5;
    EXPECT_EQ(FormatRecoveryQuestion("/data/100%s.iso", started), Question("/data/100%s.iso", "07.12.2026 10:05"));
}

TEST_F(RecoveryTest, ASessionKeepsAHeldNoteBesideItsWorkingCopyAndRemovesBothWithIt)
{
    const std::string first = Write("first.iso", SampleFile());
    Open(first);
    const std::string firstCopy = m_session.WorkPath();
    EXPECT_FALSE(LockedFile::TryHold(NotePath(firstCopy))) << "the open session holds its note";
    const std::string text = ReadBytes(NotePath(firstCopy));
    const std::optional<WorkingCopyNote> note = ParseNote(text);
    ASSERT_TRUE(note) << text;
    EXPECT_EQ(note->sourcePath, first);
    EXPECT_EQ(note->title, "first");
    EXPECT_EQ(note->charset, Charset::Windows1251);
    EXPECT_EQ(note->processId, CurrentProcessId());
    EXPECT_EQ(note->recordNumber, 1);
    // The note follows the operator from record to record.
    m_session.OnLastRecord();
    EXPECT_EQ(ParseNote(ReadBytes(NotePath(firstCopy)))->recordNumber, 3);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_LE(std::abs(now - note->started), 60);

    // A second open replaces both; the exit procedure removes both.
    Open(Write("second.iso", SampleFile()));
    EXPECT_FALSE(Exists(firstCopy));
    EXPECT_FALSE(Exists(NotePath(firstCopy)));
    ASSERT_TRUE(Exists(NotePath(m_session.WorkPath())));
    EXPECT_EQ(ParseNote(ReadBytes(NotePath(m_session.WorkPath())))->title, "second");
    m_session.Quit();
    EXPECT_TRUE(std::filesystem::is_empty(TempFolder()));
}

TEST_F(RecoveryTest, AFailedOpenLeavesNeitherCopyNorNoteAndKeepsTheOpenSessions)
{
    Open(Write("first.iso", SampleFile()));
    const std::string copy = m_session.WorkPath();
    m_host.openPaths.push_back(Write("second.iso", SampleFile()));
    {
#ifdef _WIN32
        TempFolderGuard noFolder((m_dir.path() / "missing").string());
#else
        FileSizeLimit fullDisk(8);  // the new working copy is created, then cannot be written
#endif
        EXPECT_FALSE(m_session.OnOpen());
    }
    EXPECT_EQ(m_session.WorkPath(), copy);
    EXPECT_EQ(WorkingCopies(), Strings{copy});
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(TempFolder())) {
        ++files;
    }
    EXPECT_EQ(files, 3u) << "the open session's journal, copy of its source and note";
    EXPECT_FALSE(LockedFile::TryHold(NotePath(copy))) << "still held";
}

TEST_F(RecoveryTest, WorkOfASessionWhoseProcessWasKilledIsOfferedAndRestored)
{
    const std::string source = Write("catalogue.iso", SampleFile());
    const std::string ready = (m_dir.path() / "ready").string();
    ChildProcess child("luma_session_holder", {source, ready});
    ASSERT_TRUE(WaitForFile(ready, std::chrono::seconds(30))) << "the child session never started";
    const std::string leftCopy = ReadBytes(ready);
    ASSERT_TRUE(Exists(leftCopy) && Exists(NotePath(leftCopy)));

    // While its process runs, the work is its own.
    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_TRUE(Exists(leftCopy) && Exists(NotePath(leftCopy)));

    child.Kill();
    const std::string leftBytes = JoinRecords(RecordsOfJournal(leftCopy, source));
    m_host.yesNo.push_back(true);
    ASSERT_TRUE(m_session.OfferRecovery());

    ASSERT_EQ(m_host.shown.size(), 1u);
    const std::regex asked("Найдена несохранённая работа с файлом (.*) \\((\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d)\\)\\. Восстановить\\?");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(m_host.shown[0], parts, asked)) << m_host.shown[0];
    EXPECT_EQ(parts[1], source);
    // The child marked the first record and went on to the last; the second carried the label
    // from the start. The work comes back where the child was.
    EXPECT_EQ(JoinRecords(m_session.Records().ToStrings()), leftBytes);
    EXPECT_EQ(m_session.RecordCount(), 3);
    EXPECT_EQ(m_session.MarkedCount(), 2);
    EXPECT_TRUE(m_session.IsModified());
    EXPECT_EQ(m_host.modified, ModifiedImage::Unsaved);
    EXPECT_EQ(m_session.FileTitle(), "catalogue");
    EXPECT_EQ(m_host.status, FormatStatusLine("catalogue", 3, 3, 2));
    EXPECT_TRUE(m_host.buttonsEnabled);
    ExpectConsistent(m_session);

    // A fresh working copy with a note of its own took the place of the old pair.
    EXPECT_NE(m_session.WorkPath(), leftCopy);
    EXPECT_FALSE(Exists(leftCopy));
    EXPECT_FALSE(Exists(NotePath(leftCopy)));
    EXPECT_EQ(WorkingCopies(), Strings{m_session.WorkPath()});
    const std::optional<WorkingCopyNote> note = ParseNote(ReadBytes(NotePath(m_session.WorkPath())));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->sourcePath, source);
    EXPECT_EQ(note->processId, CurrentProcessId());
    EXPECT_EQ(note->recordNumber, 3);
    EXPECT_FALSE(LockedFile::TryHold(NotePath(m_session.WorkPath())));

    // Save writes the results as after any marking.
    std::string results = ResultsFolder();
    AppendFolderSeparator(results);
    results += "catalogue.iso";
    m_host.resultsPaths.push_back(results);
    ASSERT_TRUE(m_session.OnSave());
    EXPECT_EQ(m_host.shown.back(), "results: " + results);
    EXPECT_EQ(ReadBytes(results), leftBytes);
    EXPECT_FALSE(m_session.IsModified());
}

TEST_F(RecoveryTest, NoDeletesTheWorkAndOpensNothing)
{
    const std::string copy = LeaveWork("NEWaaaaaa", JoinRecords(Records({"1", "2"}, {"2"})),
                                       NoteOf("/data/a.iso", LocalMoment(2026, 12, 7, 10, 15)));
    m_host.yesNo.push_back(false);
    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_EQ(m_host.shown, Strings{Question("/data/a.iso", "07.12.2026 10:15")});
    EXPECT_FALSE(Exists(copy));
    EXPECT_FALSE(Exists(NotePath(copy)));
    EXPECT_TRUE(m_session.WorkPath().empty());
    EXPECT_EQ(m_session.RecordCount(), 0);
    EXPECT_EQ(m_host.modified, ModifiedImage::None);
}

TEST_F(RecoveryTest, SeveralAreOfferedNewestFirstUntilOneIsTaken)
{
    const Strings older = Records({"o1", "o2"}, {"o1"});
    const Strings middle = Records({"m1", "m2", "m3"}, {"m1", "m3"});
    const Strings newest = Records({"n1"}, {});
    const std::string olderCopy = LeaveWork("NEWolder", JoinRecords(older), NoteOf("/data/older.iso", LocalMoment(2026, 12, 5, 9, 0)));
    const std::string newestCopy = LeaveWork("NEWnewest", JoinRecords(newest), NoteOf("/data/newest.iso", LocalMoment(2026, 12, 7, 8, 30)));
    const std::string middleCopy = LeaveWork("NEWmiddle", JoinRecords(middle), NoteOf("/data/middle.iso", LocalMoment(2026, 12, 6, 17, 45)));

    m_host.yesNo = {false, true};
    ASSERT_TRUE(m_session.OfferRecovery());
    EXPECT_EQ(m_host.shown, (Strings{Question("/data/newest.iso", "07.12.2026 08:30"),
                                     Question("/data/middle.iso", "06.12.2026 17:45")}));
    EXPECT_FALSE(Exists(newestCopy)) << "declined";
    EXPECT_FALSE(Exists(middleCopy)) << "taken into a fresh working copy";
    EXPECT_EQ(m_session.Records().ToStrings(), middle);
    EXPECT_EQ(m_session.MarkedCount(), 2);
    EXPECT_EQ(m_session.FileTitle(), "middle");

    // The one not asked about stays for the next start, no longer held.
    EXPECT_TRUE(Exists(olderCopy) && Exists(NotePath(olderCopy)));
    EXPECT_TRUE(LockedFile::TryHold(NotePath(olderCopy)));
    EXPECT_FALSE(m_session.OfferRecovery()) << "a session is open: nothing is offered over it";
    EXPECT_EQ(m_host.shown.size(), 2u);
}

TEST_F(RecoveryTest, WorkHeldByARunningSessionIsNotOffered)
{
    ScriptedHost otherHost;
    MarkingSession other(otherHost, otherHost);
    otherHost.openPaths.push_back(Write("busy.iso", SampleFile()));
    ASSERT_TRUE(other.OnOpen());
    // A rewrite the running session may be in the middle of.
    const std::string running = other.WorkPath();
    const std::string rewrite = Write("tmp/." + PathToUtf8(PathFromUtf8(running).filename()) + ".Ab12Cd", "half");

    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_TRUE(Exists(running) && Exists(NotePath(running)));
    EXPECT_TRUE(Exists(rewrite));
}

TEST_F(RecoveryTest, RewritesAKilledSessionLeftUnfinishedAreRemoved)
{
    const std::string copy = LeaveWork("NEWkilled", JoinRecords(Records({"1"}, {})), NoteOf("/data/k.iso", 2));
    const std::string rewrite = Write("tmp/.NEWkilled.x1Y2z3", "half a working copy");
    const std::string noteRewrite = Write("tmp/.NEWkilled.luma.q9W8e7", "half a note");
    const std::string unrelated = Write("tmp/.NEWkilledtoo.a1b2c3", "someone else's");
    m_host.yesNo.push_back(false);
    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_FALSE(Exists(copy));
    EXPECT_FALSE(Exists(rewrite));
    EXPECT_FALSE(Exists(noteRewrite));
    EXPECT_TRUE(Exists(unrelated));
}

TEST_F(RecoveryTest, AMissingSourceFileDoesNotStopTheRecovery)
{
    const Strings records = Records({"1", "2", "3"}, {"1", "3"});
    const std::string gone = (m_dir.path() / "moved away" / "fund.iso").string();
    LeaveWork("NEWgone", JoinRecords(records), NoteOf(gone, LocalMoment(2026, 12, 7, 10, 15)));
    m_host.yesNo.push_back(true);
    ASSERT_TRUE(m_session.OfferRecovery());
    EXPECT_EQ(m_session.Records().ToStrings(), records);
    EXPECT_EQ(m_session.MarkedCount(), 2);
    EXPECT_EQ(m_session.FileTitle(), "fund");
    EXPECT_TRUE(m_session.IsModified());
    ExpectConsistent(m_session);
}

TEST_F(RecoveryTest, DamagedOrEmptyLeftoversAreNeverOfferedAndDebrisIsCleared)
{
    const std::string records = JoinRecords(Records({"1"}, {"1"}));
    const std::string damaged = Write("tmp/NEWdamaged", records);
    Write("tmp/NEWdamaged.luma", "LUMA working copy note 1\nsource: /data/x.iso\n");
    const std::string noNote = Write("tmp/NEWnonote", records);
    const std::string orphanNote = Write("tmp/NEWorphan.luma", FormatNote(NoteOf("/data/o.iso", 1)));
    const std::string empty = LeaveWork("NEWempty", "", NoteOf("/data/e.iso", 2));
    const std::string other = Write("tmp/other.luma", FormatNote(NoteOf("/data/t.iso", 3)));

    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_TRUE(Exists(damaged) && Exists(NotePath(damaged))) << "left for a person to look at";
    EXPECT_TRUE(Exists(noNote));
    EXPECT_TRUE(Exists(other)) << "not a working copy's note";
    EXPECT_FALSE(Exists(orphanNote)) << "its working copy is gone";
    EXPECT_FALSE(Exists(empty) || Exists(NotePath(empty))) << "nothing to recover";
    EXPECT_TRUE(m_session.WorkPath().empty());
}

#ifndef _WIN32
TEST_F(RecoveryTest, FilesSomeoneElsePutIntoTheSharedFolderAreNotTaken)
{
    const std::string precious = Write("precious.iso", JoinRecords(Records({"1"}, {})));
    std::filesystem::create_symlink(precious, TempFolder() + "/NEWlink");
    Write("tmp/NEWlink.luma", FormatNote(NoteOf("/data/l.iso", 1)));
    const std::string foreign = LeaveWork("NEWforeign", JoinRecords(Records({"2"}, {})), NoteOf("/data/f.iso", 2));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(NotePath(foreign).c_str(), 65534, 65534), 0);
    }
    m_host.yesNo.push_back(false);
    EXPECT_FALSE(m_session.OfferRecovery());
    EXPECT_EQ(ReadBytes(precious), JoinRecords(Records({"1"}, {}))) << "a link is neither offered nor followed";
    EXPECT_TRUE(std::filesystem::is_symlink(TempFolder() + "/NEWlink"));
    if (root) {
        EXPECT_TRUE(m_host.shown.empty());
        EXPECT_TRUE(Exists(foreign) && Exists(NotePath(foreign))) << "another user's work is left alone";
    } else {
        ASSERT_EQ(m_host.shown.size(), 1u) << "this user's own copy only, not the link";
        EXPECT_NE(m_host.shown[0].find("/data/f.iso"), std::string::npos);
    }
}
#endif

TEST_F(RecoveryTest, AnUnreadableCopyIsReportedKeptAndTheNextOneOffered)
{
    const std::string junk = LeaveWork("NEWjunk", "no records in here, only junk bytes",
                                       NoteOf("/data/junk.iso", LocalMoment(2026, 12, 7, 11, 0)));
    const Strings records = Records({"1", "2"}, {"2"});
    LeaveWork("NEWgood", JoinRecords(records), NoteOf("/data/good.iso", LocalMoment(2026, 12, 7, 9, 0)));
    m_host.yesNo = {true, true};
    ASSERT_TRUE(m_session.OfferRecovery());
    ASSERT_EQ(m_host.shown.size(), 3u);
    EXPECT_EQ(m_host.shown[0], Question("/data/junk.iso", "07.12.2026 11:00"));
    EXPECT_EQ(m_host.shown[1].rfind(std::string(kRecoveryFailed), 0), 0u) << m_host.shown[1];
    EXPECT_NE(m_host.shown[1].find("NEWjunk: "), std::string::npos) << "names the file it left";
    EXPECT_EQ(m_host.shown[2], Question("/data/good.iso", "07.12.2026 09:00"));
    EXPECT_TRUE(Exists(junk) && Exists(NotePath(junk)));
    EXPECT_EQ(m_session.Records().ToStrings(), records);
    EXPECT_EQ(m_session.MarkedCount(), 1);
}

TEST(RecoveryProgress, ACancelledReadLeavesTheWorkForTheNextStart)
{
    struct CancellingHost : ScriptedHost {
        Strings captions;
        int ended = 0;
        bool ReportProgress(const std::string& caption, std::uint64_t, std::uint64_t) override
        {
            captions.push_back(caption);
            return false;
        }
        void EndProgress() override { ++ended; }
    };
    TempDir dir;
    TempFolderGuard tmp(dir.path().string());
    const std::string copy = dir.Write("NEWcancel", JoinRecords(Records({"1", "2"}, {"2"})));
    dir.Write("NEWcancel.luma", FormatNote({"/data/big.iso", "big", 5, 1, Charset::Windows1251}));
    CancellingHost host;
    MarkingSession session(host, host);
    host.yesNo.push_back(true);
    EXPECT_FALSE(session.OfferRecovery());
    EXPECT_EQ(host.captions, Strings{WithDetail(kOpenProgress, "big")});
    EXPECT_EQ(host.ended, 1);
    EXPECT_TRUE(session.WorkPath().empty());
    EXPECT_EQ(host.shown.size(), 1u) << "no message after a cancel";
    EXPECT_TRUE(std::filesystem::exists(copy) && std::filesystem::exists(copy + ".luma"));
    EXPECT_TRUE(LockedFile::TryHold(copy + ".luma")) << "let go";
}

}  // namespace
}  // namespace luma::test
