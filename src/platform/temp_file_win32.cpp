// A new file in the temporary folder on Windows: GetTempFileNameW, which creates the file.

#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/file_io.h"
#include "platform/file_ops.h"

namespace luma {

NewFileResult CreateTempFile(std::string_view prefix)
{
    NewFileResult result;
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        result.error = "no temporary folder: Windows error " + std::to_string(::GetLastError());
        return result;
    }
    // The prefix is ASCII; the system uses its first three characters.
    const std::wstring widePrefix(prefix.begin(), prefix.end());
    wchar_t name[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(folder, widePrefix.c_str(), 0, name) == 0) {
        result.error = "cannot create a file in " + PathToUtf8(std::filesystem::path(folder)) +
                       ": Windows error " + std::to_string(::GetLastError());
        return result;
    }
    result.path = PathToUtf8(std::filesystem::path(name));
    return result;
}

}  // namespace luma
