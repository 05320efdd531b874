// Atomic file replacement on Windows: temporary sibling, flush, MoveFileEx with replace.

#include <windows.h>

#include <string>

#include "platform/file_io.h"

namespace luma {
namespace {

std::string LastErrorText(const std::string& what)
{
    return what + ": Windows error " + std::to_string(::GetLastError());
}

}  // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target = PathFromUtf8(path);
    std::filesystem::path temp = target;
    temp += L".tmp" + std::to_wstring(::GetCurrentProcessId());

    HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return LastErrorText("cannot create a temporary file beside " + path);
    }
    std::optional<std::string> error;
    while (!bytes.empty() && !error) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            error = LastErrorText("cannot write " + path);
        }
        bytes.remove_prefix(written);
    }
    if (!error && !::FlushFileBuffers(file)) {
        error = LastErrorText("cannot flush " + path);
    }
    ::CloseHandle(file);
    if (!error && !::MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = LastErrorText("cannot replace " + path);
    }
    if (error) {
        ::DeleteFileW(temp.c_str());
    }
    return error;
}

}  // namespace luma
