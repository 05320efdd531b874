#pragma once
// A helper program of the test suite run as a second, real process, for tests of what one
// process sees of another's files and locks.

#include <chrono>
#include <string>
#include <vector>

namespace luma::test {

class ChildProcess {
public:
    // Starts `program`, a program built beside the running test ("name" without ".exe"), with
    // the arguments. Running() is false when it could not be started.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    // Kills a child still running.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running() const;
    // Ends the child at once, as kill -9 or TerminateProcess do, and waits until it is gone.
    void Kill();

private:
#ifdef _WIN32
    void* m_process = nullptr;
#else
    int m_pid = -1;
#endif
};

// Waits until a file exists at `path`; false after `timeout`.
bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout);

}  // namespace luma::test
