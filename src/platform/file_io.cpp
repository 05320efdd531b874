// Portable parts of the file layer.

#include "platform/file_io.h"
#include "platform/two_halves.h"

#include <algorithm>
#include <fstream>
#include <optional>

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

namespace {

// Reads up to `length` bytes from `offset` through a stream of its own; how many it read.
std::size_t ReadRange(const std::filesystem::path& path, std::size_t offset, char* into, std::size_t length)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(into, static_cast<std::streamsize>(length));
    return static_cast<std::size_t>(in.gcount());
}

// Fills the buffer from the file, `in` reading from its start; gives how many bytes it holds
// and leaves `in` after them. Copying a large file out of the system's cache is bound by memory,
// not by the processor: the second half is read on a thread of its own meanwhile. Should the
// file change under the read, the second half is read again after the first, in order.
std::size_t ReadInTwoHalves(std::ifstream& in, const std::filesystem::path& path, FileBytes& buffer)
{
    constexpr std::size_t kWorthAThread = std::size_t{16} << 20;
    const std::size_t whole = buffer.size();
    std::size_t read = 0;
    std::size_t secondRead = 0;
    const std::size_t half = InTwoHalves(
        whole, kWorthAThread,
        [&](std::size_t, std::size_t to) {
            in.read(buffer.data(), static_cast<std::streamsize>(to));
            read = static_cast<std::size_t>(in.gcount());
        },
        [&](std::size_t from, std::size_t to) { secondRead = ReadRange(path, from, buffer.data() + from, to - from); });
    if (half == whole || read != half) {
        return read;
    }
    if (secondRead == whole - half) {
        in.seekg(static_cast<std::streamoff>(whole));
        return whole;
    }
    in.read(buffer.data() + half, static_cast<std::streamsize>(whole - half));
    return read + static_cast<std::size_t>(in.gcount());
}

}  // namespace

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
    result.bytes = FileBytes(ec ? 0 : static_cast<std::size_t>(size));
    result.bytes.Truncate(ReadInTwoHalves(in, fsPath, result.bytes));
    std::string more;
    char buffer[1 << 16];
    while (in && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
        more.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (!more.empty()) {
        FileBytes grown(result.bytes.size() + more.size());
        std::copy(more.begin(), more.end(), std::copy_n(result.bytes.data(), result.bytes.size(), grown.data()));
        result.bytes = std::move(grown);
    }
    if (in.bad()) {
        result.error = "read error";
        result.bytes = FileBytes();
    }
    return result;
}

}  // namespace luma
