#pragma once
// Reading records spread over a large file waits on memory for each one. Asking for the next
// one's bytes before working on the current one lets the fetches overlap the work.

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace luma {

// Asks for the first `limit` bytes of `bytes` to be brought towards the processor. A hint only.
inline void PrefetchBytes(std::string_view bytes, std::size_t limit)
{
    constexpr std::size_t kCacheLine = 64;
    const std::size_t end = std::min(bytes.size(), limit);
    for (std::size_t at = 0; at < end; at += kCacheLine) {
        __builtin_prefetch(bytes.data() + at);
    }
}

// Reads one byte of every page of `bytes`, so that the pages of a mapped file are mapped in
// before a pass over them needs them.
inline void FaultInPages(std::string_view bytes)
{
    constexpr std::size_t kPage = 4096;
    unsigned char seen = 0;
    for (std::size_t at = 0; at < bytes.size(); at += kPage) {
        seen = static_cast<unsigned char>(seen ^ static_cast<unsigned char>(bytes[at]));
    }
    asm volatile("" : : "r"(seen));  // the reads must happen
}

}  // namespace luma
