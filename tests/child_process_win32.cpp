// Child processes on Windows: CreateProcess, TerminateProcess.

#include <windows.h>

#include <filesystem>
#include <thread>

#include "child_process.h"
#include "platform/file_io.h"

namespace luma::test {
namespace {

std::filesystem::path ThisProgramsFolder()
{
    std::wstring name(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    name.resize(length);
    return std::filesystem::path(name).parent_path();
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    const std::filesystem::path path = ThisProgramsFolder() / (program + ".exe");
    std::wstring line = L"\"" + path.wstring() + L"\"";
    for (const std::string& argument : arguments) {
        line += L" \"" + PathFromUtf8(argument).wstring() + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
        m_process = info.hProcess;
    }
}

ChildProcess::~ChildProcess()
{
    Kill();
}

bool ChildProcess::Running() const
{
    return m_process != nullptr && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill()
{
    if (m_process != nullptr) {
        ::TerminateProcess(m_process, 137);
        ::WaitForSingleObject(m_process, INFINITE);
        ::CloseHandle(m_process);
        m_process = nullptr;
    }
}

bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::error_code ec;
    while (!std::filesystem::exists(PathFromUtf8(path), ec)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace luma::test
