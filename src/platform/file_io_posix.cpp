// Atomic file replacement on POSIX: temporary sibling, fsync, rename, fsync of the folder.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_io.h"

namespace luma {
namespace {

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target = PathFromUtf8(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return ErrnoText("cannot create a temporary file in " + folder.string());
    }
    std::optional<std::string> error;
    if (!WriteAll(fd, bytes)) {
        error = ErrnoText("cannot write " + path);
    } else if (::fsync(fd) != 0) {
        error = ErrnoText("cannot flush " + path);
    }
    // Keep an existing file's permissions; a new one gets the usual 0644 less the umask.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0 && !error) {
        error = ErrnoText("cannot close " + path);
    }
    if (!error && ::rename(name.data(), target.c_str()) != 0) {
        error = ErrnoText("cannot replace " + path);
    }
    if (error) {
        ::unlink(name.data());
        return error;
    }
    SyncFolder(folder);
    return std::nullopt;
}

}  // namespace luma
