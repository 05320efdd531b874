#pragma once
// Character sets a record file can be written in, and conversion between them and UTF-8.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace luma {

enum class Charset { Ascii, Utf8, Windows1251, Koi8r, Cp866, Marc8, Iso5426, Latin1, Windows1252 };

// Every set, in the order a list offered to the operator shows them.
std::span<const Charset> AllCharsets();

// The name shown to users, written by `luma-cli dump --json` and kept in recovery notes.
std::string_view CharsetName(Charset charset);

// The IANA name where the set has one (UTF-8, windows-1251, ...), else its usual name.
std::string_view IanaName(Charset charset);

// The set a name means: its IANA name, the name shown, or a common alias such as cp1251;
// letter case does not matter.
std::optional<Charset> CharsetFromName(std::string_view name);

// MARC-8 and ISO 5426 go through code tables of this program's own, with diacritics before
// their letter and, in MARC-8, escape sequences that change the set: their text cannot be
// read byte by byte.
bool IsReadByCodeTables(Charset charset);

// Sets in which each byte is one character, to be read through a table of 256 entries.
bool IsSingleByte(Charset charset);

// Converts text between one file character set and UTF-8. Conversion handles are opened on
// first use and kept, because a record view converts every field of a record.
class TextCodec {
public:
    explicit TextCodec(Charset charset);
    ~TextCodec();
    TextCodec(const TextCodec&) = delete;
    TextCodec& operator=(const TextCodec&) = delete;
    TextCodec(TextCodec&& other) noexcept;
    TextCodec& operator=(TextCodec&& other) noexcept;

    Charset charset() const { return m_charset; }

    // Bytes in the codec's set to UTF-8. Bytes that are invalid in the set become U+FFFD, so the
    // result is always valid UTF-8.
    std::string Decode(std::string_view bytes);

    // UTF-8 text to the codec's set; nullopt when the text is not valid UTF-8 or holds a
    // character the set cannot represent.
    std::optional<std::string> Encode(std::string_view utf8);

private:
    // The platform's conversion of a code page (iconv, or the Win32 functions).
    std::string DecodeCodePage(std::string_view bytes);
    std::optional<std::string> EncodeCodePage(std::string_view utf8);

    struct Handles;
    Charset m_charset;
    Handles* m_handles = nullptr;
};

// Length of the valid UTF-8 sequence at the start of `bytes`, or 0 when it is not one.
// Inline: the character set survey calls it for every high byte it reads.
inline std::size_t Utf8SequenceLength(std::string_view bytes)
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

// `bytes` with every invalid UTF-8 byte replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

}  // namespace luma
