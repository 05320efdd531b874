// Every write step of the session's commands, disturbed in turn: each system call that opening,
// marking, unmarking, saving and exiting with a save make is counted on an undisturbed run, then
// each one fails with a full disk, an I/O error or a read-only folder, writes only half its
// bytes, or has the temporary folder, the source file or the working copy removed or replaced
// just before it runs. After each, the command has either done all it does or nothing, said so,
// and the work goes on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "marking/marking_texts.h"
#include "records/record_files.h"
#include "session_support.h"
#include "syscall_faults.h"

namespace luma::test {
namespace {

namespace fs = std::filesystem;

enum class Target { None, TempFolder, Source, WorkingCopy };

// One way the disk or another program gets in the way of a write step.
struct Disturbance {
    std::string name;
    int error = 0;  // the call fails with it
    Target target = Target::None;  // or this is removed, or replaced, before the call runs
    bool replace = false;
    bool shortWrite = false;  // a write that writes half its bytes, which is no failure
};

const std::vector<Disturbance>& Disturbances()
{
    static const std::vector<Disturbance> all = {
        {"disk full", ENOSPC},
        {"I/O error", EIO},
        {"permission denied", EACCES},
        {"read-only file system", EROFS},
        {"temporary folder removed", 0, Target::TempFolder},
        {"source file removed", 0, Target::Source},
        {"source file replaced", 0, Target::Source, true},
        {"working copy removed", 0, Target::WorkingCopy},
        {"working copy replaced", 0, Target::WorkingCopy, true},
        {"short write", 0, Target::None, false, true},
    };
    return all;
}

const std::string kOtherBytes = "not what was there";

// The sample with a fourth record, for an open that replaces the session's file.
std::string OtherFile()
{
    return SampleFile() + Record({{"001", "r4"}, {"200", DataField("1 $aTeplotekhnika")}});
}

// A session with folders of its own, its temporary folder pointed to by TMPDIR.
struct Scenario {
    Scenario() : tmpGuard(TempFolder())
    {
        fs::create_directories(TempFolder());
        fs::create_directories(ResultsFolder());
        session.SetLabel(kLabelTag, kLabelText);
        session.SetFolders(dir.path().string(), ResultsFolder());
        source = dir.Write("sample.iso", SampleFile());
        other = dir.Write("other.iso", OtherFile());
        results = (fs::path(ResultsFolder()) / "sample.iso").string();
    }

    std::string TempFolder() const { return (dir.path() / "tmp").string(); }
    std::string ResultsFolder() const { return (dir.path() / "results").string(); }

    void Open()
    {
        host.openPaths = {source};
        ASSERT_TRUE(session.OnOpen());
    }

    TempDir dir;
    TempFolderGuard tmpGuard;
    std::string source;
    std::string other;
    std::string results;
    ScriptedHost host;
    MarkingSession session{host, host};
};

// What the session holds and shows: the buffers, the count, the flag, and the store's records
// as the record view shows each of them.
struct Snapshot {
    Strings records;
    int marked = 0;
    bool modified = false;
    ModifiedImage image = ModifiedImage::None;
    int current = 0;
    Strings views;
    std::string status;
    bool ended = false;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Capture(Scenario& s)
{
    Snapshot snapshot{s.session.Records().ToStrings(), s.session.MarkedCount(), s.session.IsModified(),
                      s.host.modified,     s.session.CurrentRecord(), {}, {}, s.host.ended};
    for (int r = 0; r < s.session.RecordCount(); ++r) {
        s.session.GoToRecord(r);
        snapshot.views.push_back(s.session.ViewText());
    }
    s.session.GoToRecord(snapshot.current);
    snapshot.status = s.host.status;
    return snapshot;
}

struct Command {
    std::string name;
    std::string_view failure;                  // what the operator is told when it fails
    std::function<void(Scenario&)> prepare;    // the session before the command
    std::function<void(Scenario&)> run;        // scripts the answers and runs the command
    bool writesResults = false;
    std::function<std::string(Scenario&)> source;  // the file the command's records come from
    bool appends = false;  // appends to the working copy rather than replacing a file
};

void PrintTo(const Command& command, std::ostream* out)
{
    *out << command.name;
}

std::vector<Command> Commands()
{
    const auto openAndMark = [](Scenario& s) {
        s.Open();
        s.session.OnMark();
        std::ofstream(s.results, std::ios::binary) << "earlier results";
    };
    const auto save = [](Scenario& s) {
        s.host.resultsPaths = {s.results};
        s.session.OnSave();
    };
    const auto exitWithSave = [](Scenario& s) {
        s.host.yesNoCancel = {Reply::Yes};
        s.host.resultsPaths = {s.results};
        s.session.Quit();
    };
    const auto openOther = [](Scenario& s) {
        s.host.yesNoCancel = {Reply::No};
        s.host.openPaths = {s.other};
        s.session.OnOpen();
    };
    const auto sessionSource = [](Scenario& s) { return s.source; };
    return {
        {"mark", kWorkingCopyWriteFailed, [](Scenario& s) { s.Open(); },
         [](Scenario& s) { s.session.OnMark(); }, false, sessionSource, true},
        {"unmark", kWorkingCopyWriteFailed,
         [](Scenario& s) {
             s.Open();
             s.session.GoToRecord(1);
         },
         [](Scenario& s) { s.session.OnUnmark(); }, false, sessionSource, true},
        {"open", kWorkingCopyCreateFailed, openAndMark, openOther, false, [](Scenario& s) { return s.other; }},
        {"save", kSaveFailed, openAndMark, save, true, sessionSource},
        {"exit with a save", kSaveFailed, openAndMark, exitWithSave, true, sessionSource},
    };
}

std::function<void()> Disturb(const Disturbance& disturbance, const std::string& path)
{
    if (disturbance.target == Target::None) {
        return {};
    }
    return [replace = disturbance.replace, path] {
        if (replace) {
            std::ofstream(path, std::ios::binary) << kOtherBytes;
        } else {
            fs::remove_all(path);
        }
    };
}

std::string DisturbedPath(const Disturbance& disturbance, Scenario& s, const Command& command)
{
    switch (disturbance.target) {
    case Target::TempFolder:
        return s.TempFolder();
    case Target::Source:
        return command.source(s);
    case Target::WorkingCopy:
        return s.session.WorkPath();
    case Target::None:
        break;
    }
    return {};
}

bool StartsWith(const std::string& text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// A write step whose failure loses the command's data: it must fail the command.
bool IsEssential(const SeenCall& call)
{
    const bool writeStep = call.kind == CallKind::CreateTemp || call.kind == CallKind::Write ||
                           call.kind == CallKind::Flush || call.kind == CallKind::Close ||
                           call.kind == CallKind::Rename;
    // The note beside the working copy is a help for recovery the session can go on without.
    const std::string name = fs::path(call.path).filename().string();
    return writeStep && call.carriesData && name.find(".luma") == std::string::npos;
}

std::ptrdiff_t CountWrites(const std::vector<SeenCall>& calls)
{
    return std::count_if(calls.begin(), calls.end(), [](const SeenCall& call) { return call.kind == CallKind::Write; });
}

Strings Names(const std::string& folder)
{
    Strings names;
    if (fs::is_directory(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// The temporary folder holds the working copy, and files named after it (its note), nothing
// else: no temporary sibling, no second working copy.
void ExpectNothingLeftBehind(const Scenario& s)
{
    const std::string work = fs::path(s.session.WorkPath()).filename().string();
    for (const std::string& name : Names(s.TempFolder())) {
        EXPECT_TRUE(!work.empty() && StartsWith(name, work)) << "left in the temporary folder: " << name;
    }
    for (const std::string& name : Names(s.ResultsFolder())) {
        EXPECT_EQ(name, "sample.iso") << "left in the results folder";
    }
}

class WriteFaultTest : public ::testing::TestWithParam<Command> {
protected:
    struct Expected {
        Snapshot before;
        Snapshot after;
        std::vector<SeenCall> calls;
        int lastWriteStep = 0;  // the last call of the file the command is about, its rename
    };

    // The undisturbed command: the states before and after it, and its system calls.
    static Expected Undisturbed(const Command& command)
    {
        Scenario s;
        command.prepare(s);
        Expected expected{Capture(s), {}, {}};
        {
            FaultPlanScope counting(FaultPlan{});
            command.run(s);
            expected.calls = counting.Calls();
        }
        for (std::size_t i = 0; i < expected.calls.size(); ++i) {
            if (IsEssential(expected.calls[i])) {
                expected.lastWriteStep = static_cast<int>(i) + 1;
            }
        }
        expected.after = Capture(s);
        return expected;
    }

    void RunDisturbed(const Command& command, const Expected& expected, int step, const Disturbance& disturbance);
    void CheckReport(Scenario& s, const Command& command, const SeenCall& call,
                     const Disturbance& disturbance, bool failed, std::size_t messagesBefore);
    void CheckFiles(Scenario& s, const Command& command, const Disturbance& disturbance, bool failed,
                    const std::string& workPathBefore, bool folderRemovedInTime);
    void CheckRecovery(Scenario& s, const Command& command, const Expected& expected, bool failed);
};

void WriteFaultTest::RunDisturbed(const Command& command, const Expected& expected, int step,
                                  const Disturbance& disturbance)
{
    const SeenCall& call = expected.calls[static_cast<std::size_t>(step - 1)];
    Scenario probe;
    if (disturbance.target == Target::Source &&
        fs::path(call.path).filename() == fs::path(command.source(probe)).filename() && call.kind == CallKind::Open) {
        return;  // a source replaced before it is opened is just another file to open
    }
    SCOPED_TRACE(command.name + ", step " + std::to_string(step) + " (" + Describe(call) + "), " +
                 disturbance.name);
    Scenario s;
    command.prepare(s);
    const std::string sourceBytes = ReadBytes(command.source(s));
    const std::string workPath = s.session.WorkPath();
    const std::size_t messagesBefore = s.host.shown.size();
    {
        FaultPlanScope plan(FaultPlan{step, disturbance.error, disturbance.shortWrite,
                                      Disturb(disturbance, DisturbedPath(disturbance, s, command))});
        command.run(s);
        ASSERT_GE(plan.Calls().size(), static_cast<std::size_t>(step)) << "the command took another course";
        const SeenCall& disturbed = plan.Calls()[static_cast<std::size_t>(step - 1)];
        ASSERT_EQ(disturbed.name, call.name) << "the command took another course";
        if (disturbance.shortWrite && call.kind == CallKind::Write) {
            EXPECT_GT(CountWrites(plan.Calls()), CountWrites(expected.calls)) << "the rest is written after";
        }
    }
    if (disturbance.target != Target::Source) {
        EXPECT_EQ(ReadBytes(command.source(s)), sourceBytes) << "the source file is never written";
    }
    const Snapshot now = Capture(s);
    const bool failed = now == expected.before;
    ASSERT_TRUE(failed || now == expected.after) << "the command was done in part";
    // A folder removed once the file is in place is no different from one removed afterwards.
    const bool folderRemovedInTime = disturbance.target == Target::TempFolder && step <= expected.lastWriteStep;
    CheckReport(s, command, call, disturbance, failed, messagesBefore);
    if (folderRemovedInTime && !command.writesResults) {
        EXPECT_TRUE(failed) << "the working copy cannot have been written";
    }
    CheckFiles(s, command, disturbance, failed, workPath, folderRemovedInTime);
    if (::testing::Test::HasFailure()) {
        return;
    }
    // The fault clears.
    fs::create_directories(s.TempFolder());
    std::ofstream(command.source(s), std::ios::binary) << sourceBytes;
    CheckRecovery(s, command, expected, failed);
}

void WriteFaultTest::CheckReport(Scenario& s, const Command& command, const SeenCall& call,
                                 const Disturbance& disturbance, bool failed, std::size_t messagesBefore)
{
    const Strings messages(s.host.shown.begin() + static_cast<std::ptrdiff_t>(messagesBefore), s.host.shown.end());
    // A source that cannot be opened is told as a read failure.
    const bool sourceCall = fs::path(call.path).filename() == fs::path(command.source(s)).filename();
    const auto isFailure = [&](const std::string& m) {
        return StartsWith(m, command.failure) || (sourceCall && StartsWith(m, kReadFailed));
    };
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(), isFailure), failed ? 1 : 0)
        << "a failure, and only a failure, is reported: " << ::testing::PrintToString(messages);
    const auto report = std::find_if(messages.begin(), messages.end(), isFailure);
    if (report != messages.end() && disturbance.error != 0) {
        EXPECT_NE(report->find(std::strerror(disturbance.error)), std::string::npos)
            << "the message says why: " << *report;
    }
    if (disturbance.error != 0 && IsEssential(call)) {
        EXPECT_TRUE(failed) << "a lost write step is reported as success";
    }
    if (disturbance.shortWrite) {
        EXPECT_FALSE(failed) << "a short write is continued, not failed";
    }
}

// The working copy holds the buffers unless the disturbance itself broke it and the command did
// not rewrite it; a results file is the earlier one or holds the buffers; nothing is left over.
void WriteFaultTest::CheckFiles(Scenario& s, const Command& command, const Disturbance& disturbance, bool failed,
                                const std::string& workPathBefore, bool folderRemovedInTime)
{
    // The working copy was not rewritten after the disturbance.
    const bool untouched = failed || command.writesResults ||
                           (disturbance.target == Target::TempFolder && !folderRemovedInTime);
    const bool removed = disturbance.target == Target::TempFolder ||
                         (disturbance.target == Target::WorkingCopy && !disturbance.replace);
    const bool replaced = disturbance.target == Target::WorkingCopy && disturbance.replace;
    if (s.host.ended) {
        EXPECT_FALSE(fs::exists(workPathBefore)) << "the working copy goes at exit";
    } else {
        EXPECT_EQ(fs::exists(s.session.WorkPath()), !(removed && untouched));
        if (fs::exists(s.session.WorkPath()) && !(replaced && untouched)) {
            ExpectConsistent(s.session);
        }
    }
    if (command.writesResults) {
        EXPECT_EQ(ReadBytes(s.results), failed ? "earlier results" : JoinRecords(s.session.Records().ToStrings()));
    }
    ExpectNothingLeftBehind(s);
}

// The command again, when it failed, then a mark: both succeed and leave the working copy whole.
void WriteFaultTest::CheckRecovery(Scenario& s, const Command& command, const Expected& expected, bool failed)
{
    const std::size_t messagesBefore = s.host.shown.size();
    if (failed) {
        command.run(s);
        EXPECT_EQ(Capture(s), expected.after) << "the command succeeds once the fault clears";
    }
    if (!s.host.ended) {
        s.session.GoToRecord(2);
        s.session.OnMark();
        EXPECT_TRUE(s.session.IsModified());
        EXPECT_NE(s.session.Records()[2], expected.after.records[2]) << "a later mark succeeds";
        ExpectConsistent(s.session);
    }
    for (std::size_t i = messagesBefore; i < s.host.shown.size(); ++i) {
        EXPECT_FALSE(StartsWith(s.host.shown[i], command.failure)) << s.host.shown[i];
    }
    if (command.writesResults) {
        EXPECT_EQ(ReadBytes(s.results), JoinRecords(expected.after.records));
    }
}

TEST_P(WriteFaultTest, EveryWriteStepFailsWholeOrNotAtAll)
{
    const Command& command = GetParam();
    const Expected expected = Undisturbed(command);
    ASSERT_NE(expected.before, expected.after) << "the command changes something";
    // The steps of an atomic replacement, or of an append, are all seen, so that the loop below
    // disturbs them.
    const std::vector<CallKind> steps = command.appends
                                            ? std::vector{CallKind::Write, CallKind::Flush, CallKind::Close}
                                            : std::vector{CallKind::CreateTemp, CallKind::Write, CallKind::Close, CallKind::Rename};
    for (const CallKind kind : steps) {
        EXPECT_TRUE(std::any_of(expected.calls.begin(), expected.calls.end(),
                                [&](const SeenCall& call) { return call.kind == kind && IsEssential(call); }))
            << "no write step of kind " << KindName(kind) << " among " << [&] {
                   std::string seen;
                   for (const SeenCall& call : expected.calls) {
                       seen += "\n  " + Describe(call) + (call.carriesData ? " (data)" : "");
                   }
                   return seen;
               }();
    }
    if (command.writesResults) {
        EXPECT_TRUE(std::any_of(expected.calls.begin(), expected.calls.end(),
                                [](const SeenCall& call) { return call.kind == CallKind::Flush; }))
            << "a results file is flushed to disk";
    }
    for (int step = 1; step <= static_cast<int>(expected.calls.size()); ++step) {
        for (const Disturbance& disturbance : Disturbances()) {
            RunDisturbed(command, expected, step, disturbance);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, WriteFaultTest, ::testing::ValuesIn(Commands()),
                         [](const ::testing::TestParamInfo<Command>& param) {
                             std::string name;
                             for (const char c : param.param.name) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             }
                             return name;
                         });

// A save needs nothing from the temporary folder: the buffers hold every mark, whatever became
// of the working copy.
TEST(SaveWithoutWorkingCopy, WritesTheMarksFromTheBuffers)
{
    for (const Disturbance& disturbance : Disturbances()) {
        if (disturbance.target != Target::TempFolder && disturbance.target != Target::WorkingCopy) {
            continue;
        }
        SCOPED_TRACE(disturbance.name);
        Scenario s;
        s.Open();
        s.session.OnMark();
        const Strings marked = s.session.Records().ToStrings();
        const std::string path = disturbance.target == Target::TempFolder ? s.TempFolder() : s.session.WorkPath();
        Disturb(disturbance, path)();
        s.host.resultsPaths = {s.results};
        EXPECT_TRUE(s.session.OnSave());
        EXPECT_EQ(ReadBytes(s.results), JoinRecords(marked));
        EXPECT_FALSE(s.session.IsModified());

        fs::create_directories(s.TempFolder());
        s.session.GoToRecord(2);
        s.session.OnMark();
        ExpectConsistent(s.session);
    }
}

}  // namespace
}  // namespace luma::test
