// The process on Windows: the module file name and the UTF-16 command line.

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include <filesystem>

#include "platform/file_io.h"
#include "platform/process.h"
#include "platform/wide_text_win32.h"

namespace luma {

std::string ExecutableBaseName()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);  // truncated: try a larger buffer
    }
    return PathToUtf8(std::filesystem::path(name).stem());
}

long long CurrentProcessId()
{
    return ::GetCurrentProcessId();
}

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Utf8FromWide(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

void UseUtf8StandardStreams()
{
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace luma
