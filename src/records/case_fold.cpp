#include "records/case_fold.h"

#include "charsets/charset.h"

namespace luma {
namespace {

bool IsEven(char32_t c) { return c % 2 == 0; }

// Every folded letter lies below U+0800: its UTF-8 form has two bytes, before and after.
char32_t FoldTwoByteCharacter(char32_t c)
{
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;  // Latin-1 À-Þ but ×; Cyrillic А-Я
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;  // Ѐ-Џ, Ё among them
    }
    // Letters of U+0460-U+04FF come in pairs, upper case first: Ѣѣ, Ѳѳ, Ѵѵ, Ґґ, Ӏ aside.
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF)) &&
        IsEven(c)) {
        return c + 1;
    }
    if (c >= 0x4C1 && c <= 0x4CE && !IsEven(c)) {
        return c + 1;
    }
    return c == 0x4C0 ? 0x4CF : c;
}

void FoldTwoBytes(char& lead, char& trail)
{
    const auto l = static_cast<unsigned char>(lead);
    const auto t = static_cast<unsigned char>(trail);
    const char32_t folded = FoldTwoByteCharacter(static_cast<char32_t>(((l & 0x1F) << 6) | (t & 0x3F)));
    lead = static_cast<char>(0xC0 | (folded >> 6));
    trail = static_cast<char>(0x80 | (folded & 0x3F));
}

}  // namespace

void FoldCaseInPlace(std::string& text, std::size_t from)
{
    std::size_t i = from;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            text[i] = static_cast<char>(c + ('a' - 'A'));
        }
        if (static_cast<unsigned char>(c) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(std::string_view(text).substr(i, 4));
        if (length == 2) {
            FoldTwoBytes(text[i], text[i + 1]);
        }
        i += length == 0 ? 1 : length;
    }
}

std::string FoldCase(std::string_view utf8)
{
    std::string folded(utf8);
    FoldCaseInPlace(folded);
    return folded;
}

}  // namespace luma
