#pragma once
// `luma-cli mark` and `unmark`: the marking session the window runs, driven from the command
// line: open FILE, mark or unmark each listed record, save the results to OUT.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"

namespace luma::cli {

enum class MarkAction { Mark, Unmark };

struct MarkRequest {
    MarkAction action = MarkAction::Mark;
    std::string path;
    LabelField label;
    std::vector<int> records;  // 1-based
    std::string output;
    std::optional<Charset> charset;  // instead of the one the file's bytes suggest
};

// Prints "marked: M", the marks in the results after the run. Exit 1 when a listed record is
// not in the file (nothing is written), 2 when FILE cannot be read, the command is refused or
// OUT cannot be written (an existing OUT is left as it was).
int RunMark(const MarkRequest& request, const Voice& voice, std::ostream& out, std::ostream& err);

}  // namespace luma::cli
