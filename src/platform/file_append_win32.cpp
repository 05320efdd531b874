// Appending to a file the caller keeps track of (Win32).

#include <windows.h>

#include "platform/file_io.h"
#include "win32_write.h"

namespace luma {

using win32::LastErrorText;
using win32::WriteAll;

AppendResult AppendToFile(const std::string& path, std::uint64_t expectedSize, std::string_view bytes)
{
    HANDLE file = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        return {code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND, LastErrorText("cannot open " + path)};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || static_cast<std::uint64_t>(size.QuadPart) != expectedSize) {
        ::CloseHandle(file);
        return {true, path + " was changed by another program"};
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(expectedSize);
    std::optional<std::string> error;
    if (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !WriteAll(file, bytes)) {
        error = LastErrorText("cannot write " + path);
    } else if (!::FlushFileBuffers(file)) {
        error = LastErrorText("cannot flush " + path);
    }
    if (error && ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
        // A failure half way must not leave half an entry for the next append to follow.
        ::SetEndOfFile(file);
    }
    ::CloseHandle(file);
    return {false, error};
}

}  // namespace luma
