#pragma once
// UTF-8 to and from code points, for the readers and writers of the code-table sets, which work
// a character at a time.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "charsets/charset.h"

namespace luma {

inline void AppendUtf8(std::string& out, std::uint32_t ucs)
{
    if (ucs < 0x80) {
        out += static_cast<char>(ucs);
    } else if (ucs < 0x800) {
        out += static_cast<char>(0xC0 | (ucs >> 6));
        out += static_cast<char>(0x80 | (ucs & 0x3F));
    } else if (ucs < 0x10000) {
        out += static_cast<char>(0xE0 | (ucs >> 12));
        out += static_cast<char>(0x80 | ((ucs >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ucs & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ucs >> 18));
        out += static_cast<char>(0x80 | ((ucs >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ucs >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ucs & 0x3F));
    }
}

// The code points of valid UTF-8 text.
inline std::vector<std::uint32_t> CodePoints(std::string_view valid)
{
    std::vector<std::uint32_t> out;
    std::size_t at = 0;
    while (at < valid.size()) {
        const std::size_t length = Utf8SequenceLength(valid.substr(at));
        const auto lead = static_cast<unsigned char>(valid[at]);
        std::uint32_t ucs = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t i = 1; i < length; ++i) {
            ucs = (ucs << 6) | (static_cast<unsigned char>(valid[at + i]) & 0x3Fu);
        }
        out.push_back(ucs);
        at += length > 0 ? length : 1;
    }
    return out;
}

}  // namespace luma
