#pragma once
// Faults in the real system calls a program writes files with (Linux). The test program that
// links syscall_faults.cpp replaces open, mkstemp, write, fsync, fchmod, close and rename with
// versions that pass through to the C library, count the calls made on one thread while a plan
// is armed, and disturb the Nth: it fails with an errno, or something is done to the disk just
// before the call goes through (a folder removed, a file replaced), as another program or a
// failing disk would do it. The replaced functions are global by
// nature: a FaultPlanScope owns the plan and the calls seen, and arms them on its thread for its
// own life; calls on other threads pass through uncounted.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace luma::test {

enum class CallKind { Open, CreateTemp, Write, Flush, ChangeMode, Close, Rename };

struct SeenCall {
    CallKind kind;
    std::string name;   // the C function, e.g. "writev"
    std::string path;   // the file it concerns, as far as known; for rename the new name
    // Data would be lost if it failed unnoticed: a file created or opened for writing, a write,
    // the flush or close of a file written to, a rename.
    bool carriesData = false;
};

// "writev /tmp/x/.NEWabc123.Xy12Zq".
std::string Describe(const SeenCall& call);
// "create-temp", "write", "flush", ...: the kind as a word, for logs other programs read.
const char* KindName(CallKind kind);

struct FaultState;

struct FaultPlan {
    int disturbAt = 0;   // 1-based number of the call to disturb; 0 only counts
    int error = 0;       // the errno that call fails with; 0 lets it run after `before`
    bool shortWrite = false;  // a write that is disturbed writes half its bytes, as the kernel may
    std::function<void()> before;  // runs just before the disturbed call, uncounted
};

class FaultPlanScope {
public:
    explicit FaultPlanScope(FaultPlan plan);
    ~FaultPlanScope();
    FaultPlanScope(const FaultPlanScope&) = delete;
    FaultPlanScope& operator=(const FaultPlanScope&) = delete;

    // The calls counted so far, in order.
    const std::vector<SeenCall>& Calls() const;

private:
    std::unique_ptr<FaultState> m_state;
};

}  // namespace luma::test
