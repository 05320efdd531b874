// Child processes on POSIX: fork and exec, SIGKILL.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "child_process.h"

namespace luma::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    const std::string path = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / program).string();
    std::vector<std::string> line{path};
    line.insert(line.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : line) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    Kill();
}

bool ChildProcess::Running() const
{
    return m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0;
}

void ChildProcess::Kill()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace luma::test
