#include "platform/posix_write.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace luma::posix {

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

}  // namespace luma::posix
