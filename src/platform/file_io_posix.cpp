// Atomic file replacement on POSIX: temporary sibling, fsync (unless the caller waives it),
// rename, fsync of the folder.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/file_io.h"
#include "platform/posix_write.h"

namespace luma {
namespace {

using posix::ErrnoText;
using posix::WriteAll;

// Many small pieces go out in few system calls.
bool WriteAllPieces(int fd, const std::vector<std::string_view>& pieces)
{
    constexpr std::size_t kBatch = IOV_MAX < 1024 ? IOV_MAX : 1024;
    std::vector<iovec> batch;
    batch.reserve(kBatch);
    std::size_t next = 0;
    std::size_t skip = 0;  // bytes of pieces[next] already written
    while (next < pieces.size()) {
        batch.clear();
        for (std::size_t i = next; i < pieces.size() && batch.size() < kBatch; ++i) {
            const std::size_t from = i == next ? skip : 0;
            if (pieces[i].size() > from) {
                batch.push_back({const_cast<char*>(pieces[i].data() + from), pieces[i].size() - from});
            }
        }
        if (batch.empty()) {
            break;
        }
        const ssize_t written = ::writev(fd, batch.data(), static_cast<int>(batch.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        auto left = static_cast<std::size_t>(written);
        while (next < pieces.size() && left >= pieces[next].size() - skip) {
            left -= pieces[next].size() - skip;
            skip = 0;
            ++next;
        }
        skip += left;
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

// An unnamed file in the folder where the system offers one (Linux's O_TMPFILE): a process
// killed while it writes leaves nothing behind. -1 where there is none.
int OpenUnnamedFile(const std::filesystem::path& folder)
{
#ifdef O_TMPFILE
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
#else
    (void)folder;
    return -1;
#endif
}

// Gives a written unnamed file a free temporary name beside `target`, for the rename: the name
// exists only between this and the rename.
bool NameUnnamedFile(int fd, const std::filesystem::path& target, std::vector<char>& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = posix::SiblingOf(target).name;
        // mkstemp finds a free name; the link needs it free again.
        const int placeholder = ::mkstemp(name.data());
        if (placeholder < 0) {
            return false;
        }
        ::close(placeholder);
        ::unlink(name.data());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.data(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// Writes a temporary sibling with `write`, then renames it over the target.
std::optional<std::string> ReplaceWith(const std::string& path, Durability durability,
                                       const std::function<bool(int)>& write)
{
    const std::filesystem::path target = PathFromUtf8(path);
    auto [folder, name] = posix::SiblingOf(target);

    int fd = OpenUnnamedFile(folder);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        fd = ::mkstemp(name.data());
    }
    if (fd < 0) {
        return ErrnoText("cannot create a temporary file in " + folder.string());
    }
    const bool flush = durability == Durability::FlushToDisk;
    std::optional<std::string> error;
    if (!write(fd)) {
        error = ErrnoText("cannot write " + path);
    } else if (flush && ::fsync(fd) != 0) {
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
    bool named = !unnamed;
    if (unnamed && !error) {
        named = NameUnnamedFile(fd, target, name);
        if (!named) {
            error = ErrnoText("cannot name the new " + path);
        }
    }
    if (::close(fd) != 0 && !error) {
        error = ErrnoText("cannot close " + path);
    }
    // The rename drops the last name of the file it replaces, and the kernel then frees that
    // file's cached pages before rename returns: for a large file, as long as the write took.
    // Holding it open lets a background thread pay for that instead of the caller.
    const int replaced = flush ? -1 : ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (!error && ::rename(name.data(), target.c_str()) != 0) {
        error = ErrnoText("cannot replace " + path);
    }
    if (replaced >= 0) {
        if (error) {
            ::close(replaced);
        } else {
            try {
                std::thread([replaced] { ::close(replaced); }).detach();
            } catch (const std::system_error&) {
                ::close(replaced);  // no thread to spare: pay for it here
            }
        }
    }
    if (error) {
        if (named) {
            ::unlink(name.data());
        }
        return error;
    }
    if (flush) {
        SyncFolder(folder);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    return ReplaceWith(path, Durability::FlushToDisk, [&](int fd) { return WriteAll(fd, bytes); });
}

std::optional<std::string> ReplaceFileAtomically(const std::string& path,
                                                 const std::vector<std::string_view>& pieces,
                                                 Durability durability)
{
    return ReplaceWith(path, durability, [&](int fd) { return WriteAllPieces(fd, pieces); });
}

}  // namespace luma
