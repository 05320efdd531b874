#pragma once
// Problems of a file's records as reported to the user: the framing problems the index found
// and the problems each record's parse found, together in file order.

#include <functional>
#include <vector>

#include "records/record_store.h"
#include "records/problem.h"

namespace luma {

// Makes `index` the current record of `store` and gives its problems sorted by offset.
std::vector<Problem> ProblemsOfRecord(RecordStore& store, int index);

// Framing problems that concern no record (index -1), such as bytes after the last record.
std::vector<Problem> ProblemsOfNoRecord(const RecordStore& store);

// Every problem of a store's records, a few records at a time, so that a window can look
// through a large file between its own events.
class ProblemScan {
public:
    explicit ProblemScan(RecordStore store) : m_store(std::move(store)) {}

    // Looks through up to `records` more records; false once every record has been looked at.
    bool Step(int records);
    bool Done() const { return m_finished; }
    int Scanned() const { return m_next; }
    int Total() const { return m_store.GetRecordCount(); }
    // In file order; the problems of no record come last.
    const std::vector<Problem>& Problems() const { return m_problems; }

private:
    RecordStore m_store;
    int m_next = 0;
    bool m_finished = false;
    std::vector<Problem> m_problems;
};

}  // namespace luma
