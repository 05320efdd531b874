#pragma once
// MARC-8, MARC 21's own character set, and ISO 5426, UNIMARC's, read into UTF-8. Both write a
// diacritic before the letter it goes with, and Unicode after it: the marks are put after their
// letter here, composed with it (NFC), so that a letter typed precomposed finds the text. A byte that cannot be read (a character no table has, an escape sequence cut
// short or naming no known set) becomes U+FFFD, and the read goes on. Labels written into such
// files go the other way.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace luma {

struct DecodedText {
    std::string utf8;
    std::size_t undecodable = 0;  // bytes shown as U+FFFD
};

// Starts in Basic Latin (G0) and ANSEL (G1) and follows the escape sequences of the text; each
// field starts anew.
DecodedText DecodeMarc8(std::string_view bytes);

// A field's data: the indicators, then each subfield's code as it stands and its text read
// from the default sets again, as MARC-8 requires every subfield to start.
DecodedText DecodeMarc8Field(std::string_view data);

// ISO 646 in the lower half and ISO 5426 in the upper half.
DecodedText DecodeIso5426(std::string_view bytes);

// UTF-8 text, such as a label field's data, written in MARC-8: Basic Latin and ANSEL, with an
// escape to the set that holds any other character (ESC ( F for a 94-character set, ESC $ 1
// for the East Asian one, ESC g, b or p for the Greek symbols, subscripts and superscripts when
// no other set holds the character) and ESC ( B back before each control byte, such as the
// subfield delimiter, and at the end. A letter no set holds whole is written as its canonical
// decomposition, each diacritic before its letter. The byte after a subfield delimiter is the
// subfield code and must be ASCII. nullopt for invalid UTF-8, an ESC, a character no set holds,
// or a diacritic with no letter before it in its subfield.
std::optional<std::string> EncodeMarc8(std::string_view utf8);

// UTF-8 text written in ISO 646 (lower half) and ISO 5426 (upper half), diacritics before their
// letter; nullopt for invalid UTF-8, a character neither holds, or a diacritic with no letter.
std::optional<std::string> EncodeIso5426(std::string_view utf8);

}  // namespace luma
