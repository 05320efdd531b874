// The choice between reading a file and mapping it.

#include <filesystem>
#include <system_error>

#include "platform/file_io.h"
#include "platform/mapped_file.h"

namespace luma {

MapResult ReadOrMapWholeFile(const std::string& path, std::uint64_t mapFrom)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(path), ec);
    if (!ec && size >= mapFrom) {
        return MapWholeFile(path);
    }
    ReadResult read = ReadWholeFile(path);
    return {std::move(read.bytes), std::move(read.error)};
}

}  // namespace luma
