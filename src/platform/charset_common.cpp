// Character-set helpers that need no platform conversion API.

#include "platform/charset.h"

namespace luma {

std::string_view CharsetName(Charset charset)
{
    switch (charset) {
    case Charset::Ascii: return "ASCII";
    case Charset::Utf8: return "UTF-8";
    case Charset::Windows1251: return "Windows-1251";
    case Charset::Koi8r: return "KOI8-R";
    case Charset::Cp866: return "CP866";
    }
    return "ASCII";
}

std::size_t Utf8SequenceLength(std::string_view bytes)
{
    if (bytes.empty()) {
        return 0;
    }
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char min2 = 0x80;  // bounds of the second byte exclude overlongs and surrogates
    unsigned char max2 = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min2 = lead == 0xE0 ? 0xA0 : 0x80;
        max2 = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min2 = lead == 0xF0 ? 0x90 : 0x80;
        max2 = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() < length || byteAt(1) < min2 || byteAt(1) > max2) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((byteAt(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

std::string SanitizeUtf8(std::string_view bytes)
{
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = Utf8SequenceLength(bytes.substr(pos));
        if (length == 0) {
            out += kReplacement;
            ++pos;
        } else {
            out.append(bytes.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

}  // namespace luma
