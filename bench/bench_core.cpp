// Times the core paths the window runs, on one record file, and prints them as JSON: open as
// the main dialog does it (buffer list, mark count, working copy written), mark and unmark
// (median over records spread over the file, rewrite and reopen included), next, previous and
// go-to (median), save, and the peak resident memory.
//
//   luma-bench FILE

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "marking/marking_session.h"
#include "marking/unattended_operator.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& action)
{
    const auto start = Clock::now();
    action();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

long PeakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

bool CarriesLabel(const luma::MarkingSession& session)
{
    return session.ViewText().find(session.LabelField() + "     ") != std::string::npos;
}

// Records without the label, spread evenly over the file.
std::vector<int> SpreadUnmarkedRecords(luma::MarkingSession& session, int wanted)
{
    std::vector<int> records;
    const int count = session.RecordCount();
    for (int i = 0; i < count && static_cast<int>(records.size()) < wanted; ++i) {
        const int index = static_cast<int>((static_cast<long long>(i) * 7919 % count));
        session.GoToRecord(index);
        if (!CarriesLabel(session) &&
            std::find(records.begin(), records.end(), index) == records.end()) {
            records.push_back(index);
        }
    }
    return records;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: luma-bench FILE\n";
        return 64;
    }
    const std::filesystem::path results = std::filesystem::temp_directory_path() / "luma-bench-results";
    std::filesystem::create_directories(results);
    luma::UnattendedOperator host(argv[1], (results / "results.iso").string());
    luma::NoDisplay display;
    luma::MarkingSession session(host, display);
    session.SetLabel("901", "##$aОтобрано");
    session.SetAdvanceAfterMark(false);
    session.SetFolders("", results.string());

    const double open = Seconds([&] { session.OnOpen(); });
    const std::vector<int> records = SpreadUnmarkedRecords(session, 31);
    std::vector<double> marks, unmarks, nexts, previouses, gotos;
    for (const int record : records) {
        session.GoToRecord(record);
        marks.push_back(Seconds([&] { session.OnMark(); }));
        unmarks.push_back(Seconds([&] { session.OnUnmark(); }));
        nexts.push_back(Seconds([&] { session.OnNextRecord(); }));
        previouses.push_back(Seconds([&] { session.OnPrevRecord(); }));
        gotos.push_back(Seconds([&] { session.GoToRecord(session.RecordCount() - 1 - record); }));
    }
    // Steps take microseconds: many of them make the medians steady. Each mark above rewrote the
    // working copy; on a large file the system is still writing those out to disk, which slows
    // a step for reasons that are not its own. Flushed first, the steps are timed on their own.
    ::sync();
    for (int i = 0; i < 2000; ++i) {
        const int record = static_cast<int>(static_cast<long long>(i) * 7919 % session.RecordCount());
        session.GoToRecord(record);
        nexts.push_back(Seconds([&] { session.OnNextRecord(); }));
        previouses.push_back(Seconds([&] { session.OnPrevRecord(); }));
        gotos.push_back(Seconds([&] { session.GoToRecord(session.RecordCount() - 1 - record); }));
    }
    session.GoToRecord(session.RecordCount() / 2);
    session.OnMark();
    const double save = Seconds([&] { session.OnSave(); });
    const int marked = session.MarkedCount();
    const int count = session.RecordCount();
    session.Quit();
    for (const std::string& message : host.Messages()) {
        std::cerr << "message: " << message << '\n';
    }
    std::filesystem::remove_all(results);

    std::cout << "{\"records\": " << count << ", \"marked\": " << marked
              << ", \"open_s\": " << open << ", \"mark_median_s\": " << Median(marks)
              << ", \"unmark_median_s\": " << Median(unmarks) << ", \"next_median_s\": " << Median(nexts)
              << ", \"previous_median_s\": " << Median(previouses)
              << ", \"goto_median_s\": " << Median(gotos) << ", \"save_s\": " << save
              << ", \"samples\": " << marks.size() << ", \"peak_rss_bytes\": " << PeakResidentBytes()
              << "}\n";
    return 0;
}
