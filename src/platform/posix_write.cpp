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

SiblingTemplate SiblingOf(const std::filesystem::path& target)
{
    SiblingTemplate sibling{target.parent_path(), {}};
    if (sibling.folder.empty()) {
        sibling.folder = ".";
    }
    const std::string pattern = (sibling.folder / ("." + target.filename().string() + ".XXXXXX")).string();
    sibling.name.assign(pattern.begin(), pattern.end());
    sibling.name.push_back('\0');
    return sibling;
}

}  // namespace luma::posix
