#pragma once
// Small pieces the POSIX file code shares.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace luma::posix {

// "what: " and the system's words for errno.
std::string ErrnoText(const std::string& what);

// Writes all the bytes, going on after an interrupted or partial write. False on an error,
// with errno set.
bool WriteAll(int fd, std::string_view bytes);

// A temporary sibling of `target` for mkstemp: its folder ("." for a bare name) and the
// NUL-terminated template ".NAME.XXXXXX" in it, which mkstemp fills in.
struct SiblingTemplate {
    std::filesystem::path folder;
    std::vector<char> name;
};
SiblingTemplate SiblingOf(const std::filesystem::path& target);

}  // namespace luma::posix
