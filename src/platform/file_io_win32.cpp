// Atomic file replacement on Windows: temporary sibling, flush, MoveFileEx with replace.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "win32_write.h"

namespace luma {
namespace {

using win32::LastErrorText;

std::optional<std::string> WriteAll(HANDLE file, std::string_view bytes, const std::string& path)
{
    if (!win32::WriteAll(file, bytes)) {
        return LastErrorText("cannot write " + path);
    }
    return std::nullopt;
}

// Writes a temporary sibling with `write`, then moves it over the target.
std::optional<std::string> ReplaceWith(const std::string& path, Durability durability,
                                       const std::function<std::optional<std::string>(HANDLE)>& write)
{
    const std::filesystem::path target = PathFromUtf8(path);
    std::filesystem::path temp = target;
    temp += L".tmp" + std::to_wstring(::GetCurrentProcessId());

    HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return LastErrorText("cannot create a temporary file beside " + path);
    }
    const bool flush = durability == Durability::FlushToDisk;
    std::optional<std::string> error = write(file);
    if (!error && flush && !::FlushFileBuffers(file)) {
        error = LastErrorText("cannot flush " + path);
    }
    ::CloseHandle(file);
    if (!error && !::MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING |
                                     (flush ? MOVEFILE_WRITE_THROUGH : DWORD{0}))) {
        error = LastErrorText("cannot replace " + path);
    }
    if (error) {
        ::DeleteFileW(temp.c_str());
    }
    return error;
}

}  // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    return ReplaceWith(path, Durability::FlushToDisk,
                       [&](HANDLE file) { return WriteAll(file, bytes, path); });
}

std::optional<std::string> ReplaceFileAtomically(const std::string& path,
                                                 const std::vector<std::string_view>& pieces,
                                                 Durability durability)
{
    // Small pieces are gathered into large writes.
    return ReplaceWith(path, durability, [&](HANDLE file) -> std::optional<std::string> {
        constexpr std::size_t kChunk = std::size_t{1} << 20;
        std::string chunk;
        chunk.reserve(kChunk);
        for (const std::string_view piece : pieces) {
            if (chunk.size() + piece.size() > kChunk && !chunk.empty()) {
                if (auto error = WriteAll(file, chunk, path)) return error;
                chunk.clear();
            }
            if (piece.size() >= kChunk) {
                if (auto error = WriteAll(file, piece, path)) return error;
            } else {
                chunk += piece;
            }
        }
        return WriteAll(file, chunk, path);
    });
}

}  // namespace luma
