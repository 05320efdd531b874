#pragma once
// FNV-1a over bytes: enough to notice a changed or torn file, fast, and the same everywhere.
// Not for anything an adversary chooses.

#include <cstdint>
#include <string_view>

namespace luma {

inline constexpr std::uint64_t kByteHashStart = 0xcbf29ce484222325ULL;

inline std::uint64_t HashBytes(std::string_view bytes, std::uint64_t hash = kByteHashStart)
{
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace luma
