// A marking run for the crash test to kill: a real session on a real file with its working copy
// in $TMPDIR, driven by a pseudo-random sequence of marks, unmarks, moves and saves that the
// seed fixes.
//
//   luma_crash_driver make SOURCE RECORDS
//       writes a file of RECORDS records in Windows-1251
//   luma_crash_driver run SOURCE RESULTS SEED COMMANDS [STATES]
//       opens SOURCE and runs COMMANDS commands, saving to RESULTS; after each completed command
//       (the open is command 0) prints "N OP RECORD" and flushes. With STATES, also writes the
//       records the session holds after command N to STATES/N.iso, for the test to compare with.
//       Ends without the exit procedure, as a killed run would, leaving the working copy.
//
// Exit codes: 0 done, 2 the session reported a failure, 64 a wrong command line.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "marking/marking_session.h"
#include "marking/unattended_operator.h"
#include "records/record_files.h"
#include "test_files.h"

namespace luma::test {
namespace {

// The label the test counts in the files: no record carries it before the run.
constexpr const char* kCrashLabelTag = "999";
constexpr const char* kCrashLabelText = "##$aCRASHMARK";

// Marks and unmarks meet the same few records often enough to undo each other.
constexpr int kBusyRecords = 40;

// A small generator of fixed definition, so that every run of a seed does the same.
class Sequence {
public:
    explicit Sequence(std::uint64_t seed) : m_state(seed * 2654435761u + 1) {}
    int Below(int bound)
    {
        m_state = m_state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<int>((m_state >> 33) % static_cast<std::uint64_t>(bound));
    }

private:
    std::uint64_t m_state;
};

int MakeSource(const std::string& path, int records)
{
    std::ofstream out(path, std::ios::binary);
    for (int r = 0; r < records; ++r) {
        const std::string number = std::to_string(r + 1);
        out << Record({{"001", "crash-" + number},
                       {"200", DataField("1 $a") + Encode("Запись номер " + number, "CP1251")},
                       {"300", DataField("  $a") + std::string(300, static_cast<char>('a' + r % 26))}});
    }
    return out ? 0 : 2;
}

// One command; its name for the log.
std::string Step(MarkingSession& session, Sequence& sequence)
{
    const int roll = sequence.Below(12);
    if (roll < 4) {
        session.OnMark();
        return "mark";
    }
    if (roll < 7) {
        session.OnUnmark();
        return "unmark";
    }
    if (roll < 9) {
        session.GoToRecord(sequence.Below(kBusyRecords < session.RecordCount() ? kBusyRecords : session.RecordCount()));
        return "move";
    }
    if (roll < 11) {
        roll == 9 ? session.OnNextRecord() : session.OnPrevRecord();
        return "move";
    }
    session.OnSave();
    return "save";
}

void Report(int number, const std::string& op, const MarkingSession& session, const std::string& states)
{
    if (!states.empty()) {
        std::ofstream(states + "/" + std::to_string(number) + ".iso", std::ios::binary)
            << JoinRecords(session.Records().ToStrings());
    }
    std::printf("%d %s %d\n", number, op.c_str(), session.CurrentRecord());
    std::fflush(stdout);
}

int Run(const std::string& source, const std::string& results, std::uint64_t seed, int commands,
        const std::string& states)
{
    UnattendedOperator host(source, results);
    NoDisplay display;
    MarkingSession session(host, display);
    session.SetLabel(kCrashLabelTag, kCrashLabelText);
    // Staying on the record lets an unmark undo the mark before it.
    session.SetAdvanceAfterMark(false);
    Sequence sequence(seed);
    if (!session.OnOpen()) {
        return 2;
    }
    Report(0, "open", session, states);
    for (int number = 1; number <= commands; ++number) {
        const std::string op = Step(session, sequence);
        if (!host.Messages().empty()) {
            std::cerr << "after " << op << ": " << host.Messages().back() << '\n';
            return 2;
        }
        Report(number, op, session, states);
    }
    return 0;
}

}  // namespace
}  // namespace luma::test

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 4) {
        return luma::test::MakeSource(argv[2], std::stoi(argv[3]));
    }
    if (mode == "run" && (argc == 6 || argc == 7)) {
        return luma::test::Run(argv[2], argv[3], std::stoull(argv[4]), std::stoi(argv[5]), argc == 7 ? argv[6] : "");
    }
    std::cerr << "usage: luma_crash_driver make SOURCE RECORDS | run SOURCE RESULTS SEED COMMANDS [STATES]\n";
    return 64;
}
