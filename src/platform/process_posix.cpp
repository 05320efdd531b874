// The process on POSIX systems: the executable as the kernel names it, argv as it stands.

#include <unistd.h>

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

}  // namespace luma
