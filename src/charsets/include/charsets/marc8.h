#pragma once
// MARC-8, MARC 21's own character set, and ISO 5426, UNIMARC's, read into UTF-8. Both write a
// diacritic before the letter it goes with, and Unicode after it: the marks are put after their
// letter here. A byte that cannot be read (a character no table has, an escape sequence cut
// short or naming no known set) becomes U+FFFD, and the read goes on.

#include <cstddef>
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

}  // namespace luma
