// The process on POSIX systems: the executable as the kernel names it, argv as it stands.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <filesystem>
#include <system_error>

#include "platform/file_io.h"
#include "platform/process.h"

namespace luma {

std::string ExecutableBaseName()
{
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "luma";  // no /proc: the program's usual name
    }
    return PathToUtf8(executable.stem());
}

long long CurrentProcessId()
{
    return ::getpid();
}

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8StandardStreams() {}

std::optional<int> RunProgram(const std::string& path, const std::function<void()>& whileWaiting)
{
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0) {
        return std::nullopt;
    }
    std::string program = path;
    char* arguments[] = {program.data(), nullptr};
    pid_t child = 0;
    // posix_spawn, unlike the exec*p family, never hands a file without "#!" to a shell.
    int error = ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (error == 0) {
        error = ::posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    }
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return std::nullopt;
    }
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) {
            return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
        }
        if (ended < 0 && errno != EINTR) {
            return std::nullopt;
        }
        whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace luma
