// Character-set helpers that need no platform conversion API.

#include "charsets/charset.h"

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
