// Character-set helpers that need no platform conversion API, and the choice between the
// platform's code pages and this program's own code tables.

#include <algorithm>
#include <array>

#include "charsets/charset.h"
#include "charsets/marc8.h"

namespace luma {
namespace {

struct CharsetNames {
    Charset charset;
    std::string_view shown;
    std::string_view iana;
    std::string_view alias;
};

constexpr std::array<CharsetNames, 9> kNames = {{
    {Charset::Utf8, "UTF-8", "UTF-8", "UTF8"},
    {Charset::Windows1251, "Windows-1251", "windows-1251", "CP1251"},
    {Charset::Koi8r, "KOI8-R", "KOI8-R", "KOI8"},
    {Charset::Cp866, "CP866", "IBM866", "866"},
    {Charset::Marc8, "MARC-8", "MARC-8", "MARC8"},
    {Charset::Iso5426, "ISO 5426", "ISO-5426", "ISO5426"},
    {Charset::Latin1, "ISO-8859-1", "ISO-8859-1", "Latin-1"},
    {Charset::Windows1252, "Windows-1252", "windows-1252", "CP1252"},
    {Charset::Ascii, "ASCII", "US-ASCII", "ASCII"},
}};

constexpr std::array<Charset, kNames.size()> kAll = [] {
    std::array<Charset, kNames.size()> all{};
    for (std::size_t i = 0; i < kNames.size(); ++i) all[i] = kNames[i].charset;
    return all;
}();

const CharsetNames& NamesOf(Charset charset)
{
    return *std::find_if(kNames.begin(), kNames.end(), [&](const CharsetNames& names) { return names.charset == charset; });
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::span<const Charset> AllCharsets() { return kAll; }

std::string_view CharsetName(Charset charset) { return NamesOf(charset).shown; }

std::string_view IanaName(Charset charset) { return NamesOf(charset).iana; }

std::optional<Charset> CharsetFromName(std::string_view name)
{
    for (const CharsetNames& names : kNames) {
        if (SameIgnoringCase(name, names.shown) || SameIgnoringCase(name, names.iana) ||
            SameIgnoringCase(name, names.alias)) {
            return names.charset;
        }
    }
    return std::nullopt;
}

bool IsReadByCodeTables(Charset charset) { return charset == Charset::Marc8 || charset == Charset::Iso5426; }

bool IsSingleByte(Charset charset)
{
    return charset == Charset::Windows1251 || charset == Charset::Koi8r || charset == Charset::Cp866 ||
           charset == Charset::Latin1 || charset == Charset::Windows1252;
}

std::string TextCodec::Decode(std::string_view bytes)
{
    switch (m_charset) {
    case Charset::Utf8:
    case Charset::Ascii: return SanitizeUtf8(bytes);
    case Charset::Marc8: return DecodeMarc8(bytes).utf8;
    case Charset::Iso5426: return DecodeIso5426(bytes).utf8;
    default: return DecodeCodePage(bytes);
    }
}

std::optional<std::string> TextCodec::Encode(std::string_view utf8)
{
    if (SanitizeUtf8(utf8) != utf8) {
        return std::nullopt;
    }
    switch (m_charset) {
    case Charset::Utf8: return std::string(utf8);
    case Charset::Marc8: return EncodeMarc8(utf8);
    case Charset::Iso5426: return EncodeIso5426(utf8);
    default: return EncodeCodePage(utf8);
    }
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
