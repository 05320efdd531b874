#pragma once
// Runs a downloaded program.

#include <QString>
#include <optional>

namespace luma::app {

// Starts the program file at `path` itself — no shell, no search of PATH, no arguments — and
// waits until it has ended, keeping windows responsive meanwhile. Outside Windows the file is
// first made executable, for this user only. The exit code, or nothing when it could not be
// started or crashed.
std::optional<int> BRunExe(const QString& path);

}  // namespace luma::app
