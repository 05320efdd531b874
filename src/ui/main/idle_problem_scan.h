#pragma once
// The open file's problems, looked for a few hundred records at a time while the window is
// idle, so that an open is not slowed; or all at once when the operator asks for them.

#include <QTimer>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "records/problem.h"
#include "records/record_problems.h"

namespace luma {
class MarkingSession;
}

namespace luma::ui {

class IdleProblemScan {
public:
    // `found` hears of the problems once the whole file has been looked through.
    IdleProblemScan(const MarkingSession& session, std::function<void(std::size_t found)> found,
                    QObject* parent);

    // A file became the open one: its scan starts when the window is next idle. Nothing is
    // read here: the scan indexes its store at its first step.
    void Restart();
    // The rest of the scan at once; `progress(done, total)` false cancels, and then so does this.
    bool Finish(const std::function<bool(std::size_t done, std::size_t total)>& progress);
    // In file order; the problems of no record come last.
    const std::vector<Problem>& Problems() const;

private:
    bool Begin();
    void Step();

    const MarkingSession& m_session;
    std::function<void(std::size_t)> m_found;
    QTimer m_timer;
    std::unique_ptr<ProblemScan> m_scan;
    bool m_pending = false;  // a file opened and its scan not begun
};

}  // namespace luma::ui
