#include "record_problems.h"

#include <algorithm>

namespace luma::cli {
namespace {

std::vector<Problem> FramingProblemsOf(const BISO& store, int index) {
    std::vector<Problem> found;
    for (const Problem& problem : store.FileProblems()) {
        if (problem.record == index) {
            found.push_back(problem);
        }
    }
    return found;
}

}  // namespace

std::vector<Problem> ProblemsOfRecord(BISO& store, int index) {
    std::vector<Problem> found = FramingProblemsOf(store, index);
    store.SetRecord(index);
    const std::vector<Problem>& parsed = store.RecordProblems();
    found.insert(found.end(), parsed.begin(), parsed.end());
    // Framing and parse problems come from two passes; the user reads them in file order.
    std::stable_sort(found.begin(), found.end(),
                     [](const Problem& a, const Problem& b) { return a.offset < b.offset; });
    return found;
}

std::vector<Problem> ProblemsOfNoRecord(const BISO& store) {
    return FramingProblemsOf(store, -1);
}

}  // namespace luma::cli
