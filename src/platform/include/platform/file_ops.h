#pragma once
// The file operations of a marking session: a new file in the temporary folder for the
// working copy, atomic copies for results files, and folder names ready to take a file name.

#include <optional>
#include <string>
#include <string_view>

namespace luma {

#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

struct NewFileResult {
    std::string path;                  // full path, UTF-8
    std::optional<std::string> error;  // set when no file was created
};

// Creates a new, empty file with a unique name beginning with `prefix` in the system's
// temporary folder ($TMPDIR or /tmp on POSIX, GetTempPath on Windows).
NewFileResult CreateTempFile(std::string_view prefix);

// Copies the bytes of `source` onto `target` atomically: an existing target is replaced only
// by a complete copy, and stays as it was when anything fails. Gives an error message then.
std::optional<std::string> CopyFileAtomically(const std::string& source, const std::string& target);

// Removes a file; an error message when it exists and cannot be removed.
std::optional<std::string> RemoveFile(const std::string& path);

// True when a file (not a folder) is at that path.
bool FileExists(const std::string& path);

// True when both paths lead to one existing file, however they are written (relative, through
// links, in another case on Windows).
bool IsSameFile(const std::string& first, const std::string& second);

// Makes a non-empty folder name end with the platform's separator, in place, so that a file
// name can follow it. An empty folder stays empty: a file name alone then names a file in the
// current folder. On Windows only a backslash counts: D:/x gets one as well.
void AppendFolderSeparator(std::string& folder);

}  // namespace luma
