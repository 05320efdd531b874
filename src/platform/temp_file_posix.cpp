// A new file in the temporary folder on POSIX: mkstemp in the folder the standard library
// names ($TMPDIR, else /tmp).

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_ops.h"

namespace luma {

NewFileResult CreateTempFile(std::string_view prefix)
{
    NewFileResult result;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec) {
        result.error = "no temporary folder: " + ec.message();
        return result;
    }
    const std::string pattern = (folder / (std::string(prefix) + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        result.error = "cannot create a file in " + folder.string() + ": " + std::strerror(errno);
        return result;
    }
    ::close(fd);
    result.path = PathToUtf8(std::filesystem::path(name.data()));
    return result;
}

}  // namespace luma
