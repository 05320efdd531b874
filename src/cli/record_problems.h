#pragma once
// Problems of one record as reported to the user: the framing problems the index found for it
// and the problems its parse found, together in file order.

#include <vector>

#include "marking/biso.h"
#include "marking/problem.h"

namespace luma::cli {

// Makes `index` the current record of `store` and gives its problems sorted by offset.
std::vector<Problem> ProblemsOfRecord(BISO& store, int index);

// Framing problems that concern no record (index -1), such as bytes after the last record.
std::vector<Problem> ProblemsOfNoRecord(const BISO& store);

}  // namespace luma::cli
