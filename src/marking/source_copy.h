#pragma once
// The copy of a session's source file beside its journal, so that the work can come back after
// the source has moved or gone. It is written from the bytes the session read, so a source
// moved or deleted meanwhile costs nothing; a large source is copied on a thread of its own at
// disk speed while the operator works, a small one at once. The copy counts only when no byte
// was lost to the source shrinking, the source is gone or still the file that was opened (not
// rewritten in place), and the copy has its size and its ends.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/mapped_file.h"

namespace luma {

class SourceCopy {
public:
    enum class State { Copying, Complete, Failed };

    // `copied` runs on the copying thread once the copy is complete, before State() says so.
    SourceCopy(std::shared_ptr<const FileBytes> bytes, std::string source, std::string target,
               FileFingerprint opened, bool inBackground, std::function<void()> copied);
    // Stops a copy under way and waits for its thread.
    ~SourceCopy();
    SourceCopy(const SourceCopy&) = delete;
    SourceCopy& operator=(const SourceCopy&) = delete;

    State GetState() const { return m_state.load(); }
    const std::string& Target() const { return m_target; }

private:
    void Run();
    bool CopyBytes();

    const std::shared_ptr<const FileBytes> m_bytes;
    const std::string m_source;
    const std::string m_target;
    const FileFingerprint m_opened;
    const std::function<void()> m_copied;
    std::atomic<bool> m_cancel{false};
    std::atomic<State> m_state{State::Copying};
    std::thread m_thread;
};

}  // namespace luma
