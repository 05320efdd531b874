#pragma once
// A record file seen through a read-only mapping rather than read into memory: what the program
// keeps of its own is what it makes of the bytes, not the bytes, and the system may drop pages
// it has read and read them again. A file another program shrinks while it is mapped would
// make a read past its new end fatal (SIGBUS on POSIX, an in-page error on Windows); the
// mapping stands zeros in for the lost pages instead, and says so (ChangedUnderneath), so that
// the caller can tell the operator and stop trusting the bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_bytes.h"

namespace luma {

struct MapResult {
    FileBytes bytes;  // mapped, or read where the file cannot be mapped (a pipe, say)
    std::optional<std::string> error;  // set when the file could not be opened or read
};

// Maps the whole file read-only. A missing file, a folder or an I/O error gives an error
// message, as ReadWholeFile does; an empty file gives empty bytes.
MapResult MapWholeFile(const std::string& path);

// Files below this size are read into memory, where no other program can change them and a
// pass over them is quickest; larger ones are mapped, so that what the program keeps of its own
// does not grow with them.
inline constexpr std::uint64_t kMapFilesFrom = std::uint64_t{128} << 20;

// Reads a file below `mapFrom` bytes whole, and maps a larger one.
MapResult ReadOrMapWholeFile(const std::string& path, std::uint64_t mapFrom = kMapFilesFrom);

// What identifies a file's contents well enough to notice another program's change without
// reading it all: its size, its modification time and a hash of its first and last MiB.
struct FileFingerprint {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch, as precise as the system keeps it
    std::uint64_t hash = 0;
    bool operator==(const FileFingerprint&) const = default;
};

// Nothing when the file cannot be read.
std::optional<FileFingerprint> FingerprintOfFile(const std::string& path);
// The fingerprint of bytes a file held, with the modification time given.
FileFingerprint FingerprintOfBytes(std::string_view bytes, std::int64_t modified);

}  // namespace luma
