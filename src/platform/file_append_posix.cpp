// Appending to a file the caller keeps track of (POSIX).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_io.h"
#include "platform/posix_write.h"

namespace luma {

AppendResult AppendToFile(const std::string& path, std::uint64_t expectedSize, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return {errno == ENOENT, posix::ErrnoText("cannot open " + path)};
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != expectedSize) {
        ::close(fd);
        return {true, path + " was changed by another program"};
    }
    std::optional<std::string> error;
    if (!posix::WriteAll(fd, bytes)) {
        error = posix::ErrnoText("cannot write " + path);
    } else if (::fdatasync(fd) != 0) {
        error = posix::ErrnoText("cannot flush " + path);
    }
    if (error) {
        // A failure half way must not leave half an entry for the next append to follow.
        [[maybe_unused]] const int cut = ::ftruncate(fd, static_cast<off_t>(expectedSize));
    }
    if (::close(fd) != 0 && !error) {
        error = posix::ErrnoText("cannot close " + path);
    }
    // Removed, replaced or cut short by another program while it was written: the bytes are not
    // where the next reader looks.
    struct stat after {};
    const bool kept = !error && ::lstat(path.c_str(), &after) == 0 && S_ISREG(after.st_mode) &&
                      after.st_ino == status.st_ino &&
                      static_cast<std::uint64_t>(after.st_size) == expectedSize + bytes.size();
    if (!error && !kept) {
        return {true, path + " was changed by another program"};
    }
    return {false, error};
}

}  // namespace luma
