// Portable parts of the session's file operations.

#include "platform/file_ops.h"

#include <filesystem>
#include <system_error>

#include "platform/file_io.h"

namespace luma {

std::optional<std::string> CopyFileAtomically(const std::string& source, const std::string& target)
{
    ReadResult read = ReadWholeFile(source);
    if (read.error) {
        return "cannot read " + source + ": " + *read.error;
    }
    return ReplaceFileAtomically(target, read.bytes);
}

std::optional<std::string> RemoveFile(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(PathFromUtf8(path), ec);
    if (ec) {
        return "cannot remove " + path + ": " + ec.message();
    }
    return std::nullopt;
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    std::error_code ec;
    return std::filesystem::equivalent(PathFromUtf8(first), PathFromUtf8(second), ec);
}

void AppendFolderSeparator(std::string& folder)
{
    if (!folder.empty() && folder.back() != kFolderSeparator) {
        folder += kFolderSeparator;
    }
}

}  // namespace luma
