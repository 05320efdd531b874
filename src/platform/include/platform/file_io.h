#pragma once
// File access the standard library lacks or makes awkward: UTF-8 paths on every platform,
// whole-file reads with a readable error, and atomic replacement of a file's contents.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_bytes.h"

namespace luma {

// Paths travel through the program as UTF-8; this gives the platform's path for one.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

struct ReadResult {
    FileBytes bytes;
    std::optional<std::string> error;  // set when the file could not be read
};

// Reads the whole file. A missing file, a folder or an I/O error gives an error message.
ReadResult ReadWholeFile(const std::string& path);

// Replaces the file's contents so that a reader sees either the old or the new bytes, never a
// mix: writes a temporary sibling, flushes it to disk, and renames it over the target.
// Gives an error message on failure; the target is then unchanged.
std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// How far a replacement is pushed before the rename. A file that only has to survive the end of
// the process, not of the machine, can skip the flush to disk: the rename alone keeps a killed
// process from leaving a half-written file behind.
enum class Durability { FlushToDisk, ProcessCrashOnly };

// As above, for contents given in pieces that follow one another with nothing between them;
// the pieces are written as they are, without first joining them in memory.
std::optional<std::string> ReplaceFileAtomically(const std::string& path,
                                                 const std::vector<std::string_view>& pieces,
                                                 Durability durability);

}  // namespace luma

namespace luma {

struct AppendResult {
    bool notAsLeft = false;  // the file is missing or has another size: nothing was appended
    std::optional<std::string> error;  // set when nothing was appended
};

// Appends to a file that holds exactly `expectedSize` bytes, as the caller left it, and flushes
// the bytes to disk before it returns. A write that fails part way is cut off again, so that
// the file is as it was. When another program removed or changed the file, nothing is appended
// and the caller may write it anew.
AppendResult AppendToFile(const std::string& path, std::uint64_t expectedSize, std::string_view bytes);

}  // namespace luma
