// Held files on POSIX: an flock on the open file. A lock taken through a name that has since
// been removed or replaced holds nothing anyone else can find, so a hold is only granted when
// the name still leads to the locked file.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/file_io.h"
#include "platform/posix_write.h"
#include "platform/locked_file.h"

namespace luma {
namespace {

using posix::ErrnoText;
using posix::WriteAll;

// The temporary folder is shared with every user: a file someone else put there is not ours to
// take, whatever it says.
bool OwnedByThisUser(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid();
}

bool NameLeadsTo(const std::string& path, int fd)
{
    struct stat byName {};
    struct stat byHandle {};
    return ::stat(PathFromUtf8(path).c_str(), &byName) == 0 && ::fstat(fd, &byHandle) == 0 &&
           byName.st_dev == byHandle.st_dev && byName.st_ino == byHandle.st_ino;
}

}  // namespace

LockedFileResult LockedFile::Create(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target = PathFromUtf8(path);
    auto [folder, name] = posix::SiblingOf(target);

    LockedFileResult result;
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        result.error = ErrnoText("cannot create a file in " + folder.string());
        return result;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        result.error = ErrnoText("cannot lock " + std::string(name.data()));
    } else if (!WriteAll(fd, bytes)) {
        result.error = ErrnoText("cannot write " + std::string(name.data()));
    } else if (::rename(name.data(), target.c_str()) != 0) {
        result.error = ErrnoText("cannot create " + path);
    }
    if (result.error) {
        ::unlink(name.data());
        ::close(fd);
        return result;
    }
    result.file = LockedFile(path, fd);
    return result;
}

std::optional<LockedFile> LockedFile::TryHold(const std::string& path)
{
    const int fd = ::open(PathFromUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    if (!OwnedByThisUser(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || !NameLeadsTo(path, fd)) {
        ::close(fd);
        return std::nullopt;
    }
    return LockedFile(path, fd);
}

std::optional<std::string> LockedFile::ReadAll() const
{
    if (m_handle == kNoHandle) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(m_handle, buffer, sizeof buffer, offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        offset += got;
    }
}

bool LockedFile::WriteAt(std::uint64_t offset, std::string_view bytes)
{
    if (m_handle == kNoHandle) {
        return false;
    }
    ssize_t written = 0;
    do {
        written = ::pwrite(m_handle, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(bytes.size());
}

void LockedFile::Remove()
{
    if (m_handle != kNoHandle && NameLeadsTo(m_path, m_handle)) {
        ::unlink(PathFromUtf8(m_path).c_str());
    }
    Release();
}

void LockedFile::Release()
{
    if (m_handle != kNoHandle) {
        ::close(m_handle);
        m_handle = kNoHandle;
    }
}

}  // namespace luma
