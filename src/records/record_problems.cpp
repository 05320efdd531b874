#include "records/record_problems.h"

#include <algorithm>

namespace luma {
namespace {

std::vector<Problem> FramingProblemsOf(const RecordStore& store, int index) {
    std::vector<Problem> found;
    for (const Problem& problem : store.FileProblems()) {
        if (problem.record == index) {
            found.push_back(problem);
        }
    }
    return found;
}

}  // namespace

std::vector<Problem> ProblemsOfRecord(RecordStore& store, int index) {
    std::vector<Problem> found = FramingProblemsOf(store, index);
    store.SetRecord(index);
    const std::vector<Problem>& parsed = store.RecordProblems();
    found.insert(found.end(), parsed.begin(), parsed.end());
    const std::vector<Problem> unreadable = store.UnreadableTextProblems();
    found.insert(found.end(), unreadable.begin(), unreadable.end());
    // Framing and parse problems come from two passes; the user reads them in file order.
    std::stable_sort(found.begin(), found.end(),
                     [](const Problem& a, const Problem& b) { return a.offset < b.offset; });
    return found;
}

std::vector<Problem> ProblemsOfNoRecord(const RecordStore& store) {
    return FramingProblemsOf(store, -1);
}

bool ProblemScan::Step(int records)
{
    if (m_finished) {
        return false;
    }
    const int end = std::min(m_store.GetRecordCount(), m_next + records);
    for (; m_next < end; ++m_next) {
        const std::vector<Problem> found = ProblemsOfRecord(m_store, m_next);
        m_problems.insert(m_problems.end(), found.begin(), found.end());
    }
    if (m_next < m_store.GetRecordCount()) {
        return true;
    }
    const std::vector<Problem> unattached = ProblemsOfNoRecord(m_store);
    m_problems.insert(m_problems.end(), unattached.begin(), unattached.end());
    m_finished = true;
    return false;
}

}  // namespace luma
