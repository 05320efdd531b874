#include <gtest/gtest.h>

#include "charsets/marc8.h"

namespace luma {
namespace {

// Damage never stops the read: each byte that cannot be read is one U+FFFD, counted, and what
// follows it is read as text.
TEST(Marc8, DamagedTextIsReadOnWithEachUnreadableByteCounted)
{
    const struct {
        std::string_view bytes;
        std::string_view text;
        std::size_t undecodable;
    } cases[] = {
        {"Soci\xe2" "et\xe2" "e", "Soci\u00E9t\u00E9", 0},               // marks go after their letter, composed
        {"linn\x1b" "enne", "linn\uFFFDenne", 1},                         // ESC e names no set
        {"end\x1b", "end\uFFFD", 1},                                      // an escape cut short
        {"a\x1b(", "a\uFFFD(", 1},                                        // ... after its intermediate
        {"\x1b(N\x41\x42", "\u0430\u0431", 0},                            // a Cyrillic set left open
        {"\x1b(N\x41\x1b(B\x41", "\u0430A", 0},                           // and closed again
        {"\xe1", "\u0300", 0},                                            // a mark with no letter stays
        {"x\xae" "y", "x\u02BCy", 0},                                     // not combining
        {"\xeb" "I\xec" "Ur", "I\u0361Ur", 0},                           // the ligature's second half is nothing
        {"\x1b$1\x21\x23", "\uFFFD\uFFFD", 2},                            // a three-byte character cut short
        {"\x1b$1\x21\x1b(BA", "\uFFFDA", 1},                               // ... by an escape, which is read
    };
    for (const auto& c : cases) {
        const DecodedText decoded = DecodeMarc8(c.bytes);
        EXPECT_EQ(decoded.utf8, c.text) << c.bytes;
        EXPECT_EQ(decoded.undecodable, c.undecodable) << c.bytes;
    }
}

TEST(Marc8, EverySubfieldStartsInTheDefaultSetsAndKeepsItsCode)
{
    const DecodedText decoded = DecodeMarc8Field("10\x1f" "a\x1b(NAB\x1f" "bAB");
    EXPECT_EQ(decoded.utf8, "10\x1f" "a\u0430\u0431\x1f" "bAB");
}

TEST(Iso5426, DiacriticsGoAfterTheirLetterAndEscapesAreNotFollowed)
{
    EXPECT_EQ(DecodeIso5426("Caf\xc2" "e").utf8, "Caf\u00E9");
    EXPECT_EQ(DecodeIso5426("\xc2" "e\xc8" "a\xc2").utf8, "\u00E9\u00E4\u0301") << "a mark with no letter stays as it is";
    const DecodedText escape = DecodeIso5426("a\x1b(Nb");
    EXPECT_EQ(escape.utf8, "a\x1b(Nb");
}

}  // namespace
}  // namespace luma
