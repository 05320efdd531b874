// Held files on Windows: an exclusive byte-range lock (LockFileEx) on a byte past the end of
// the file, so that the lock keeps no one from reading the contents. The system releases it
// when the handle closes, which it does when the process ends however it ends. The held handle
// shares everything and asks no delete access, so that anyone may still open the file to read
// it; a hold taken on a file already marked for deletion holds nothing anyone else can find,
// and is refused.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/file_io.h"
#include "platform/locked_file.h"
#include "win32_write.h"

namespace luma {

using win32::LastErrorText;
using win32::WriteAll;

namespace {

constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLockOffsetHigh = 1;  // 4 GiB: far past any note

bool TakeLock(HANDLE file)
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

bool DeletePending(HANDLE file)
{
    FILE_STANDARD_INFO info{};
    return !::GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info) ||
           info.DeletePending;
}

void MarkForDeletion(HANDLE file)
{
    FILE_DISPOSITION_INFO dispose{TRUE};
    ::SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
}

HANDLE OpenShared(const std::filesystem::path& path, DWORD access, DWORD disposition)
{
    return ::CreateFileW(path.c_str(), access, kSharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

// Both handles name files in one folder, hence on one volume: the file index tells them apart.
// (Wine does not report the same volume serial through every handle.)
bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return ::GetFileInformationByHandle(a, &first) && ::GetFileInformationByHandle(b, &second) &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

bool NameLeadsTo(const std::string& path, HANDLE file)
{
    HANDLE byName = OpenShared(PathFromUtf8(path), 0, OPEN_EXISTING);
    if (byName == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool same = SameFile(byName, file);
    ::CloseHandle(byName);
    return same;
}

bool RenameHeld(HANDLE file, const std::filesystem::path& target)
{
    const std::wstring name = target.wstring();
    const std::size_t size = sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(size, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, name.c_str(), name.size() * sizeof(wchar_t));
    return ::SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(size)) != 0;
}

}  // namespace

// The sibling is written through a handle with delete access, which the rename needs, while a
// second handle without it takes the lock: that one stays, and readers can open the file beside it.
LockedFileResult LockedFile::Create(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target = PathFromUtf8(path);
    std::filesystem::path temp = target;
    temp += L".new" + std::to_wstring(::GetCurrentProcessId());

    LockedFileResult result;
    HANDLE writer = OpenShared(temp, GENERIC_WRITE | DELETE, CREATE_ALWAYS);
    if (writer == INVALID_HANDLE_VALUE) {
        result.error = LastErrorText("cannot create a file beside " + path);
        return result;
    }
    HANDLE holder = OpenShared(temp, kAccess, OPEN_EXISTING);
    if (holder == INVALID_HANDLE_VALUE || !TakeLock(holder)) {
        result.error = LastErrorText("cannot lock " + path);
    } else if (!WriteAll(writer, bytes)) {
        result.error = LastErrorText("cannot write " + path);
    } else if (!RenameHeld(writer, target)) {
        result.error = LastErrorText("cannot create " + path);
    }
    if (result.error) {
        MarkForDeletion(writer);
    }
    ::CloseHandle(writer);
    if (result.error) {
        if (holder != INVALID_HANDLE_VALUE) {
            ::CloseHandle(holder);
        }
        return result;
    }
    result.file = LockedFile(path, holder);
    return result;
}

std::optional<LockedFile> LockedFile::TryHold(const std::string& path)
{
    HANDLE file = OpenShared(PathFromUtf8(path), kAccess, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    if (!TakeLock(file) || DeletePending(file)) {
        ::CloseHandle(file);
        return std::nullopt;
    }
    return LockedFile(path, file);
}

std::optional<std::string> LockedFile::ReadAll() const
{
    if (m_handle == kNoHandle) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    OVERLAPPED at{};
    for (;;) {
        DWORD got = 0;
        at.Offset = static_cast<DWORD>(bytes.size());
        if (!::ReadFile(m_handle, buffer, sizeof buffer, &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                return bytes;
            }
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, got);
    }
}

bool LockedFile::WriteAt(std::uint64_t offset, std::string_view bytes)
{
    if (m_handle == kNoHandle) {
        return false;
    }
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    return ::WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at) &&
           written == bytes.size();
}

void LockedFile::Remove()
{
    if (m_handle != kNoHandle && NameLeadsTo(m_path, m_handle)) {
        ::DeleteFileW(PathFromUtf8(m_path).c_str());
    }
    Release();
}

void LockedFile::Release()
{
    if (m_handle != kNoHandle) {
        ::CloseHandle(m_handle);
        m_handle = kNoHandle;
    }
}

}  // namespace luma
