// Portable parts of the file layer.

#include "platform/file_io.h"
#include "platform/memory_advice.h"

#include <fstream>
#include <system_error>

namespace luma {

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

ReadResult ReadWholeFile(const std::string& path)
{
    ReadResult result;
    const std::filesystem::path fsPath = PathFromUtf8(path);
    std::error_code ec;
    const auto status = std::filesystem::status(fsPath, ec);
    if (ec || !std::filesystem::exists(status)) {
        result.error = "no such file";
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.error = "is a folder, not a file";
        return result;
    }
    std::ifstream in(fsPath, std::ios::binary);
    if (!in) {
        result.error = "cannot be opened for reading";
        return result;
    }
    // Read straight into the result at the size the file has now, then take whatever a file
    // still growing has added since: one copy of the bytes, not two.
    const auto size = std::filesystem::file_size(fsPath, ec);
    result.bytes.reserve(ec ? 0 : static_cast<std::size_t>(size));
    AdviseHugePages(result.bytes.data(), result.bytes.capacity());
    result.bytes.resize(ec ? 0 : static_cast<std::size_t>(size));
    in.read(result.bytes.data(), static_cast<std::streamsize>(result.bytes.size()));
    result.bytes.resize(static_cast<std::size_t>(in.gcount()));
    char buffer[1 << 16];
    while (in && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
        result.bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        result.error = "read error";
        result.bytes.clear();
    }
    return result;
}

}  // namespace luma
