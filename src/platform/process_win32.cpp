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

// ShellExecuteEx rather than CreateProcess: CreateProcess refuses a program whose manifest asks
// for administrator rights (ERROR_ELEVATION_REQUIRED), where ShellExecuteEx shows the elevation
// prompt. An absolute path to an .exe runs that file and nothing else.
std::optional<int> RunProgram(const std::string& path, const std::function<void()>& whileWaiting)
{
    const std::wstring file = std::filesystem::absolute(PathFromUtf8(path)).wstring();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info) || info.hProcess == nullptr) {
        return std::nullopt;
    }
    while (::WaitForSingleObject(info.hProcess, 20) == WAIT_TIMEOUT) {
        whileWaiting();
    }
    DWORD exitCode = 0;
    const bool known = ::GetExitCodeProcess(info.hProcess, &exitCode) != 0;
    ::CloseHandle(info.hProcess);
    if (!known) {
        return std::nullopt;
    }
    return static_cast<int>(exitCode);
}

}  // namespace luma
