#pragma once
// Small pieces the Win32 file code shares.

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace luma::win32 {

// "what: Windows error N", for the last failed call.
inline std::string LastErrorText(const std::string& what)
{
    return what + ": Windows error " + std::to_string(::GetLastError());
}

// Writes all the bytes, going on after a partial write. False on an error (GetLastError).
inline bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace luma::win32
