#pragma once
// Small pieces the POSIX file code shares.

#include <string>
#include <string_view>

namespace luma::posix {

// "what: " and the system's words for errno.
std::string ErrnoText(const std::string& what);

// Writes all the bytes, going on after an interrupted or partial write. False on an error,
// with errno set.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace luma::posix
