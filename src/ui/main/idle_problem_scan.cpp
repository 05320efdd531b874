#include "idle_problem_scan.h"

#include "marking/marking_session.h"

namespace luma::ui {
namespace {

constexpr int kRecordsPerStep = 500;

}  // namespace

IdleProblemScan::IdleProblemScan(const MarkingSession& session, std::function<void(std::size_t)> found,
                                 QObject* parent)
    : m_session(session), m_found(std::move(found)), m_timer(parent)
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Step(); });
}

void IdleProblemScan::Restart()
{
    m_scan.reset();
    m_pending = true;
    m_timer.start();
}

// A store of its own over the bytes the file was read into, so that offsets are the file's.
bool IdleProblemScan::Begin()
{
    if (!m_pending) {
        return m_scan != nullptr;
    }
    m_pending = false;
    RecordStore store;
    if (store.OpenShared(m_session.Records().SharedBytes(), m_session.SourcePath(), m_session.FileCharset()) != 0) {
        return false;
    }
    m_scan = std::make_unique<ProblemScan>(std::move(store));
    return true;
}

void IdleProblemScan::Step()
{
    if (!Begin()) {
        m_timer.stop();
        return;
    }
    if (m_scan->Step(kRecordsPerStep)) {
        return;
    }
    m_timer.stop();
    m_found(m_scan->Problems().size());
}

bool IdleProblemScan::Finish(const std::function<bool(std::size_t, std::size_t)>& progress)
{
    if (!Begin()) {
        return false;
    }
    bool going = true;
    while (going && !m_scan->Done()) {
        going = progress(static_cast<std::size_t>(m_scan->Scanned()), static_cast<std::size_t>(m_scan->Total()));
        if (going) {
            m_scan->Step(kRecordsPerStep);
        }
    }
    Step();
    return going;
}

const std::vector<Problem>& IdleProblemScan::Problems() const
{
    static const std::vector<Problem> kNone;
    return m_scan ? m_scan->Problems() : kNone;
}

}  // namespace luma::ui
