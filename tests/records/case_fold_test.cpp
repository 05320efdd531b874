#include "records/case_fold.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace luma {
namespace {

// Every upper-case letter of ASCII, Latin-1 and U+0400-U+04FF with its lower-case partner, as
// Unicode's own lower-case mapping gives them: the reference, not a copy of the folding table.
constexpr std::u8string_view kUpper =
    u8"ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ"
    u8"ЀЁЂЃЄЅІЇЈЉЊЋЌЍЎЏАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
    u8"ѠѢѤѦѨѪѬѮѰѲѴѶѸѺѼѾҀҊҌҎҐҒҔҖҘҚҜҞҠҢҤҦҨҪҬҮҰҲҴҶҸҺҼҾӀӁӃӅӇӉӋӍӐӒӔӖӘӚӜӞӠӢӤӦӨӪӬӮӰӲӴӶӸӺӼӾ";
constexpr std::u8string_view kLower =
    u8"abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"
    u8"ѐёђѓєѕіїјљњћќѝўџабвгдежзийклмнопрстуфхцчшщъыьэюя"
    u8"ѡѣѥѧѩѫѭѯѱѳѵѷѹѻѽѿҁҋҍҏґғҕҗҙқҝҟҡңҥҧҩҫҭүұҳҵҷҹһҽҿӏӂӄӆӈӊӌӎӑӓӕӗәӛӝӟӡӣӥӧөӫӭӯӱӳӵӷӹӻӽӿ";

std::string Bytes(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::string Utf8(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Each character from U+0001 to U+07FF (every letter the folding knows has two bytes or one) and
// a sample of longer ones: an upper-case letter becomes its Unicode partner, anything else -
// lower case, ×, ß, the Cyrillic signs between the pairs, Greek, Latin Extended, € - stays.
TEST(CaseFold, EachCharacterFoldsToItsUnicodePartnerOrStays)
{
    const std::string upper = Bytes(kUpper);
    const std::string lower = Bytes(kLower);
    ASSERT_EQ(upper.size(), lower.size());
    EXPECT_EQ(FoldCase(upper), lower);
    EXPECT_EQ(FoldCase(lower), lower);

    std::size_t folded = 0;
    for (char32_t c = 1; c < 0x800; ++c) {
        const std::string character = Utf8(c);
        const std::size_t at = upper.find(character);
        // A match inside the reference must start a character of it, and the partner there
        // has the same length (each pair below U+0800 does).
        const bool isUpper = at != std::string::npos &&
                             (static_cast<unsigned char>(upper[at]) & 0xC0) != 0x80;
        const std::string expected = isUpper ? lower.substr(at, character.size()) : character;
        EXPECT_EQ(FoldCase(character), expected) << "U+" << std::hex << static_cast<unsigned>(c);
        folded += isUpper ? 1 : 0;
    }
    EXPECT_EQ(folded, 180u);

    for (const char32_t c : {U'\u0800', U'\u1E9E', U'\u20AC', U'\u2C00', U'\uA640', U'\uFF21', U'\U0001D400',
                             U'\U0010FFFF'}) {
        EXPECT_EQ(FoldCase(Utf8(c)), Utf8(c)) << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

// Text as a catalogue holds it: Russian and Latin mixed with digits and punctuation folds as its
// letters do, keeps its length, and text that differs only in case folds to the same bytes.
TEST(CaseFold, MixedTextFoldsToTheSameBytesWhateverItsCase)
{
    const std::string shouting = Bytes(u8"ЁЖИК В ТУМАНЕ: Сказки (1975), ISBN 5-01-ÆØÅ; Ѣ ѢѢ Ӏ");
    const std::string quiet = Bytes(u8"ёжик в тумане: сказки (1975), isbn 5-01-æøå; ѣ ѣѣ ӏ");
    EXPECT_EQ(FoldCase(shouting), quiet);
    EXPECT_EQ(FoldCase(shouting).size(), shouting.size());
    EXPECT_EQ(FoldCase(Bytes(u8"ёЖиК")), FoldCase(Bytes(u8"ЁжИк")));
    EXPECT_EQ(FoldCase(""), "");
}

// Bytes that are not UTF-8 stay as they are and do not take the character after them along:
// a lead byte without its continuation, a continuation byte alone, overlong forms of letters
// (C1 81 would be "A"), a surrogate, a sequence cut short at the end.
TEST(CaseFold, BytesThatAreNotUtf8StayAndTheLettersAfterThemFold)
{
    const struct {
        std::string text;
        std::string folded;
    } cases[] = {
        {"\xD0" "A", "\xD0" "a"},                        // Cyrillic lead byte, then a Latin letter
        {"\xD0\xD0\x90", "\xD0\xD0\xB0"},                // a stray lead byte, then А
        {"\x90\xD0\x90", "\x90\xD0\xB0"},                // a continuation byte alone, then А
        {"\xC1\x81" "B", "\xC1\x81" "b"},                // overlong "A"
        {"\xC3\x17" "C", "\xC3\x17" "c"},                // lead of À, but no continuation byte
        {"\xED\xA0\x80" "D", "\xED\xA0\x80" "d"},        // a surrogate
        {"\xE2\x82" "E", "\xE2\x82" "e"},                // three bytes cut to two
        {"\xF0\x9F\x98" "\xD0\x81", "\xF0\x9F\x98" "\xD1\x91"},  // four cut to three, then Ё
        {"\xFF\xFE\xD0\x81", "\xFF\xFE\xD1\x91"},        // never UTF-8, then Ё
        {"\xD0", "\xD0"},                                // a lead byte at the very end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldCase(c.text), c.folded) << testing::PrintToString(c.text);
    }
}

// In place from an offset: what lies before it is left, however it is cased, and an offset
// inside a character does not fold half of it.
TEST(CaseFold, InPlaceFoldsOnlyFromTheOffset)
{
    std::string text = Bytes(u8"ПРИВЕТ МИР");
    const std::size_t mir = Bytes(u8"ПРИВЕТ ").size();
    FoldCaseInPlace(text, mir);
    EXPECT_EQ(text, Bytes(u8"ПРИВЕТ мир"));

    text = Bytes(u8"ЁЁ");
    FoldCaseInPlace(text, 1);  // the second byte of the first Ё
    EXPECT_EQ(text, Bytes(u8"Ёё"));

    text = "ABC";
    FoldCaseInPlace(text, text.size());
    EXPECT_EQ(text, "ABC");
    FoldCaseInPlace(text);
    EXPECT_EQ(text, "abc");
}

}  // namespace
}  // namespace luma
